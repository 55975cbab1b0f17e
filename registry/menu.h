#pragma once

#include <iostream>
#include <optional>

#include "console/Console.h"
#include "console/Input.h"
#include "registry/spisok.h"

// The ADD sub-menu of a category: runs the entry dialog until the user enters 0.
template <class T>
void addMenu(spisok<T>& list) {
    for (;;) {
        const std::optional<int> ch =
            console::tryNumber("CHOOSE the type of information:\n1-vvod INFO \n0-exit\n\n");
        if (!ch) {
            continue;  // already answered
        }
        if (*ch == 0) {
            return;
        }
        if (*ch == 1) {
            list.vvodInf();
        } else {
            std::cout << "nepravelnii vvod->" << std::endl;
        }
    }
}

// The menu of one category: list, add, change by position, delete the first
// record. Returns when the user enters 0.
template <class T>
void menu(spisok<T>& list) {
    for (;;) {
        console::clearScreen();
        // Input that is not a number has been answered already: the next pass follows.
        const std::optional<int> ch = console::tryNumber(
            "1-vivod all inf\n2-ADD\n3-izmenit inf\n4-delet  information\n0-exit\n\n");
        if (!ch) {
            continue;
        }
        switch (*ch) {
            case 0:
                return;
            case 1:
                list.vivodAll();
                break;
            case 2:
                addMenu(list);
                break;
            case 3:
                list.vivodAll();
                list.izmenit(console::askNumber("NUM\n"));
                break;
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
