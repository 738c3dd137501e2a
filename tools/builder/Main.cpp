// zulibuild RUNTIME PROJECT OUTPUT
// zulibuild check PROJECT
// zulibuild diff OLD NEW PROJECT [options]
// zulibuild delta OLD NEW OUT
//
// Picks the command; each lives in the builder's library (see README.md).
#include <windows.h>

#include <cstdio>

#include "build/BuildCommand.h"
#include "check/CheckCommand.h"
#include "common/Console.h"
#include "diff/DeltaCommand.h"
#include "diff/DiffCommand.h"
#include "script/neutral/ActionCodes.h"

namespace {

// On the error stream with exit code 2 for a wrong command line; on the
// output stream with 0 when asked for.
int Usage(bool asked = false) {
    std::fprintf(asked ? stdout : stderr,
                 "usage: zulibuild RUNTIME PROJECT OUTPUT   build a patch\n"
                 "       zulibuild check PROJECT            check a project without building\n"
                 "       zulibuild diff OLD NEW PROJECT [options]\n"
                 "                                          a project from two folders (zulibuild diff: options)\n"
                 "       zulibuild delta OLD NEW OUT        the binary delta (Act %d) from file OLD to NEW\n"
                 "  RUNTIME  the bare runtime, zulirt.exe\n"
                 "  PROJECT  a patch project folder holding patch.ini, or the manifest itself\n"
                 "  OUTPUT   the patch executable to write\n"
                 "Every command answers --help, -h or /? with its usage.\n",
                 static_cast<int>(kActBinaryDelta));
    return asked ? 0 : 2;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc >= 2 && lstrcmpiA(argv[1], "diff") == 0) return RunDiff(argc - 2, argv + 2);
    if (argc >= 2 && lstrcmpiA(argv[1], "delta") == 0) return RunDelta(argc - 2, argv + 2);
    if (argc >= 2 && lstrcmpiA(argv[1], "check") == 0) {
        if (AsksForHelp(argc - 2, argv + 2)) return Usage(true);
        return argc == 3 ? RunCheck(argv[2]) : Usage();
    }
    if (AsksForHelp(argc - 1, argv + 1)) return Usage(true);
    if (argc != 4) return Usage();
    return RunBuild(argv[1], argv[2], argv[3]);
}
