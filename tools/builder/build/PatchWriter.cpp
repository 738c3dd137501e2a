#include "build/PatchWriter.h"

#include <windows.h>

#include <cstring>
#include <fstream>

#include "common/SystemMessage.h"
#include "core/FileSwap.h"

namespace {

bool WriteBytes(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    return !out.fail();
}

// Removes the staged file however the writing ends.
class StagedFile {
public:
    explicit StagedFile(const char* path) : path_(path) {}
    ~StagedFile() {
        SetFileAttributesA(path_, FILE_ATTRIBUTE_NORMAL);
        DeleteFileA(path_);
    }
    StagedFile(const StagedFile&) = delete;
    StagedFile& operator=(const StagedFile&) = delete;

private:
    const char* path_;
};

}  // namespace

bool WritePatch(const std::string& image, const std::vector<ResourceItem>& items, const std::string& output,
                std::string& error) {
    // The patch is put together in a file whose name the system picks
    // beside the output, so that no file of the author's is overwritten on
    // the way, and the finished patch takes the output's place whole.
    char staged[FileSwap::kPathSize] = {};
    if (output.size() >= FileSwap::kPathSize || !CreateScratchFile(output.c_str(), staged)) {
        error = "cannot create a scratch file beside \"" + output + "\": " + SystemMessage(GetLastError());
        return false;
    }
    StagedFile removeStaged(staged);
    if (!WriteBytes(staged, image)) {
        error = "cannot write \"" + std::string(staged) + "\"";
        return false;
    }
    HANDLE update = BeginUpdateResourceA(staged, FALSE);
    if (!update) {
        error = "cannot add resources to \"" + std::string(staged) + "\": " + SystemMessage(GetLastError());
        return false;
    }
    for (const ResourceItem& item : items) {
        std::string data = item.data;  // UpdateResourceA takes a non-const pointer
        if (!UpdateResourceA(update, item.type, MAKEINTRESOURCEA(item.id), item.language,
                             item.remove ? nullptr : &data[0], item.remove ? 0 : static_cast<DWORD>(data.size()))) {
            error = "cannot " + std::string(item.remove ? "remove" : "add") + " resource " + std::to_string(item.id) +
                    ": " + SystemMessage(GetLastError());
            EndUpdateResourceA(update, TRUE);
            return false;
        }
    }
    if (!EndUpdateResourceA(update, FALSE)) {
        error = "cannot write the resources into \"" + std::string(staged) + "\": " + SystemMessage(GetLastError());
        return false;
    }
    FileSwap swap(SystemSwapPlatform());
    if (!swap.Begin(output.c_str(), TargetAccess::Free) || !swap.CopyIntoScratch(staged) ||
        swap.Commit(SwapTime::Now) != SwapOutcome::Done) {
        error = "cannot replace \"" + output + "\": " + SystemMessage(GetLastError());
        return false;
    }
    return true;
}
