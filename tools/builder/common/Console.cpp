#include "common/Console.h"

#include <cstdio>
#include <cstring>

void PrintMessageLines(const std::string& message) {
    std::size_t start = 0;
    while (start <= message.size()) {
        std::size_t end = message.find('\n', start);
        std::fprintf(stderr, "zulibuild: %s\n", message.substr(start, end - start).c_str());
        if (end == std::string::npos) break;
        start = end + 1;
    }
}

bool AsksForHelp(int argc, char** argv) {
    for (int i = 0; i < argc; ++i)
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0 || std::strcmp(argv[i], "/?") == 0)
            return true;
    return false;
}
