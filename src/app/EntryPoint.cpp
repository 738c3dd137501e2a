// The runtime's entry point: the start-up sequence and the wizard it opens.
// The command line (GetCommandLineA) is read by the start-up; the show state
// is not used. The exit code tells deployment tools how the run ended.
//
// The program is linked without the C library's start-up code (a twelfth of
// the shipped file: argument parsing, TLS and pseudo-relocation support,
// exception filters, none of which the runtime uses). What of it the
// runtime does need is done here: the constructors of objects with static
// storage before the run, the destructors they register after it.
#include <windows.h>

#include "app/Startup.h"

namespace {
using StaticConstructor = void (*)();
using ExitFunction = void (*)();

// The destructors registered so far, run last to first at the end. The C
// library promises room for 32; the runtime registers a few, one for each
// file with objects of static storage that own memory.
ExitFunction ExitFunctions[32];
unsigned ExitFunctionCount;
}  // namespace

// The linker's table of static constructors: an entry of -1, the functions,
// then a null entry.
extern "C" StaticConstructor __CTOR_LIST__[];

// Called by the compiler's code for each object of static storage with a
// destructor. (The C library's own list is not used: its registration
// function is reached through the library's start-up state.)
extern "C" int atexit(ExitFunction function) {
    if (ExitFunctionCount == sizeof ExitFunctions / sizeof ExitFunctions[0]) return -1;
    ExitFunctions[ExitFunctionCount++] = function;
    return 0;
}

// Windows calls this with nothing on the stack but the return address (on
// i686 only 4-byte aligned, as the runtime's code expects: see
// src/CMakeLists.txt).
extern "C" void WINAPI RuntimeEntry() {
    unsigned count = 0;
    while (__CTOR_LIST__[count + 1]) ++count;
    while (count > 0) __CTOR_LIST__[count--]();  // last to first, as the compiler's own start-up runs them
    const int exitCode = RunPatchProgram(GetModuleHandleA(nullptr));
    while (ExitFunctionCount > 0) ExitFunctions[--ExitFunctionCount]();
    ExitProcess(static_cast<UINT>(exitCode));
}
