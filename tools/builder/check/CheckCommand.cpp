#include "check/CheckCommand.h"

#include <cstdio>

#include "check/CheckedProject.h"
#include "common/Console.h"
#include "common/Files.h"

int RunCheck(const std::string& projectArgument) {
    CheckedProject project;
    std::string error;
    if (!LoadCheckedProject(FullPath(projectArgument), project, error)) {
        PrintMessageLines(error);
        return 1;
    }
    PrintWarnings(project.findings);
    if (project.findings.HasMistakes()) {
        PrintMessageLines(MistakeText(project.findings));
        return 1;
    }
    std::printf("zulibuild: %s: no mistakes found\n", project.manifestPath.c_str());
    return 0;
}
