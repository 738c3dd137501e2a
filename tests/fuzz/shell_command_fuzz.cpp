// Splits arbitrary commands and substitutes into them: the program and the
// arguments are pieces of the command, in that order, and never overlap; the
// substituted text is the command with its first marker replaced.
//   byte 0: quote character; then command, 0, marker, 0, replacement.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "wizard/neutral/ShellCommand.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    char quote = static_cast<char>(data[0]);
    std::string rest(reinterpret_cast<const char*>(data + 1), size - 1);
    std::string command = rest.substr(0, rest.find('\0'));
    std::string after = rest.size() > command.size() ? rest.substr(command.size() + 1) : std::string();
    std::string marker = after.substr(0, after.find('\0'));
    std::string replacement = after.size() > marker.size() ? after.substr(marker.size() + 1) : std::string();
    replacement = replacement.substr(0, replacement.find('\0'));

    HeapText program = SplitShellCommand(command.c_str(), quote, CommandPart::Program);
    HeapText arguments = SplitShellCommand(command.c_str(), quote, CommandPart::Arguments);
    if (!program && arguments) std::abort();
    if (program) {
        std::size_t at = command.find(program.get());
        if (at == std::string::npos) std::abort();
        if (arguments) {
            // The arguments are the command's tail, after the program.
            std::string tail(arguments.get());
            if (tail.empty() || tail[0] == ' ' || tail.size() > command.size()) std::abort();
            std::size_t from = command.size() - tail.size();
            if (command.compare(from, tail.size(), tail) != 0) std::abort();
            if (from < at + std::strlen(program.get())) std::abort();
        }
    }
    HeapText substituted = SubstituteArgument(CopyText(command.c_str()), marker.c_str(), replacement.c_str());
    std::size_t at = command.find(marker);
    std::string expected =
        at == std::string::npos ? command : command.substr(0, at) + replacement + command.substr(at + marker.size());
    if (!substituted || expected != substituted.get()) std::abort();
    return 0;
}
