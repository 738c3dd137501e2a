// zulibuild RUNTIME PROJECT OUTPUT: the patch executable, a copy of the
// runtime carrying the texts and settings of the project's manifest as
// numbered resources, the sealed credits scrambled, and the payload cabinet.
#pragma once
#include <string>

// Runs every check of "check" first and writes nothing when one finds a
// mistake. The exit code: 0 written, 1 failed.
int RunBuild(const std::string& runtimeArgument, const std::string& projectArgument,
             const std::string& outputArgument);
