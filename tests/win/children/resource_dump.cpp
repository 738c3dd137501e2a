// Test child, used as the "runtime" a patch is built from: it restores the
// sealed credits with the runtime's own start-up code, then writes every
// RT_RCDATA resource it can read (ids 1 to 4000) as "<id>.bin" into its
// current folder, and "restored.txt" holding the restoring result (0 or 1).
#include <windows.h>

#include <cstdio>
#include <string>

#include "core/CreditProtection.h"
#include "core/Resources.h"

namespace {
void Save(const std::string& name, const void* data, std::size_t size) {
    HANDLE out = CreateFileA(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (out == INVALID_HANDLE_VALUE) return;
    DWORD written = 0;
    if (size) WriteFile(out, data, static_cast<DWORD>(size), &written, nullptr);
    CloseHandle(out);
}
}  // namespace

int main() {
    int restored = MakeCreditsPlain();
    Save("restored.txt", restored ? "1" : "0", 1);
    for (unsigned id = 1; id <= 4000; ++id) {
        const void* data = LoadResourceData(id);
        if (data) Save(std::to_string(id) + ".bin", data, ResourceSize(id));
    }
    return 0;
}
