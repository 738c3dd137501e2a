#include "build/RuntimeImage.h"

#include "common/Files.h"
#include "core/neutral/LittleEndian.h"

namespace {

constexpr std::size_t kNewHeaderAt = 0x3C;
constexpr std::size_t kOptionalHeaderAt = 24;  // after "PE\0\0" and the file header
constexpr uint16_t kPe32Magic = 0x10B, kPe32PlusMagic = 0x20B;
constexpr std::size_t kCertificateDirectory = 4;

const unsigned char* Bytes(const std::string& image) { return reinterpret_cast<const unsigned char*>(image.data()); }

// Offset of the "PE\0\0" signature, or 0 when the image is no Windows program.
std::size_t PeHeader(const std::string& image) {
    if (image.size() <= kNewHeaderAt + 4 || image.compare(0, 2, "MZ") != 0) return 0;
    uint32_t header = ReadLittleEndian32(Bytes(image) + kNewHeaderAt);
    if (header == 0 || header >= image.size() || image.size() - header <= kOptionalHeaderAt + 2) return 0;
    return image.compare(header, 4, std::string("PE\0\0", 4)) == 0 ? header : 0;
}

struct FoundNames {
    std::vector<std::string> names;
};

BOOL CALLBACK CollectRcData(HMODULE, LPCSTR, LPSTR name, LONG_PTR context) {
    auto* found = reinterpret_cast<FoundNames*>(context);
    found->names.push_back(IS_INTRESOURCE(name) ? std::to_string(reinterpret_cast<ULONG_PTR>(name)) : name);
    return TRUE;
}

BOOL CALLBACK CollectLanguage(HMODULE, LPCSTR, LPCSTR, WORD language, LONG_PTR context) {
    reinterpret_cast<std::vector<WORD>*>(context)->push_back(language);
    return TRUE;
}

// The RT_RCDATA resources of the program: a bare runtime has none.
std::vector<std::string> DataResources(const std::string& path) {
    FoundNames found;
    HMODULE module = LoadLibraryExA(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (!module) return found.names;
    EnumResourceNamesA(module, MAKEINTRESOURCEA(10) /* RT_RCDATA */, CollectRcData,
                       reinterpret_cast<LONG_PTR>(&found));
    FreeLibrary(module);
    return found.names;
}

}  // namespace

bool IsSignedImage(const std::string& image) {
    std::size_t header = PeHeader(image);
    if (!header) return false;
    std::size_t optional = header + kOptionalHeaderAt;
    uint16_t magic = static_cast<uint16_t>(Bytes(image)[optional] | Bytes(image)[optional + 1] << 8);
    std::size_t directories = optional + (magic == kPe32PlusMagic ? 112 : magic == kPe32Magic ? 96 : 0);
    if (directories == optional) return false;
    std::size_t entry = directories + kCertificateDirectory * 8;
    if (entry + 8 > image.size()) return false;
    return ReadLittleEndian32(Bytes(image) + entry) != 0 && ReadLittleEndian32(Bytes(image) + entry + 4) != 0;
}

bool ReadBareRuntime(const std::string& path, std::string& image, std::string& error) {
    if (!ReadFileBytes(path, image) || image.empty()) {
        error = "cannot read the runtime \"" + path + "\"";
        return false;
    }
    if (!PeHeader(image)) {
        error = "the runtime \"" + path + "\" is not a Windows program";
        return false;
    }
    if (IsSignedImage(image)) {
        error = "the runtime \"" + path + "\" is signed: adding the patch's resources would break its signature. "
                "Build from the unsigned runtime and sign the built patch as the last step";
        return false;
    }
    std::vector<std::string> names = DataResources(path);
    if (!names.empty()) {
        std::string list;
        for (std::size_t i = 0; i < names.size() && i < 5; ++i) list += (i ? ", " : "") + names[i];
        if (names.size() > 5) list += ", ...";
        error = "the runtime \"" + path + "\" already carries patch resources (" + list +
                "): it is a built patch, not the bare runtime. Give the bare runtime, zulirt.exe";
        return false;
    }
    return true;
}

std::vector<WORD> ResourceLanguages(const std::string& path, LPCSTR type, unsigned id) {
    std::vector<WORD> languages;
    HMODULE module = LoadLibraryExA(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (!module) return languages;
    EnumResourceLanguagesA(module, type, MAKEINTRESOURCEA(id), CollectLanguage,
                           reinterpret_cast<LONG_PTR>(&languages));
    FreeLibrary(module);
    return languages;
}

bool ReadProgramResource(const std::string& path, LPCSTR type, unsigned id, WORD language, std::string& bytes) {
    HMODULE module = LoadLibraryExA(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (!module) return false;
    HRSRC found = FindResourceExA(module, type, MAKEINTRESOURCEA(id), language);
    HGLOBAL loaded = found ? LoadResource(module, found) : nullptr;
    const void* data = loaded ? LockResource(loaded) : nullptr;
    if (data) bytes.assign(static_cast<const char*>(data), SizeofResource(module, found));
    FreeLibrary(module);
    return data != nullptr;
}
