// The command-line reader over arbitrary bytes: it must never read or write
// past its buffers, every text it keeps must be terminated inside its
// buffer, and its verdict must agree with what it recorded.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "core/neutral/CommandLine.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string text(reinterpret_cast<const char*>(data), size);
    text = text.c_str();  // the system hands over zero-terminated text
    CommandLineOptions options;
    const bool ok = ParseCommandLine(text.c_str(), options);
    for (const char* kept : {options.Dir, options.Log, options.BadSwitch})
        if (!std::memchr(kept, '\0', kOptionTextSize)) std::abort();
    if (ok == options.Bad) std::abort();
    if (ok && options.BadSwitch[0]) std::abort();
    if (!ok && !options.BadSwitch[0]) std::abort();
    if (ok && options.NoRestart && options.ForceRestart) std::abort();
    return 0;
}
