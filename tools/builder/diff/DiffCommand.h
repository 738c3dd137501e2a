// zulibuild diff OLD NEW PROJECT [options]: a buildable patch project from
// an installed version's folder and the new version's folder.
#pragma once

// The arguments after "diff"; the exit code (0 written, 1 failed, 2 usage).
int RunDiff(int argc, char** argv);
