// zulibuild check PROJECT: every check of a build, without building.
#pragma once
#include <string>

// The exit code: 0 no mistakes (warnings are printed), 1 mistakes found.
int RunCheck(const std::string& projectArgument);
