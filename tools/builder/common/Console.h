// The builder's messages on the console.
#pragma once
#include <string>

// Prints each line of `message` to the error stream as "zulibuild: line".
void PrintMessageLines(const std::string& message);
