// Any text, checked by the builder as a registry line of each kind: whenever
// the builder's check accepts a line, the runtime's parser accepts it too,
// so that a patch the builder passes carries no registry line the runtime
// refuses. And whenever the runtime's parser refuses one, the builder says
// why in a message of its own rather than only that it is refused.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "actions/neutral/RegistryLine.h"
#include "check/neutral/RegistryLineCheck.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    for (int kind = RegistryAdd; kind <= RegistryRename; ++kind) {
        Findings findings;
        CheckRegistryLine(text, static_cast<RegistrySectionKind>(kind), "line", findings);
        RegistryLine line;
        bool carried = ParseRegistryLine(text.c_str(), kind, line) != 0;
        if (!findings.HasMistakes() && !carried) std::abort();
        // Every other message starts with what is wrong; this one alone with
        // the bare refusal (a message may quote the line, and so the words).
        for (const Finding& finding : findings.All())
            if (finding.message.rfind(kRegistryLineRefused, 0) == 0) std::abort();
    }
    return 0;
}
