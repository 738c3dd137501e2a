// The shipped runtime (dist/win32/zulirt.exe, from the win32 preset) read as
// a file: a patch is typically started from a downloads folder, where a
// library planted beside it under a familiar name would be loaded in place of
// the system's, so the runtime imports only libraries that Windows always
// takes from the system folder; and its application manifest names the
// Windows versions it is made for and the execution level.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "support/TestFiles.h"

namespace {

std::string ShippedRuntime() { return std::string(ZULI_SOURCE_DIR_WINE) + "/dist/win32/zulirt.exe"; }

uint32_t U16(const std::string& b, std::size_t at) {
    return at + 2 <= b.size() ? uint32_t(uint8_t(b[at])) | uint32_t(uint8_t(b[at + 1])) << 8 : 0;
}
uint32_t U32(const std::string& b, std::size_t at) { return U16(b, at) | U16(b, at + 2) << 16; }

std::string Lower(std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

// A 32-bit program image: its sections, imports and resources, read by hand
// so that the test does not depend on the loader it is about.
class PeImage {
public:
    explicit PeImage(std::string bytes) : b_(std::move(bytes)) {
        if (b_.size() < 0x40 || b_.compare(0, 2, "MZ") != 0) return;
        std::size_t pe = U32(b_, 0x3C);
        if (b_.compare(pe, 4, std::string("PE\0\0", 4)) != 0) return;
        std::size_t coff = pe + 4;
        unsigned sections = U16(b_, coff + 2);
        std::size_t optional = coff + 20;
        if (U16(b_, optional) != 0x10B) return;  // PE32: the i686 build
        std::size_t directories = optional + 96;
        importRva_ = U32(b_, directories + 8 * 1);
        resourceRva_ = U32(b_, directories + 8 * 2);
        tlsRva_ = U32(b_, directories + 8 * 9);
        entryRva_ = U32(b_, optional + 16);
        std::size_t table = optional + U16(b_, coff + 16);
        for (unsigned i = 0; i < sections; ++i) {
            std::size_t s = table + 40 * i;
            sections_.push_back({U32(b_, s + 12), std::max(U32(b_, s + 8), U32(b_, s + 16)), U32(b_, s + 20),
                                 U32(b_, s + 36), b_.substr(s, 8).c_str()});
        }
        valid_ = true;
    }
    bool Valid() const { return valid_; }

    // Library name (lower case) -> imported function names (by ordinal as "#n").
    std::map<std::string, std::set<std::string>> Imports() const {
        std::map<std::string, std::set<std::string>> imports;
        for (std::size_t d = Offset(importRva_); d && d + 20 <= b_.size(); d += 20) {
            uint32_t lookup = U32(b_, d), nameRva = U32(b_, d + 12), thunk = U32(b_, d + 16);
            if (!nameRva && !thunk) break;
            std::set<std::string>& functions = imports[Lower(Text(nameRva))];
            for (std::size_t t = Offset(lookup ? lookup : thunk); t && t + 4 <= b_.size(); t += 4) {
                uint32_t entry = U32(b_, t);
                if (!entry) break;
                functions.insert(entry & 0x80000000u ? "#" + std::to_string(entry & 0xFFFF) : Text(entry + 2));
            }
        }
        return imports;
    }

    // The data of resource (type, id) in its first language; empty when absent.
    std::string Resource(unsigned type, unsigned id) const {
        std::size_t root = Offset(resourceRva_);
        if (!root) return std::string();
        std::size_t names = Child(root, root, type);
        std::size_t languages = names ? Child(root, names, id) : 0;
        if (!languages || U16(b_, languages + 14) + U16(b_, languages + 12) == 0) return std::string();
        uint32_t leaf = U32(b_, languages + 16 + 4);
        if (leaf & 0x80000000u) return std::string();
        std::size_t entry = root + leaf;
        std::size_t data = Offset(U32(b_, entry));
        uint32_t size = U32(b_, entry + 4);
        return data && data + size <= b_.size() ? b_.substr(data, size) : std::string();
    }

    std::vector<std::string> SectionNames() const {
        std::vector<std::string> names;
        for (const Section& s : sections_) names.push_back(s.name);
        return names;
    }

    // The entry point and the TLS directory, as relative addresses (0: none).
    uint32_t EntryRva() const { return entryRva_; }
    uint32_t TlsRva() const { return tlsRva_; }
    // The characteristics of the section holding `rva`; 0 when none does.
    uint32_t Characteristics(uint32_t rva) const {
        for (const Section& s : sections_)
            if (rva >= s.rva && rva < s.rva + s.size) return s.characteristics;
        return 0;
    }

private:
    struct Section {
        uint32_t rva, size, raw, characteristics;
        std::string name;
    };

    std::size_t Offset(uint32_t rva) const {
        for (const Section& s : sections_)
            if (rva >= s.rva && rva < s.rva + s.size) return s.raw + (rva - s.rva);
        return 0;
    }
    std::string Text(uint32_t rva) const {
        std::size_t at = Offset(rva);
        if (!at) return std::string();
        return b_.substr(at, b_.find('\0', at) - at);
    }
    // The subdirectory of `directory` for numeric `id`; 0 when absent.
    std::size_t Child(std::size_t root, std::size_t directory, unsigned id) const {
        unsigned named = U16(b_, directory + 12), numbered = U16(b_, directory + 14);
        for (unsigned i = named; i < named + numbered; ++i) {
            std::size_t entry = directory + 16 + 8 * i;
            uint32_t target = U32(b_, entry + 4);
            if (U32(b_, entry) == id && (target & 0x80000000u)) return root + (target & 0x7FFFFFFFu);
        }
        return 0;
    }

    std::string b_;
    bool valid_ = false;
    uint32_t importRva_ = 0, resourceRva_ = 0, tlsRva_ = 0, entryRva_ = 0;
    std::vector<Section> sections_;
};

PeImage LoadShipped() {
    std::string bytes = ReadTestFile(ShippedRuntime());
    EXPECT_FALSE(bytes.empty()) << ShippedRuntime() << " is missing: build the win32 preset first";
    return PeImage(bytes);
}

}  // namespace

TEST(ShippedRuntime, ImportsOnlyLibrariesWindowsTakesFromTheSystemFolder) {
    PeImage image = LoadShipped();
    ASSERT_TRUE(image.Valid()) << ShippedRuntime() << " is not a 32-bit Windows program";
    std::map<std::string, std::set<std::string>> imports = image.Imports();
    ASSERT_TRUE(imports.count("kernel32.dll")) << "the import table was not read";

    // The known DLLs: loaded from the system folder whatever lies beside the
    // program. comctl32 is not among them.
    const std::set<std::string> known = {"kernel32.dll", "user32.dll",  "gdi32.dll",    "advapi32.dll",
                                         "shell32.dll",  "shlwapi.dll", "comdlg32.dll", "msvcrt.dll"};
    for (const auto& library : imports)
        EXPECT_TRUE(known.count(library.first)) << library.first << " is imported: a copy beside the patch would load";
    EXPECT_FALSE(imports.count("comctl32.dll"));

    // Looked up at run time instead, so that systems without them still
    // start: the search-path restriction, and the common controls by full path.
    for (const char* function : {"SetDefaultDllDirectories", "AddDllDirectory", "SetDllDirectoryA"})
        EXPECT_FALSE(imports["kernel32.dll"].count(function)) << function << " would stop older systems loading";
    for (const char* function : {"GetProcAddress", "LoadLibraryA", "GetSystemDirectoryA"})
        EXPECT_TRUE(imports["kernel32.dll"].count(function)) << function;
    // Security calls that Windows NT 4 lacks: the work folder's access list
    // is written out by hand, and the backup folder's judge stays with the
    // backup companion.
    for (const char* function : {"SetSecurityDescriptorControl", "AddAccessAllowedAceEx", "CheckTokenMembership"})
        EXPECT_FALSE(imports["advapi32.dll"].count(function)) << function << " would stop Windows NT 4 loading";
    std::string file = ReadTestFile(ShippedRuntime());
    for (const char* text : {"SetDefaultDllDirectories", "\\comctl32.dll", "InitCommonControls"})
        EXPECT_NE(file.find(text), std::string::npos) << "\"" << text << "\" is not looked up";
}

// Every patch carries the runtime whole: it stays below its size goal.
TEST(ShippedRuntime, StaysBelowItsSizeGoal) {
    const std::string bytes = ReadTestFile(ShippedRuntime());
    ASSERT_FALSE(bytes.empty()) << ShippedRuntime() << " is missing: build the win32 preset first";
    EXPECT_LT(bytes.size(), 92407u) << ShippedRuntime();
}

TEST(ShippedRuntime, ManifestNamesTheSupportedSystemsAndTheExecutionLevel) {
    PeImage image = LoadShipped();
    ASSERT_TRUE(image.Valid());
    std::string manifest = image.Resource(24 /* RT_MANIFEST */, 1);
    ASSERT_FALSE(manifest.empty()) << "no application manifest (resource 24, 1)";
    EXPECT_EQ(manifest.compare(0, 5, "<?xml"), 0);
    EXPECT_NE(manifest.find("<assembly xmlns=\"urn:schemas-microsoft-com:asm.v1\" manifestVersion=\"1.0\">"),
              std::string::npos);
    EXPECT_NE(manifest.find("</assembly>"), std::string::npos);
    // Without a level, a 32-bit program run without elevation has its writes
    // to Program Files redirected to the VirtualStore.
    EXPECT_NE(manifest.find("<trustInfo xmlns=\"urn:schemas-microsoft-com:asm.v3\">"), std::string::npos);
    EXPECT_NE(manifest.find("level=\"highestAvailable\""), std::string::npos) << manifest;
    EXPECT_NE(manifest.find("uiAccess=\"false\""), std::string::npos);
    struct System {
        const char* name;
        const char* id;
    } systems[] = {
        {"Windows Vista", "{e2011457-1546-43c5-a5fe-008deee3d3f0}"},
        {"Windows 7", "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}"},
        {"Windows 8", "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}"},
        {"Windows 8.1", "{1f676c76-80e1-4239-95bb-83d0f6d0da78}"},
        {"Windows 10 and 11", "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"},
    };
    for (const System& system : systems)
        EXPECT_NE(manifest.find(std::string("<supportedOS Id=\"") + system.id + "\"/>"), std::string::npos)
            << system.name;
}

// The runtime starts at its own entry point, without the C library's
// start-up code (a twelfth of the file). That code brought the only TLS
// directory, whose callbacks Windows runs before any entry point; a
// directory, or the start-up tables and TLS template as sections of their
// own (each a whole block of the file), mean it is linked in again.
TEST(ShippedRuntime, StartsAtItsOwnEntryWithoutTheLibraryStartUpCode) {
    const PeImage image = LoadShipped();
    ASSERT_TRUE(image.Valid());
    constexpr uint32_t kExecute = 0x20000000u;
    EXPECT_TRUE(image.Characteristics(image.EntryRva()) & kExecute) << "entry point at " << image.EntryRva();
    EXPECT_EQ(image.TlsRva(), 0u) << "a TLS directory: the C library's start-up code is linked in";
    const std::vector<std::string> names = image.SectionNames();
    for (const char* folded : {".CRT", ".tls"})
        EXPECT_EQ(std::find(names.begin(), names.end(), folded), names.end()) << folded << " is a section of its own";
}

// The backup companion travels inside every patch with a backup and is later
// started elevated from the backup folder: it is small, loads only system
// libraries, and says to Windows what it is.
TEST(ShippedCompanion, IsSmallImportsOnlySystemLibrariesAndCarriesItsManifest) {
    const std::string path = std::string(ZULI_SOURCE_DIR_WINE) + "/dist/win32/zuliundo.exe";
    const std::string bytes = ReadTestFile(path);
    ASSERT_FALSE(bytes.empty()) << path << " is missing: build the win32 preset first";
    EXPECT_LE(bytes.size(), 100u * 1024) << path;

    PeImage image(bytes);
    ASSERT_TRUE(image.Valid()) << path << " is not a 32-bit Windows program";
    std::map<std::string, std::set<std::string>> imports = image.Imports();
    ASSERT_TRUE(imports.count("kernel32.dll")) << "the import table was not read";
    const std::set<std::string> known = {"kernel32.dll", "user32.dll", "advapi32.dll", "shell32.dll",
                                         "shlwapi.dll",  "msvcrt.dll", "gdi32.dll"};
    for (const auto& library : imports)
        EXPECT_TRUE(known.count(library.first)) << library.first << " is imported: a copy beside it would load";
    EXPECT_NE(bytes.find("SetDefaultDllDirectories"), std::string::npos) << "the library search is not restricted";

    std::string manifest = image.Resource(24 /* RT_MANIFEST */, 1);
    EXPECT_NE(manifest.find("<trustInfo xmlns=\"urn:schemas-microsoft-com:asm.v3\">"), std::string::npos);
    EXPECT_FALSE(image.Resource(16 /* RT_VERSION */, 1).empty()) << "no version resource";
}
