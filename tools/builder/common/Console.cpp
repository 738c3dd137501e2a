#include "common/Console.h"

#include <cstdio>

void PrintMessageLines(const std::string& message) {
    std::size_t start = 0;
    while (start <= message.size()) {
        std::size_t end = message.find('\n', start);
        std::fprintf(stderr, "zulibuild: %s\n", message.substr(start, end - start).c_str());
        if (end == std::string::npos) break;
        start = end + 1;
    }
}
