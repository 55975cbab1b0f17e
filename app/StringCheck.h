#pragma once

// The string-length check of the main menu: reads one word and accepts it if it
// fits buffer (size chars with the terminator); a longer word is reported and the
// user chooses between a new word and the word cut to fit.
void proverkaStroki(char* buffer, int size);
