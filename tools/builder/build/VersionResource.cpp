#include "build/VersionResource.h"

#include <windows.h>

#include "build/RuntimeImage.h"

namespace {

constexpr WORD kLanguage = MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US);
constexpr WORD kUnicodeCodePage = 1200;

// Version blocks are built from nodes: length, value length, type, a
// zero-terminated UTF-16 key, padding to 4 bytes, the value, padding, then
// the children. Every length is patched in once the node is complete.
class Node {
public:
    Node(const std::wstring& key, bool text) {
        Word(0);
        Word(0);
        Word(text ? 1 : 0);
        Text(key);
        Pad();
    }
    void Value(const std::string& bytes, WORD valueLength) {
        SetWord(2, valueLength);
        bytes_ += bytes;
        Pad();
    }
    void TextValue(const std::wstring& text) {
        std::string bytes;
        for (wchar_t c : text) bytes += static_cast<char>(c & 0xFF), bytes += static_cast<char>((c >> 8) & 0xFF);
        bytes += std::string(2, '\0');
        Value(bytes, static_cast<WORD>(text.size() + 1));
    }
    void Child(const Node& child) {
        Pad();
        bytes_ += child.Bytes();
    }
    std::string Bytes() const {
        std::string done = bytes_;
        done[0] = static_cast<char>(done.size() & 0xFF);
        done[1] = static_cast<char>((done.size() >> 8) & 0xFF);
        return done;
    }

private:
    void Word(WORD value) {
        bytes_ += static_cast<char>(value & 0xFF);
        bytes_ += static_cast<char>(value >> 8);
    }
    void SetWord(std::size_t at, WORD value) {
        bytes_[at] = static_cast<char>(value & 0xFF);
        bytes_[at + 1] = static_cast<char>(value >> 8);
    }
    void Text(const std::wstring& text) {
        for (wchar_t c : text) Word(static_cast<WORD>(c));
        Word(0);
    }
    void Pad() {
        while (bytes_.size() % 4) bytes_ += '\0';
    }
    std::string bytes_;
};

std::wstring Wide(const std::string& text) {
    if (text.empty()) return std::wstring();
    int n = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(n), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), &wide[0], n);
    return wide;
}

// "1.2" -> the four 16-bit parts 1, 2, 0, 0 as two 32-bit words.
void VersionWords(const std::string& text, DWORD& high, DWORD& low) {
    DWORD parts[4] = {};
    std::size_t start = 0;
    for (int i = 0; i < 4 && start <= text.size(); ++i) {
        std::size_t dot = text.find('.', start);
        parts[i] = static_cast<DWORD>(std::stoul(text.substr(start, dot - start)));
        if (dot == std::string::npos) break;
        start = dot + 1;
    }
    high = parts[0] << 16 | parts[1];
    low = parts[2] << 16 | parts[3];
}

std::string Dword(DWORD value) {
    std::string bytes;
    for (int i = 0; i < 4; ++i) bytes += static_cast<char>((value >> (8 * i)) & 0xFF);
    return bytes;
}

}  // namespace

std::string BuildVersionInfo(const VersionFields& version, const std::string& title) {
    std::string fileVersion = version.fileVersion.empty() ? "1.0.0.0" : version.fileVersion;
    std::string productVersion = version.productVersion.empty() ? fileVersion : version.productVersion;
    std::string productName = version.productName.empty() ? title : version.productName;
    std::string description = version.fileDescription.empty() ? title : version.fileDescription;

    DWORD fileHigh = 0, fileLow = 0, productHigh = 0, productLow = 0;
    VersionWords(fileVersion, fileHigh, fileLow);
    VersionWords(productVersion, productHigh, productLow);
    std::string fixed = Dword(0xFEEF04BD) + Dword(0x00010000) + Dword(fileHigh) + Dword(fileLow) +
                        Dword(productHigh) + Dword(productLow) + Dword(0x3F) /* flags mask */ + Dword(0) +
                        Dword(VOS__WINDOWS32) + Dword(VFT_APP) + Dword(0) + Dword(0) + Dword(0);

    Node table(L"040904B0", true);
    const std::pair<const wchar_t*, std::string> strings[] = {
        {L"CompanyName", version.companyName},      {L"FileDescription", description},
        {L"FileVersion", fileVersion},              {L"LegalCopyright", version.legalCopyright},
        {L"ProductName", productName},              {L"ProductVersion", productVersion},
    };
    for (const auto& entry : strings) {
        if (entry.second.empty()) continue;
        Node value(entry.first, true);
        value.TextValue(Wide(entry.second));
        table.Child(value);
    }
    Node stringInfo(L"StringFileInfo", true);
    stringInfo.Child(table);

    Node translation(L"Translation", false);
    translation.Value(Dword(static_cast<DWORD>(kUnicodeCodePage) << 16 | kLanguage), 4);
    Node varInfo(L"VarFileInfo", true);
    varInfo.Child(translation);

    Node root(L"VS_VERSION_INFO", false);
    root.Value(fixed, static_cast<WORD>(fixed.size()));
    root.Child(stringInfo);
    root.Child(varInfo);
    return root.Bytes();
}

void AddVersionResource(const VersionFields& version, const std::string& title, const std::string& runtimePath,
                        std::vector<ResourceItem>& items) {
    LPCSTR type = MAKEINTRESOURCEA(16);  // RT_VERSION
    for (WORD language : ResourceLanguages(runtimePath, type, 1))
        if (language != kLanguage) items.push_back({type, 1, language, std::string(), true});
    items.push_back({type, 1, kLanguage, BuildVersionInfo(version, title)});
}
