// The guide's table of text numbers and the builder's default texts are one
// fact in two places: every text number with its page and default must read
// the same in both.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "project/DefaultTexts.h"
#include "support/TestFiles.h"

namespace {

struct DocRow {
    std::string page, where, text;
};

std::vector<std::string> Cells(const std::string& line) {
    std::vector<std::string> cells;
    std::string cell;
    for (std::size_t i = 1; i < line.size(); ++i) {
        if (line[i] == '\\' && i + 1 < line.size() && line[i + 1] == '|') {
            cell += '|';
            ++i;
        } else if (line[i] == '|') {
            std::size_t first = cell.find_first_not_of(' '), last = cell.find_last_not_of(' ');
            cells.push_back(first == std::string::npos ? std::string() : cell.substr(first, last - first + 1));
            cell.clear();
        } else {
            cell += line[i];
        }
    }
    return cells;
}

// The rows of section 10, by text number.
std::map<unsigned, DocRow> GuideRows() {
    std::string guide = ReadTestFile(std::string(ZULI_SOURCE_DIR_WINE) + "/docs/authoring.md");
    std::map<unsigned, DocRow> rows;
    std::size_t at = guide.find("## 10. Text numbers");
    if (at == std::string::npos) return rows;
    while ((at = guide.find("\n| ", at)) != std::string::npos) {
        std::size_t end = guide.find('\n', at + 1);
        std::vector<std::string> cells = Cells(guide.substr(at + 1, end - at - 1));
        at = end;
        if (cells.size() != 4 || cells[0].empty() || cells[0].find_first_not_of("0123456789") != std::string::npos)
            continue;
        rows[static_cast<unsigned>(std::stoul(cells[0]))] = {cells[1], cells[2], cells[3]};
    }
    return rows;
}

// "`text`" or "`"text"`" with \n for a line break, as the guide writes a default.
std::string GuideText(const std::string& cell) {
    if (cell.size() < 2 || cell.front() != '`' || cell.back() != '`') return "(not a quoted default: " + cell + ")";
    std::string text = cell.substr(1, cell.size() - 2);
    if (text.size() >= 2 && text.front() == '"' && text.back() == '"') text = text.substr(1, text.size() - 2);
    std::string expanded;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\\' && i + 1 < text.size() && text[i + 1] == 'n') {
            expanded += "\r\n";
            ++i;
        } else {
            expanded += text[i];
        }
    }
    return expanded;
}

}  // namespace

TEST(DefaultTexts, GuideListsEveryTextWithItsPageAndDefault) {
    std::map<unsigned, DocRow> rows = GuideRows();
    ASSERT_FALSE(rows.empty()) << "no table found under \"## 10. Text numbers\"";
    unsigned count = 0;
    const DefaultText* texts = AllDefaultTexts(count);
    for (unsigned i = 0; i < count; ++i) {
        const DefaultText& text = texts[i];
        auto row = rows.find(text.id);
        ASSERT_NE(row, rows.end()) << "text " << text.id << " is not in the guide";
        std::string page = text.page == 0 ? "any" : std::to_string(text.page);
        EXPECT_EQ(row->second.page.substr(0, page.size()), page) << "text " << text.id;
        EXPECT_EQ(row->second.where, text.control) << "text " << text.id;
        if (text.text)
            EXPECT_EQ(GuideText(row->second.text), text.text) << "text " << text.id;
        else
            EXPECT_EQ(row->second.text.rfind("none", 0), 0u) << "text " << text.id << ": " << row->second.text;
        rows.erase(row);
    }
    // Besides the defaults, the guide lists only the title.
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows.begin()->first, 1u);
}
