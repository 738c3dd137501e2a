#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "actions/neutral/ReportText.h"

namespace {

// A report as the runtime keeps it: the text, its length and its room.
struct Report {
    HeapText text;
    std::size_t length = 0;
    std::size_t capacity = 0;

    bool Add(const char* name, const char* path, const char* word) {
        return AppendReportParagraph(&text, &length, &capacity, name, path, word);
    }
    std::string Text() const { return text ? text.get() : "<none>"; }
};

}  // namespace

TEST(AppendReportParagraph, FirstLineHasNameSpacePathSpaceWordAndBlankLine) {
    Report report;
    ASSERT_TRUE(report.Add("Update file", "C:\\App\\a.dll", "OK"));
    EXPECT_EQ(report.Text(), "Update file C:\\App\\a.dll OK\r\n\r\n");
    EXPECT_EQ(report.length, report.Text().size());
}

TEST(AppendReportParagraph, LaterLinesFollowThePreviousTextUnchanged) {
    Report report;
    ASSERT_TRUE(report.Add("Add file", "C:\\x", "OK"));
    ASSERT_TRUE(report.Add("Delete file", "C:\\y**", "Skipped"));
    EXPECT_EQ(report.Text(), "Add file C:\\x OK\r\n\r\nDelete file C:\\y** Skipped\r\n\r\n");
    EXPECT_EQ(report.length, report.Text().size());
}

TEST(AppendReportParagraph, RegistrySummaryPathOfOneSpaceGivesThreeSpaces) {
    Report report;
    ASSERT_TRUE(report.Add("Registry", " ", "Failed"));
    EXPECT_EQ(report.Text(), "Registry   Failed\r\n\r\n");
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
        Report report;
        ASSERT_TRUE(report.Add(c.name, c.path, c.word));
        EXPECT_EQ(report.Text(), c.expected) << "name=" << (c.name ? c.name : "(none)")
                                             << " path=" << (c.path ? c.path : "(none)")
                                             << " word=" << (c.word ? c.word : "(none)");
    }
}

TEST(AppendReportParagraph, LongPathsAndManyLinesAreKeptWhole) {
    const std::string longPath = "C:\\" + std::string(5000, 'd') + "\\file.bin**";
    Report report;
    std::string expected;
    for (int i = 0; i < 200; ++i) {
        ASSERT_TRUE(report.Add("Name", longPath.c_str(), "Word")) << "line " << i;
        expected += "Name " + longPath + " Word\r\n\r\n";
        ASSERT_EQ(report.length, expected.size()) << "line " << i;
        ASSERT_GT(report.capacity, report.length) << "line " << i;
    }
    EXPECT_EQ(report.Text(), expected);
}

// The text moves only when its room runs out, and then to twice what it
// needs: many short lines cause few moves, so the report grows in time in
// proportion to its length.
TEST(AppendReportParagraph, RoomGrowsByDoublingNotByEachLine) {
    Report report;
    int moves = 0;
    const char* at = nullptr;
    std::size_t room = 0;
    for (int i = 0; i < 4000; ++i) {
        ASSERT_TRUE(report.Add("Update file", "C:\\Program Files\\App\\data\\file.dat", "OK"));
        if (report.capacity != room) {
            ++moves;
            EXPECT_GE(report.capacity, 2 * report.length) << "line " << i;
            room = report.capacity;
        } else {
            EXPECT_EQ(report.text.get(), at) << "line " << i << " moved the text without growing it";
        }
        at = report.text.get();
    }
    EXPECT_LE(moves, 20);
    EXPECT_EQ(std::strlen(report.text.get()), report.length);
}

// A report that already has text (the runtime's, found with its length and
// exactly its room) is extended from its end.
TEST(AppendReportParagraph, ExtendsATextThatIsFullToTheByte) {
    Report report;
    report.text = CopyText("Run file C:\\a.exe OK\r\n\r\n");
    report.length = std::strlen(report.text.get());
    report.capacity = report.length + 1;
    ASSERT_TRUE(report.Add("Add file", "C:\\b", "Failed"));
    EXPECT_EQ(report.Text(), "Run file C:\\a.exe OK\r\n\r\nAdd file C:\\b Failed\r\n\r\n");
}
