#include "common/neutral/IniLexer.h"

#include <cctype>

namespace {

constexpr const char* kTrimmed = " \t\r";

IniLine ReadLine(const std::string& raw, int number) {
    IniLine line;
    line.number = number;
    line.raw = raw;
    std::string text = TrimIni(raw);
    if (text.empty()) {
        line.kind = IniLineKind::Blank;
        return line;
    }
    if (text[0] == '[') {
        line.kind = IniLineKind::Section;
        line.closed = text.size() >= 2 && text.back() == ']';
        line.name = TrimIni(text.substr(1, text.size() - (line.closed ? 2 : 1)));
        return line;
    }
    std::size_t equals = text.find('=');
    line.kind = text[0] == ';' || text[0] == '#'   ? IniLineKind::Comment
                : equals != std::string::npos     ? IniLineKind::Key
                                                   : IniLineKind::Text;
    line.name = TrimIni(text.substr(0, equals));
    if (equals != std::string::npos) line.value = TrimIni(text.substr(equals + 1));
    return line;
}

}  // namespace

std::vector<IniLine> LexIni(const std::string& text) {
    std::vector<IniLine> lines;
    std::size_t at = 0;
    int number = 0;
    while (at < text.size()) {
        std::size_t end = text.find('\n', at);
        if (end == std::string::npos) end = text.size();
        std::string raw = text.substr(at, end - at);
        if (!raw.empty() && raw.back() == '\r') raw.pop_back();
        lines.push_back(ReadLine(raw, ++number));
        at = end + 1;
    }
    return lines;
}

std::string TrimIni(const std::string& text) {
    std::size_t first = text.find_first_not_of(kTrimmed);
    if (first == std::string::npos) return std::string();
    std::size_t last = text.find_last_not_of(kTrimmed);
    return text.substr(first, last - first + 1);
}

bool HasUtf8Mark(const std::string& text) { return text.compare(0, kUtf8MarkSize, "\xEF\xBB\xBF") == 0; }

bool SameName(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}
