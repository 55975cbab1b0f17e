#pragma once

#include <optional>
#include <string>
#include <string_view>

// Prompted reads from standard input. Each prints its prompt as it is (no line end
// is added), then reads the answer, skipping white space first; the rest of a typed
// line answers the following prompts. Each throws ConsoleGone when input has ended.
namespace console {

// A signed 32-bit number. Anything else (letters, a number out of range) is
// answered with "nepravelnii vvod->", the offending word is dropped, and nothing
// is returned, so the caller decides what comes next.
std::optional<int> tryNumber(std::string_view prompt);

// A number, asking again, prompt and all, until one comes.
int askNumber(std::string_view prompt);

// One white-space-delimited word.
std::string askWord(std::string_view prompt);

// One character.
char askChar(std::string_view prompt);

}  // namespace console
