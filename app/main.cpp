#include "app/Program.h"
#include "console/Console.h"

int main(int argc, char* argv[]) {
    const console::StandardStreams streams;
    return runProgram({argv, static_cast<std::size_t>(argc)});
}
