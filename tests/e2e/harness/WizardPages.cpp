#include "harness/WizardPages.h"

#include <gtest/gtest.h>

#include <set>
#include <utility>
#include <vector>

#include "harness/Driver.h"

namespace {

// Every control of the dialog that a page may show or hide.
const int kPageControls[] = {1000, 1002, 1003, 1009, 1010, 1011, 1013, 1014, 1015, 1016,
                             1017, 1024, 1027, 1028, 1029, 1030, 1031, 1032, 1033};

struct PageLook {
    int caption;
    std::set<int> shown;
    std::vector<std::pair<int, int>> texts;  // control id, resource id
};

PageLook LookOf(int page) {
    switch (page) {
    case 1: return {200, {1000}, {{1000, 201}}};
    case 2: return {202, {1000}, {{1000, 203}}};
    case 3: return {204, {1000, 1002, 1003}, {{1000, 205}, {1002, 206}, {1003, 207}}};
    case 4:
        return {208, {1013, 1009, 1010, 1011, 1027}, {{1013, 209}, {1009, 210}, {1010, 211}, {1011, 212}, {1027, 213}}};
    case 5: return {217, {1013, 1014, 1015, 1016, 1017}, {{1013, 214}, {1014, 215}, {1017, 216}, {1016, 117}}};
    case 6: return {223, {1013, 1014, 1017, 1024}, {{1013, 224}, {1014, 3200}, {1017, 3202}}};
    case 7: return {230, {1013, 1014, 1017, 1024}, {{1013, 231}, {1014, 3201}, {1017, 3202}}};
    case 8: return {235, {1000}, {}};
    case 9: return {240, {1000}, {{1000, 241}}};
    case 10:
        return {251,
                {1013, 1014, 1028, 1029, 1030, 1031, 1032, 1033},
                {{1028, 242}, {1029, 243}, {1030, 244}, {1031, 245}, {1032, 246}, {1033, 247}, {1014, 248}, {1013, 249}}};
    default:
        return {260,
                {1013, 1014, 1028, 1029, 1030, 1031, 1032, 1033},
                {{1013, 267}, {1014, 261}, {1031, 262}, {1032, 263}, {1033, 264}, {1028, 268}, {1029, 269}, {1030, 270}}};
    }
}

}  // namespace

std::string Res(int id) { return "R" + std::to_string(id); }

std::string PageTitle(int captionId) { return Res(1) + " - " + Res(captionId); }

void ExpectButtonLabels(HWND dialog, int page) {
    EXPECT_EQ(ControlText(dialog, 1), Res(page >= 11 ? 116 : 114)) << "Next label on page " << page;
    EXPECT_EQ(ControlText(dialog, 2000), Res(page == 1 ? 113 : 115)) << "Back label on page " << page;
}

bool ExpectPage(HWND dialog, int page, const PageState& buttons, const std::string& report) {
    int failuresBefore = ::testing::UnitTest::GetInstance()->current_test_info()->result()->total_part_count();
    PageLook look = LookOf(page);
    EXPECT_EQ(WindowText(dialog), PageTitle(look.caption)) << "title of page " << page;
    for (int id : kPageControls) {
        bool expected = look.shown.count(id) != 0;
        EXPECT_EQ(ControlVisible(dialog, id), expected)
            << "control " << id << " on page " << page << " should be " << (expected ? "shown" : "hidden");
    }
    for (const auto& text : look.texts)
        EXPECT_EQ(ControlText(dialog, text.first), Res(text.second))
            << "text of control " << text.first << " on page " << page;
    if (page == 8) {
        EXPECT_EQ(ControlText(dialog, 1000), report) << "report on page 8";
    }
    EXPECT_TRUE(ControlVisible(dialog, 1)) << "Next on page " << page;
    EXPECT_TRUE(ControlVisible(dialog, 1034)) << "side image on page " << page;
    EXPECT_EQ(ControlEnabled(dialog, 1), buttons.nextEnabled) << "Next enabled on page " << page;
    EXPECT_EQ(ControlVisible(dialog, 2000), buttons.backVisible) << "Back shown on page " << page;
    if (buttons.backVisible) {
        EXPECT_EQ(ControlEnabled(dialog, 2000), buttons.backEnabled) << "Back enabled on page " << page;
    }
    ExpectButtonLabels(dialog, page);
    int failuresAfter = ::testing::UnitTest::GetInstance()->current_test_info()->result()->total_part_count();
    return failuresAfter == failuresBefore;
}
