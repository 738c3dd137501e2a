#include "core/neutral/CommandLine.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct Case {
    const char* text;
    bool ok;
    RunMode mode;
    bool noRestart;
    bool forceRestart;
    bool usage;
    const char* dir;
    const char* log;
    const char* bad;
};

const Case kCases[] = {
    {"patch.exe", true, RunMode::Interactive, false, false, false, "", "", ""},
    {"\"C:\\My Patches\\patch.exe\"", true, RunMode::Interactive, false, false, false, "", "", ""},
    {"\"C:\\My Patches\\patch.exe\" /quiet", true, RunMode::Quiet, false, false, false, "", "", ""},
    {"patch.exe -QUIET /NoRestart", true, RunMode::Quiet, true, false, false, "", "", ""},
    {"patch.exe /passive", true, RunMode::Passive, false, false, false, "", "", ""},
    {"patch.exe /passive /quiet", true, RunMode::Quiet, false, false, false, "", "", ""},
    {"patch.exe /quiet /passive", true, RunMode::Quiet, false, false, false, "", "", ""},
    {"patch.exe /forcerestart", true, RunMode::Interactive, false, true, false, "", "", ""},
    {"patch.exe /?", true, RunMode::Interactive, false, false, true, "", "", ""},
    {"patch.exe -help", true, RunMode::Interactive, false, false, true, "", "", ""},
    {"patch.exe /dir=C:\\App /log=C:\\x.log", true, RunMode::Interactive, false, false, false, "C:\\App",
     "C:\\x.log", ""},
    {"patch.exe /DIR=\"C:\\Program Files\\App\"", true, RunMode::Interactive, false, false, false,
     "C:\\Program Files\\App", "", ""},
    {"patch.exe \"/dir=C:\\Program Files\\App\" /quiet", true, RunMode::Quiet, false, false, false,
     "C:\\Program Files\\App", "", ""},
    {"patch.exe\t/quiet  \t ", true, RunMode::Quiet, false, false, false, "", "", ""},
    // Unknown or malformed: the first one is named as typed.
    {"patch.exe /S", false, RunMode::Interactive, false, false, false, "", "", "/S"},
    {"patch.exe /quiet /x /y", false, RunMode::Quiet, false, false, false, "", "", "/x"},
    {"patch.exe /quietly", false, RunMode::Interactive, false, false, false, "", "", "/quietly"},
    {"patch.exe C:\\App", false, RunMode::Interactive, false, false, false, "", "", "C:\\App"},
    {"patch.exe /dir=", false, RunMode::Interactive, false, false, false, "", "", "/dir="},
    {"patch.exe /dir", false, RunMode::Interactive, false, false, false, "", "", "/dir"},
    {"patch.exe /log=\"\" /quiet", false, RunMode::Quiet, false, false, false, "", "", "/log=\"\""},
    {"patch.exe /", false, RunMode::Interactive, false, false, false, "", "", "/"},
    {"patch.exe /norestart /forcerestart", false, RunMode::Interactive, true, true, false, "", "",
     "/norestart /forcerestart"},
    // A quote never closed ends its argument at the next blank: the switches
    // after it still count, /quiet among them, and the command line is bad.
    {"patch.exe /dir=C:\\App\\\" /quiet /log=C:\\x.log", false, RunMode::Quiet, false, false, false, "",
     "C:\\x.log", "/dir=C:\\App\\\""},
    {"patch.exe /log=\"C:\\a b.log", false, RunMode::Interactive, false, false, false, "", "", "/log=\"C:\\a"},
    {"patch.exe /quiet \"/dir=C:\\a b\" \"/log=C:\\x", false, RunMode::Quiet, false, false, false, "C:\\a b", "",
     "\"/log=C:\\x"},
    {"patch.exe /passive\"", false, RunMode::Interactive, false, false, false, "", "", "/passive\""},
    {"patch.exe \" /quiet", false, RunMode::Quiet, false, false, false, "", "", "\""},
    // Only a full folder: drive letter and separator, or a server.
    {"patch.exe /quiet /dir=App", false, RunMode::Quiet, false, false, false, "", "", "/dir=App"},
    {"patch.exe /quiet /dir=.\\App", false, RunMode::Quiet, false, false, false, "", "", "/dir=.\\App"},
    {"patch.exe /quiet /dir=..\\App", false, RunMode::Quiet, false, false, false, "", "", "/dir=..\\App"},
    {"patch.exe /quiet /dir=C:App", false, RunMode::Quiet, false, false, false, "", "", "/dir=C:App"},
    {"patch.exe /quiet /dir=\\App", false, RunMode::Quiet, false, false, false, "", "", "/dir=\\App"},
    {"patch.exe /quiet /dir=C:", false, RunMode::Quiet, false, false, false, "", "", "/dir=C:"},
    {"patch.exe /quiet /dir=1:\\App", false, RunMode::Quiet, false, false, false, "", "", "/dir=1:\\App"},
    {"patch.exe /quiet /dir=c:/App", true, RunMode::Quiet, false, false, false, "c:/App", "", ""},
    {"patch.exe /quiet /dir=Z:\\", true, RunMode::Quiet, false, false, false, "Z:\\", "", ""},
    {"patch.exe /quiet /dir=\\\\server\\share\\App", true, RunMode::Quiet, false, false, false,
     "\\\\server\\share\\App", "", ""},
    {"patch.exe /quiet /dir=//server/share", true, RunMode::Quiet, false, false, false, "//server/share", "", ""},
    {"patch.exe /quiet /?", true, RunMode::Quiet, false, false, true, "", "", ""},
};

TEST(CommandLine, TableOfCommandLines) {
    for (const Case& c : kCases) {
        CommandLineOptions options;
        EXPECT_EQ(ParseCommandLine(c.text, options), c.ok) << c.text;
        EXPECT_EQ(options.Mode, c.mode) << c.text;
        EXPECT_EQ(options.NoRestart, c.noRestart) << c.text;
        EXPECT_EQ(options.ForceRestart, c.forceRestart) << c.text;
        EXPECT_EQ(options.ShowUsage, c.usage) << c.text;
        EXPECT_STREQ(options.Dir, c.dir) << c.text;
        EXPECT_STREQ(options.Log, c.log) << c.text;
        EXPECT_STREQ(options.BadSwitch, c.bad) << c.text;
        EXPECT_EQ(options.Bad, !c.ok) << c.text;
    }
}

TEST(CommandLine, NoTextIsTheInteractiveWizard) {
    CommandLineOptions options;
    options.Mode = RunMode::Quiet;
    EXPECT_TRUE(ParseCommandLine(nullptr, options));
    EXPECT_EQ(options.Mode, RunMode::Interactive);
}

TEST(CommandLine, AFolderLongerThanAPathIsRefusedNotCut) {
    std::string folder(300, 'a');
    std::string text = "patch.exe /quiet /dir=C:\\" + folder;
    CommandLineOptions options;
    EXPECT_FALSE(ParseCommandLine(text.c_str(), options));
    EXPECT_STREQ(options.Dir, "");
    EXPECT_EQ(std::string(options.BadSwitch).size(), kOptionTextSize - 1) << "named, cut to the buffer";
    EXPECT_EQ(std::string(options.BadSwitch).substr(0, 8), "/dir=C:\\");

    std::string fits = "patch.exe /dir=C:\\" + std::string(kOptionTextSize - 4, 'b');
    EXPECT_TRUE(ParseCommandLine(fits.c_str(), options));
    EXPECT_EQ(std::string(options.Dir).size(), kOptionTextSize - 1);
}

TEST(CommandLine, AnUnclosedQuoteInTheProgramNameKeepsTheSwitchesAfterIt) {
    CommandLineOptions options;
    EXPECT_TRUE(ParseCommandLine("\"C:\\Patches\\patch.exe /quiet /log=C:\\x.log", options));
    EXPECT_EQ(options.Mode, RunMode::Quiet);
    EXPECT_STREQ(options.Log, "C:\\x.log");
}

}  // namespace
