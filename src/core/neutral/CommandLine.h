// The runtime's command line, in the conventions administrators know from
// the system installer: /quiet, /passive, /norestart, /forcerestart,
// /dir=FOLDER, /log=FILE and /?, without case, with "/" or "-". An empty
// command line (a double click) gives the interactive wizard.
#pragma once
#include <cstddef>

// Exit codes, the ones deployment tools already understand.
constexpr int kExitSuccess = 0;
constexpr int kExitBadCommandLine = 87;
constexpr int kExitCancelled = 1602;
constexpr int kExitFailed = 1603;
constexpr int kExitAlreadyRunning = 1618;
constexpr int kExitRestartRequired = 3010;

enum class RunMode : unsigned char { Interactive, Passive, Quiet };

constexpr std::size_t kOptionTextSize = 261;  // a path and its terminator

struct CommandLineOptions {
    RunMode Mode;
    bool NoRestart;
    bool ForceRestart;
    bool ShowUsage;
    bool Bad;                              // some argument is not a known switch
    char Dir[kOptionTextSize];             // empty when not given
    char Log[kOptionTextSize];             // empty when not given
    char BadSwitch[kOptionTextSize];       // the first unknown argument, as given
};

// Reads the arguments after the program name. `text` is the whole command
// line as the system gives it (the program name first, quoted or not).
// Double quotes group blanks into one argument and are removed
// (/dir="C:\Program Files\App" and "/dir=C:\Program Files\App" read alike).
// A switch that needs a value and has none, a value too long for a path, an
// argument with a quote that is never closed, and a /dir= folder that is not
// a full path (a drive letter and a backslash, or \\server) count as unknown.
// Returns false when some argument is unknown.
bool ParseCommandLine(const char* text, CommandLineOptions& options);
