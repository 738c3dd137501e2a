// Taking apart registered shell commands and putting the address into them.
#include <gtest/gtest.h>

#include <string>

#include "wizard/neutral/ShellCommand.h"

namespace {

const char* const kNone = nullptr;

std::string Show(const HeapText& text) {
    return text ? "\"" + std::string(text.get()) + "\"" : std::string("(none)");
}

struct SplitCase {
    const char* command;
    const char* program;    // kNone: none expected
    const char* arguments;  // kNone: none expected
    const char* what;
};

const SplitCase kSplitCases[] = {
    {"\"C:\\Mail\\mail.exe\" /compose %1", "C:\\Mail\\mail.exe", "/compose %1",
     "quoted program, blank, switch and %1"},
    {"\"C:\\Program Files\\Web\\browser.exe\" -url \"%1\"", "C:\\Program Files\\Web\\browser.exe", "-url \"%1\"",
     "quotes around %1 too: the program ends at its own closing quote"},
    {"\"C:\\Program Files\\A\" \"B\" x", "C:\\Program Files\\A", "\"B\" x",
     "four quotes: only the first pair is the program"},
    {"C:\\Mail\\mail.exe %1", "C:\\Mail\\mail.exe", "%1", "unquoted program and %1"},
    {"   C:\\mail.exe    /m   %1", "C:\\mail.exe", "/m   %1", "leading blanks skipped; the arguments kept whole"},
    {"C:\\mail.exe /m \"%1\"", "C:\\mail.exe", "/m \"%1\"", "unquoted program, quoted %1"},
    {"C:\\mail.exe", "C:\\mail.exe", kNone, "a single word has no arguments"},
    {"\"C:\\mail.exe\"", "C:\\mail.exe", kNone, "quoted program alone has no arguments"},
    {"\"C:\\mail.exe\"/m %1", "C:\\mail.exe", "/m %1", "no blank after the closing quote"},
    {"", kNone, kNone, "empty command"},
    {"    ", kNone, kNone, "blanks only"},
    {"\"C:\\one quote.exe %1", "C:\\one quote.exe %1", kNone, "a quote never closed runs to the end"},
    {"\"\" x", "", "x", "two quotes side by side: empty program"},
    {"C:\\a\"b.exe\" %1", "C:\\a\"b.exe\"", "%1", "a quote inside an unquoted word is part of it"},
};

TEST(SplitShellCommand, ProgramAndArgumentsOfEachCommand) {
    for (const SplitCase& c : kSplitCases) {
        HeapText program = SplitShellCommand(c.command, '"', CommandPart::Program);
        HeapText arguments = SplitShellCommand(c.command, '"', CommandPart::Arguments);
        std::string wantProgram = c.program ? "\"" + std::string(c.program) + "\"" : "(none)";
        std::string wantArguments = c.arguments ? "\"" + std::string(c.arguments) + "\"" : "(none)";
        EXPECT_EQ(Show(program), wantProgram) << c.what << ": program of [" << c.command << "]";
        EXPECT_EQ(Show(arguments), wantArguments) << c.what << ": arguments of [" << c.command << "]";
    }
}

TEST(SplitShellCommand, LeavesTheCommandAloneAndHandlesNone) {
    char command[] = "\"C:\\Mail\\mail.exe\" /compose %1";
    HeapText program = SplitShellCommand(command, '"', CommandPart::Program);
    EXPECT_STREQ(command, "\"C:\\Mail\\mail.exe\" /compose %1") << "the command text was changed";
    EXPECT_NE(program.get(), command) << "the program part must be a new text";
    EXPECT_FALSE(SplitShellCommand(nullptr, '"', CommandPart::Program));
    EXPECT_FALSE(SplitShellCommand(nullptr, '"', CommandPart::Arguments));
}

struct SubstituteCase {
    const char* text;
    const char* marker;
    const char* replacement;
    const char* expected;
    const char* what;
};

const SubstituteCase kSubstituteCases[] = {
    {"/compose %1", "%1", "mailto:a@b.example", "/compose mailto:a@b.example", "switch ending in %1"},
    {"/m \"%1\"", "%1", "a@b.example", "/m \"a@b.example\"", "the closing quote after %1 is kept"},
    {"/m %1 /quiet", "%1", "a@b.example", "/m a@b.example /quiet", "switches after %1 are kept"},
    {"%1 -x %1", "%1", "R", "R -x %1", "only the first marker is replaced"},
    {"%1", "%1", "", "", "empty replacement"},
    {"", "", "abc", "abc", "empty marker in an empty text"},
    {"abc", "", "X", "Xabc", "empty marker matches at the start"},
    {"a%1", "%1", "%1", "a%1", "a replacement holding the marker is not replaced again"},
};

TEST(SubstituteArgument, ReplacesTheFirstMarkerAndKeepsTheRest) {
    for (const SubstituteCase& c : kSubstituteCases) {
        HeapText result = SubstituteArgument(CopyText(c.text), c.marker, c.replacement);
        ASSERT_TRUE(result) << c.what;
        EXPECT_STREQ(result.get(), c.expected) << c.what << ": [" << c.text << "] with " << c.marker;
    }
}

TEST(SubstituteArgument, WithoutTheMarkerTheSameTextComesBack) {
    HeapText text = CopyText(" /compose");
    const char* original = text.get();
    HeapText result = SubstituteArgument(std::move(text), "%1", "a@b.example");
    EXPECT_EQ(result.get(), original) << "a text without marker must come back unchanged, not copied";
    EXPECT_STREQ(result.get(), " /compose");
    EXPECT_FALSE(SubstituteArgument(HeapText(), "%1", "x")) << "none stays none";
}

TEST(SubstituteArgument, MailCommandsEndToEnd) {
    // The registered command as a whole: the parameters the mail program gets.
    struct Case { const char* command; const char* program; const char* parameters; };
    const Case cases[] = {
        {"\"C:\\Mail\\mail.exe\" /compose %1", "C:\\Mail\\mail.exe", "/compose a@b.example"},
        {"\"C:\\Program Files\\Mail\\mail.exe\" -m \"%1\"", "C:\\Program Files\\Mail\\mail.exe",
         "-m \"a@b.example\""},
        {"\"C:\\Mail\\mail.exe\" /m %1 /quiet", "C:\\Mail\\mail.exe", "/m a@b.example /quiet"},
        {"C:\\Mail\\mail.exe %1", "C:\\Mail\\mail.exe", "a@b.example"},
        {"C:\\Mail\\mail.exe", "C:\\Mail\\mail.exe", ""},
    };
    for (const Case& c : cases) {
        HeapText program = SplitShellCommand(c.command, '"', CommandPart::Program);
        HeapText arguments = SplitShellCommand(c.command, '"', CommandPart::Arguments);
        if (!arguments) arguments = CopyText("");
        HeapText parameters = SubstituteArgument(std::move(arguments), "%1", "a@b.example");
        ASSERT_TRUE(program && parameters) << c.command;
        EXPECT_STREQ(program.get(), c.program) << c.command;
        EXPECT_STREQ(parameters.get(), c.parameters) << c.command;
    }
}

}  // namespace
