#pragma once

#include <span>

// The string-length check of the main menu: reads one word and keeps it in mass
// if it fits with its terminator; a longer word is reported and the user chooses
// between a new word and the word cut to fit.
void proverkaStroki(std::span<char> mass);
