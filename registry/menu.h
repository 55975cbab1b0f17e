#pragma once

#include <iostream>
#include <optional>

#include "console/Console.h"
#include "console/Input.h"
#include "registry/spisok.h"

// The menu of one category: list, add, change by position, delete the first
// record. Returns when the user enters 0.
template <class T>
void menu(spisok<T>& list) {
    std::optional<int> ch;  // the choice last read, in the menu and in its ADD sub-menu
    bool running = true;
    while (running) {
        console::clearScreen();
        std::cout << "1-vivod all inf\n2-ADD\n3-izmenit inf\n4-delet  information\n0-exit\n"
                  << std::endl;
        // Input that is not a number has been answered already: the next pass follows.
        ch = console::readNumber();
        if (!ch) {
            continue;
        }
        switch (*ch) {
            case 0:
                running = false;
                break;
            case 1:
                list.vivodAll();
                break;
            case 2: {
                bool adding = true;
                while (adding) {
                    std::cout << "CHOOSE the type of information:\n1-vvod INFO \n0-exit\n"
                              << std::endl;
                    ch = console::readNumber();
                    if (!ch) {
                        continue;
                    }
                    if (*ch == 0) {
                        adding = false;
                    } else if (*ch == 1) {
                        list.vvodInf();
                    } else {
                        std::cout << "nepravelnii vvod->" << std::endl;
                    }
                }
                break;
            }
            case 3: {
                list.vivodAll();
                const int num = console::askNumber([] { std::cout << "NUM" << std::endl; });
                list.izmenit(num);
                break;
            }
            case 4:
                std::cout << "DELL" << std::endl;
                list.delet();
                break;
            default:
                std::cout << "nepravelnii vvod->" << std::endl;
                break;
        }
    }
}
