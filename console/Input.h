#pragma once

#include <optional>
#include <string>
#include <string_view>

// Prompted reads from standard input. Each shows its prompt as it is (no line end is added),
// then reads the answer, skipping white space first; the rest of a typed line answers the
// following prompts. Each throws ConsoleGone when input has ended.
namespace console {

// A signed 32-bit number, or nothing when the word typed is none (letters, a number out of
// range): that word is then dropped.
std::optional<int> readNumber(std::string_view prompt);

// One white-space-delimited word. One too large for memory is dropped whole, and
// std::bad_alloc thrown.
std::string readWord(std::string_view prompt);

// One character.
char readChar(std::string_view prompt);

}  // namespace console
