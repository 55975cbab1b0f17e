#include "app/Program.h"
#include "console/Console.h"

int main() {
    const console::StandardStreams streams;
    return runProgram();
}
