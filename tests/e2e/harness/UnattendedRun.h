// A patch started the way deployment tools start it: with a command line,
// nobody at the screen, only its exit code and its log looked at afterwards.
#pragma once
#include <string>

struct UnattendedResult {
    int exitCode = -1;             // -1: it did not end in time
    std::string windowsSeen;       // titles of the visible windows it showed
};

// Runs `patchExe` with `arguments` and waits for it to end, watching for
// any visible window of it the whole time.
UnattendedResult RunUnattended(const std::string& patchExe, const std::string& arguments,
                               unsigned timeoutMs = 120000);
