#include <iostream>

#include "app/Program.h"
#include "console/Console.h"

int main() {
    // The streams are not shared with C stdio, so they can buffer on their own;
    // every prompt is still flushed (cin is tied to cout, lines end with endl).
    std::ios::sync_with_stdio(false);
    console::attachToStandardStreams();
    return runProgram();
}
