#pragma once

#include <iostream>
#include <string_view>

#include "console/Console.h"
#include "errors/Retry.h"
#include "records/Ask.h"
#include "registry/spisok.h"

inline constexpr std::string_view kCategoryMenu =
    "1-vivod all inf\n2-ADD\n3-izmenit inf\n4-delet  information\n0-exit\n\n";
inline constexpr std::string_view kAddMenu =
    "CHOOSE the type of information:\n1-vvod INFO \n0-exit\n\n";

// The menu of one category: list, add, change by position, delete the first
// record. Returns when the user enters 0.
template <class T>
void menu(spisok<T>& list) {
    for (int ch = -1; ch != 0;) {
        ch = ask::choice(kCategoryMenu, 0, 4, console::clearScreen);
        // Memory running out anywhere here is said, and the category menu comes back.
        orSay(kOtherFault, [&] {
            switch (ch) {
                case 1:
                    list.vivodAll();
                    break;
                case 2:
                    // The ADD sub-menu: the entry dialog until the user enters 0.
                    while (ask::choice(kAddMenu, 0, 1) != 0) {
                        list.vvodInf();
                    }
                    break;
                case 3:
                    list.vivodAll();
                    list.izmenit(ask::number("NUM\n"));
                    break;
                case 4:
                    std::cout << "DELL" << std::endl;
                    list.delet();
                    break;
            }
        });
    }
}
