#include "app/CommandLine.h"
#include "app/Program.h"
#include "console/Console.h"

int main(int argc, char* argv[]) {
    if (const auto status = answerCommandLine(argc, argv)) {
        return *status;
    }
    const console::StandardStreams streams;
    return runProgram();
}
