// The builder's messages on the console.
#pragma once
#include <string>

// Prints each line of `message` to the error stream as "zulibuild: line".
void PrintMessageLines(const std::string& message);

// True when `argc` arguments hold a request for help: --help, -h or /?.
// Every command answers it with its usage on the output stream and exit 0.
bool AsksForHelp(int argc, char** argv);
