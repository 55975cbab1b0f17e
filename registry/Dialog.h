#pragma once

#include <iostream>

#include "console/Input.h"

namespace dialog {

inline constexpr const char* kSeparator = "------------------------------------------------------";

// After a record has been retyped: the keep-or-discard question. Returns the
// answer; 1 keeps the typed data, any other number discards them.
inline int askSave() {
    std::cout << kSeparator << std::endl;
    return console::askNumber([] { std::cout << "hotite save date?? 1/2" << std::endl; });
}

}  // namespace dialog
