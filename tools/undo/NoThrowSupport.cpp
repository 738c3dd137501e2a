// The companion travels inside every patch with a backup, so it is kept
// small: built without exceptions, it still links the C++ library's
// allocation and failure paths, which throw, and throwing brings in the
// unwinder, the threads library and the name demangler (two thirds of the
// program). These definitions take their place. Every failure they stand
// for (memory exhausted, a string past its largest size, an index out of
// range) ends the companion with the code that stops the patch or reports a
// failed restore; nothing is half-written by then that a later run does not
// check (the manifest is written last, and a restore is checked first).
#include <windows.h>

#include <cstddef>
#include <new>

#include "Undo.h"

namespace {

[[noreturn]] void StopOnInternalFailure() { ExitProcess(kUndoFailed); }

}  // namespace

void* operator new(std::size_t size) {
    void* block = HeapAlloc(GetProcessHeap(), 0, size ? size : 1);
    if (!block) StopOnInternalFailure();
    return block;
}
void* operator new[](std::size_t size) { return operator new(size); }
void operator delete(void* block) noexcept {
    if (block) HeapFree(GetProcessHeap(), 0, block);
}
void operator delete[](void* block) noexcept { operator delete(block); }
void operator delete(void* block, std::size_t) noexcept { operator delete(block); }
void operator delete[](void* block, std::size_t) noexcept { operator delete(block); }

// The library's own failure reports, which it would otherwise throw. The
// companion is built with the library's checked accessors on (an index out of
// range stops it instead of reading past a buffer), and those report here.
namespace std {
void __glibcxx_assert_fail(const char*, int, const char*, const char*) noexcept { StopOnInternalFailure(); }
void __throw_bad_alloc() { StopOnInternalFailure(); }
void __throw_bad_array_new_length() { StopOnInternalFailure(); }
void __throw_length_error(const char*) { StopOnInternalFailure(); }
void __throw_logic_error(const char*) { StopOnInternalFailure(); }
void __throw_out_of_range(const char*) { StopOnInternalFailure(); }
void __throw_out_of_range_fmt(const char*, ...) { StopOnInternalFailure(); }
void __throw_invalid_argument(const char*) { StopOnInternalFailure(); }
}  // namespace std
