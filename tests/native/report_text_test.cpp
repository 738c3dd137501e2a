#include <gtest/gtest.h>

#include <string>

#include "actions/neutral/ReportText.h"

TEST(AppendReportParagraph, FirstLineHasNameSpacePathSpaceWordAndBlankLine) {
    HeapText text = AppendReportParagraph(nullptr, "Update file", "C:\\App\\a.dll", "OK");
    ASSERT_TRUE(text);
    EXPECT_STREQ(text.get(), "Update file C:\\App\\a.dll OK\r\n\r\n");
}

TEST(AppendReportParagraph, LaterLinesFollowThePreviousTextUnchanged) {
    HeapText first = AppendReportParagraph(nullptr, "Add file", "C:\\x", "OK");
    HeapText second = AppendReportParagraph(first.get(), "Delete file", "C:\\y**", "Skipped");
    ASSERT_TRUE(second);
    EXPECT_STREQ(second.get(), "Add file C:\\x OK\r\n\r\nDelete file C:\\y** Skipped\r\n\r\n");
    // The old text is the caller's and is left as it was.
    EXPECT_STREQ(first.get(), "Add file C:\\x OK\r\n\r\n");
}

TEST(AppendReportParagraph, RegistrySummaryPathOfOneSpaceGivesThreeSpaces) {
    HeapText text = AppendReportParagraph(nullptr, "Registry", " ", "Failed");
    ASSERT_TRUE(text);
    EXPECT_STREQ(text.get(), "Registry   Failed\r\n\r\n");
}

TEST(AppendReportParagraph, AbsentPartsReadAsEmpty) {
    struct Case {
        const char* name;
        const char* path;
        const char* word;
        const char* expected;
    } cases[] = {
        {nullptr, "p", "w", " p w\r\n\r\n"},
        {"n", nullptr, "w", "n  w\r\n\r\n"},
        {"n", "p", nullptr, "n p \r\n\r\n"},
        {"", "", "", "  \r\n\r\n"},
    };
    for (const Case& c : cases) {
        HeapText text = AppendReportParagraph(nullptr, c.name, c.path, c.word);
        ASSERT_TRUE(text);
        EXPECT_STREQ(text.get(), c.expected) << "name=" << (c.name ? c.name : "(none)")
                                             << " path=" << (c.path ? c.path : "(none)")
                                             << " word=" << (c.word ? c.word : "(none)");
    }
}

TEST(AppendReportParagraph, LongPathsAndManyLinesAreKeptWhole) {
    const std::string longPath = "C:\\" + std::string(5000, 'd') + "\\file.bin**";
    HeapText text;
    std::string expected;
    for (int i = 0; i < 200; ++i) {
        text = AppendReportParagraph(text.get(), "Name", longPath.c_str(), "Word");
        ASSERT_TRUE(text) << "line " << i;
        expected += "Name " + longPath + " Word\r\n\r\n";
    }
    EXPECT_EQ(std::string(text.get()), expected);
}
