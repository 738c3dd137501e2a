// Numbered resources of the running module and the texts built from them.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "core/ResourceIds.h"
#include "core/Resources.h"
#include "core/RunState.h"

namespace {

TEST(Resources, LoadByNumberAndAbsentGivesNull) {
    EXPECT_NE(LoadResourceData(ResPatchTitle), nullptr);
    EXPECT_EQ(LoadResourceData(4242), nullptr);
    EXPECT_EQ(ResourceText(4242), nullptr);
    EXPECT_EQ(ResourceSize(ResIntroCaption), 7u);
    const auto* size = static_cast<const unsigned char*>(LoadResourceData(ResFontPointSize));
    ASSERT_NE(size, nullptr);
    EXPECT_EQ(size[0] | (size[1] << 8), 9) << "a number is 16-bit little-endian";
}

TEST(Resources, TextEndsAtZeroOrAtEndOfData) {
    EXPECT_STREQ(ResourceText(ResPatchTitle), "Demo Patch");
    // Stored without terminator: shown whole and nothing after it.
    EXPECT_STREQ(ResourceText(ResIntroCaption), "Welcome");
    EXPECT_EQ(ResourceText(ResIntroCaption), ResourceText(ResIntroCaption)) << "the terminated copy is made once";
}

TEST(Resources, TextWithoutTerminatorStopsBeforeTheNextResource) {
    // An odd-length text gets a zero pad byte from the linker, which would
    // hide a read past the end; an even-length one is followed directly by
    // the next resource's data.
    ASSERT_EQ(ResourceSize(ResInfoCaption), 8u);
    const auto* stored = static_cast<const char*>(LoadResourceData(ResInfoCaption));
    ASSERT_NE(stored, nullptr);
    ASSERT_NE(stored[8], '\0') << "the fixture needs data right behind the text";
    EXPECT_STREQ(ResourceText(ResInfoCaption), "Overview");
}

TEST(Resources, PlainResourceReplacesStoredData) {
    const char plain[] = "plain text";
    ASSERT_TRUE(SetPlainResource(ResAgreementBody, plain, sizeof plain));
    EXPECT_STREQ(ResourceText(ResAgreementBody), "plain text");
    EXPECT_EQ(ResourceSize(ResAgreementBody), sizeof plain);
    const unsigned char table[14] = {1, 1, 0, 1};
    ASSERT_TRUE(SetPlainResource(ResPageTable, table, sizeof table));
    EXPECT_EQ(memcmp(LoadResourceData(ResPageTable), table, sizeof table), 0);
}

class WindowTextTest : public ::testing::Test {
protected:
    void SetUp() override {
        window = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 100, 100, nullptr, nullptr, nullptr, nullptr);
        ASSERT_NE(window, nullptr);
        child = CreateWindowExA(0, "STATIC", "", WS_CHILD, 0, 0, 10, 10, window,
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(1014)), nullptr, nullptr);
        ASSERT_NE(child, nullptr);
    }
    void TearDown() override { DestroyWindow(window); }
    static std::string TextOf(HWND w) {
        char text[256] = {};
        GetWindowTextA(w, text, sizeof text);
        return text;
    }
    HWND window = nullptr;
    HWND child = nullptr;
};

TEST_F(WindowTextTest, PageTitleIsPatchTitleDashPageText) {
    SetPageTitle(window, ResIntroCaption);
    EXPECT_EQ(TextOf(window), "Demo Patch - Welcome");
}

TEST_F(WindowTextTest, ControlTextComesFromTheResource) {
    SetControlText(window, 1014, 201);
    EXPECT_EQ(TextOf(child), "XYZ");
}

TEST(ComposeError, LayoutUsesBareLineFeedsAndRunsLabelIntoPath) {
    struct Case {
        unsigned first, second, last;
        const char* path;
        const char* expected;
    } cases[] = {
        {ResErrMissingPrefix, 0, ResErrChooseAgain, "C:\\App\\a.exe",
         "Missing file: \nC:\\App\\a.exe\nChoose the folder again?"},
        {ResErrRequiredMissing, ResErrMissingPrefix, ResErrChooseAgain, "C:\\App\\a.exe",
         "Required entry.\nMissing file: C:\\App\\a.exe\nChoose the folder again?"},
        {ResErrChooseAgain, 0, 0, "", "Choose the folder again?\n\n"},
    };
    for (const Case& c : cases) {
        const char* text = ComposeError(c.first, c.second, c.path, c.last);
        ASSERT_NE(text, nullptr);
        EXPECT_STREQ(text, c.expected);
        EXPECT_EQ(text, RunState.ErrorText.get()) << "the result is the new ErrorText";
    }
}

}  // namespace
