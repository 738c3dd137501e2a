// The one INI line lexer under the builder's manifest, script and diff
// readers: what kind each line is, its name and value trimmed, and where a
// section name ends. The readers' own rules are tested through them.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/neutral/IniLexer.h"

namespace {

const char* KindName(IniLineKind kind) {
    switch (kind) {
    case IniLineKind::Blank: return "blank";
    case IniLineKind::Comment: return "comment";
    case IniLineKind::Section: return "section";
    case IniLineKind::Key: return "key";
    case IniLineKind::Text: return "text";
    }
    return "?";
}

}  // namespace

TEST(IniLexer, ReadsEachKindOfLine) {
    struct Case {
        const char* line;
        IniLineKind kind;
        const char* name;
        const char* value;
        bool closed;
    } cases[] = {
        {"", IniLineKind::Blank, "", "", false},
        {" \r\t ", IniLineKind::Blank, "", "", false},
        {"[Setup]", IniLineKind::Section, "Setup", "", true},
        {"  [ Proc 1 ]  ", IniLineKind::Section, "Proc 1", "", true},
        // The name runs to the ']' that ends the line; a reader that ends it
        // at the first ']' cuts it there itself.
        {"[a]b]", IniLineKind::Section, "a]b", "", true},
        {"[L] junk", IniLineKind::Section, "L] junk", "", false},
        {"[open", IniLineKind::Section, "open", "", false},
        {"[", IniLineKind::Section, "", "", false},
        {"[]", IniLineKind::Section, "", "", true},
        {"[a=b]", IniLineKind::Section, "a=b", "", true},
        {"key=value", IniLineKind::Key, "key", "value", false},
        {"  Face = MS Sans Serif \t", IniLineKind::Key, "Face", "MS Sans Serif", false},
        {"1=HKCU,Key,Name,1,4,a=b", IniLineKind::Key, "1", "HKCU,Key,Name,1,4,a=b", false},
        {"=value", IniLineKind::Key, "", "value", false},
        {"empty=", IniLineKind::Key, "empty", "", false},
        {"bare words", IniLineKind::Text, "bare words", "", false},
        // Comments are split like keys too, for readers to which the mark
        // means nothing.
        {"; a comment", IniLineKind::Comment, "; a comment", "", false},
        {";key = 1", IniLineKind::Comment, ";key", "1", false},
        {"  # note=x", IniLineKind::Comment, "# note", "x", false},
        {"; [Cabinet]", IniLineKind::Comment, "; [Cabinet]", "", false},
    };
    for (const Case& c : cases) {
        std::vector<IniLine> lines = LexIni(c.line);
        std::string what = std::string("\"") + c.line + "\"";
        if (c.line[0] == '\0') {
            EXPECT_TRUE(lines.empty()) << what << ": an empty text has no line";
            continue;
        }
        ASSERT_EQ(lines.size(), 1u) << what;
        const IniLine& line = lines[0];
        EXPECT_STREQ(KindName(line.kind), KindName(c.kind)) << what;
        EXPECT_EQ(line.name, c.name) << what;
        EXPECT_EQ(line.value, c.value) << what;
        EXPECT_EQ(line.closed, c.closed) << what;
        EXPECT_EQ(line.raw, c.line) << what;
    }
}

TEST(IniLexer, SplitsAtLineFeedsAndNumbersTheLines) {
    struct Case {
        const char* what;
        std::string text;
        std::vector<std::string> raw;
    } cases[] = {
        {"CR LF line ends", "[A]\r\nk=v\r\n", {"[A]", "k=v"}},
        {"LF line ends, no end after the last line", "[A]\nk=v", {"[A]", "k=v"}},
        {"blank lines count", "\r\n\r\nk=v\r\n", {"", "", "k=v"}},
        {"one CR belongs to the line end, a second one to the line", "k=v\r\r\n", {"k=v\r"}},
        {"a lone CR does not end a line", "a=1\rb=2\n", {"a=1\rb=2"}},
        {"a zero byte is text", std::string("a=x\0y\n", 6), {std::string("a=x\0y", 5)}},
    };
    for (const Case& c : cases) {
        std::vector<IniLine> lines = LexIni(c.text);
        ASSERT_EQ(lines.size(), c.raw.size()) << c.what;
        for (std::size_t i = 0; i < lines.size(); ++i) {
            EXPECT_EQ(lines[i].raw, c.raw[i]) << c.what << ", line " << i + 1;
            EXPECT_EQ(lines[i].number, static_cast<int>(i + 1)) << c.what;
        }
    }
    // Carriage returns around a name or value are trimmed like blanks.
    std::vector<IniLine> cr = LexIni("k=v\r\r\n");
    ASSERT_EQ(cr.size(), 1u);
    EXPECT_EQ(cr[0].value, "v");
}

TEST(IniLexer, Utf8MarkTrimAndNames) {
    EXPECT_TRUE(HasUtf8Mark("\xEF\xBB\xBF[Settings]"));
    EXPECT_FALSE(HasUtf8Mark("\xEF\xBB"));
    EXPECT_FALSE(HasUtf8Mark("[Settings]"));
    // The mark is the reader's to pass over: to the lexer it is text.
    std::vector<IniLine> marked = LexIni("\xEF\xBB\xBF[Settings]\r\n");
    ASSERT_EQ(marked.size(), 1u);
    EXPECT_EQ(marked[0].kind, IniLineKind::Text);

    EXPECT_EQ(TrimIni(" \t\r a b \r\t "), "a b");
    EXPECT_EQ(TrimIni(" \t\r"), "");

    EXPECT_TRUE(SameName("ProcCount", "PROCCOUNT"));
    EXPECT_TRUE(SameName("", ""));
    EXPECT_FALSE(SameName("Proc1", "Proc10"));
    EXPECT_FALSE(SameName("Proc1", "Proc2"));
}
