// The builder fills the runtime's numbered resources: its resource table,
// its default texts and what a build writes must match the runtime's
// catalogue (core/ResourceIds.h) exactly, every resource the runtime reads
// and no other number.
#include <gtest/gtest.h>

#include <windows.h>

#include <set>
#include <string>
#include <vector>

#include "build/BuildCommand.h"
#include "core/ResourceIds.h"
#include "project/DefaultTexts.h"
#include "project/ResourceTable.h"
#include "support/TestFiles.h"

namespace {

std::set<unsigned> Catalogue() { return std::set<unsigned>(std::begin(kAllResourceIds), std::end(kAllResourceIds)); }

// The resources a patch may leave out; everything else it must carry.
const std::set<unsigned> kOptional = {ResUnusedWord, ResUnusedOkLabel, ResTransactionSetting, ResBackupCompanion,
                                      ResBusyCursorName, ResLinkCursorName};

std::string Listed(const std::set<unsigned>& ids) {
    std::string text;
    for (unsigned id : ids) text += " " + std::to_string(id);
    return text;
}

BOOL CALLBACK CollectId(HMODULE, LPCSTR, LPSTR name, LONG_PTR context) {
    if (IS_INTRESOURCE(name))
        reinterpret_cast<std::set<unsigned>*>(context)->insert(static_cast<unsigned>(reinterpret_cast<ULONG_PTR>(name)));
    return TRUE;
}

// The RT_RCDATA numbers of the program at `path`.
std::set<unsigned> DataResourceIds(const std::string& path) {
    std::set<unsigned> ids;
    HMODULE module = LoadLibraryExA(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (!module) return ids;
    EnumResourceNamesA(module, MAKEINTRESOURCEA(10) /* RT_RCDATA */, CollectId, reinterpret_cast<LONG_PTR>(&ids));
    FreeLibrary(module);
    return ids;
}

}  // namespace

TEST(BuilderCatalogue, ResourceTableListsEveryResourceOfTheRuntimeOnce) {
    unsigned count = 0;
    const ResourceInfo* table = AllResourceInfo(count);
    std::set<unsigned> listed;
    for (unsigned i = 0; i < count; ++i) {
        EXPECT_TRUE(listed.insert(table[i].id).second) << "resource " << table[i].id << " is listed twice";
        EXPECT_EQ(FindResourceInfo(table[i].id), &table[i]) << "resource " << table[i].id;
    }
    EXPECT_EQ(listed, Catalogue()) << "the builder's table:" << Listed(listed) << "\nthe runtime's:" << Listed(Catalogue());
    for (unsigned id : kOptional) {
        ASSERT_NE(FindResourceInfo(id), nullptr) << id;
        EXPECT_FALSE(FindResourceInfo(id)->required) << "resource " << id << " is optional";
    }
    for (unsigned id : {0u, 2u, 31u, 3009u, 4000u}) EXPECT_EQ(FindResourceInfo(id), nullptr) << id;
}

// Every text a patch must carry has a default, but the title and the font
// face, which the manifest gives; no other number has one.
TEST(BuilderCatalogue, DefaultTextsCoverEveryRequiredTextButTitleAndFontFace) {
    unsigned count = 0;
    const DefaultText* texts = AllDefaultTexts(count);
    std::set<unsigned> withDefault;
    for (unsigned i = 0; i < count; ++i) {
        EXPECT_TRUE(withDefault.insert(texts[i].id).second) << "text " << texts[i].id << " has two defaults";
        EXPECT_EQ(FindDefaultText(texts[i].id), &texts[i]) << texts[i].id;
    }
    std::set<unsigned> expected;
    unsigned resources = 0;
    const ResourceInfo* table = AllResourceInfo(resources);
    for (unsigned i = 0; i < resources; ++i)
        if (table[i].form == ResourceForm::Text && table[i].required && table[i].id != ResPatchTitle &&
            table[i].id != ResFontFace)
            expected.insert(table[i].id);
    EXPECT_EQ(withDefault, expected) << "with a default:" << Listed(withDefault) << "\nneeding one:" << Listed(expected);
}

// A whole build: the patch carries exactly the catalogue, without the
// optional resources unless the manifest gives them.
TEST(BuilderCatalogue, APatchCarriesExactlyTheResourcesTheRuntimeReads) {
    struct Case {
        const char* what;
        std::string settings;  // more [Settings] lines
        std::string extra;     // manifest lines after [Texts] 1
        std::string files;     // more files to pack
        std::set<unsigned> expected;
    } cases[] = {
        {"only what a patch must give", "", "", "", {}},
        {"every optional resource given too", "Transaction=1\r\n",
         "112=OK\r\n[Data]\r\n111=1,2\r\n[Cursors]\r\nBusy=busy.cur\r\nLink=link.cur\r\n[Backup]\r\nEnabled=1\r\n",
         ",busy.cur,link.cur", {}},
    };
    // The builder runs in this test program here: the backup companion it
    // packs lies beside it, as beside zulibuild.exe.
    ASSERT_TRUE(CopyFileA((std::string(ZULI_DIST_DIR_WINE) + "/zuliundo.exe").c_str(),
                          (ExecutableFolder() + "zuliundo.exe").c_str(), FALSE));
    for (unsigned id : Catalogue())
        if (!kOptional.count(id)) cases[0].expected.insert(id);
    cases[1].expected = Catalogue();

    for (const Case& c : cases) {
        ScratchFolder project("builder catalogue");
        WriteTestFile(project / "Setup.ini", "[Setup]\r\nProcCount=0\r\n");
        WriteTestFile(project / "busy.cur", "busy cursor");
        WriteTestFile(project / "link.cur", "link cursor");
        // The author page is off: its texts, which have no default, are
        // stored empty.
        WriteTestFile(project / "patch.ini", "[Settings]\r\nPageTable=1,1,1,1,1,1,1,1,1,1,0,1,1,0\r\n"
                                             "OptionDefaults=0,0,0\r\nStartGate=1\r\n" + c.settings +
                                             "[Font]\r\nFace=Tahoma\r\nSize=8\r\n"
                                             "[Cabinet]\r\nFiles=Setup.ini" + c.files + "\r\n"
                                             "[Texts]\r\n1=Catalogue Test\r\n" + c.extra);
        std::string output = project / "patch.exe";
        ASSERT_EQ(RunBuild(ExecutableFolder() + "resource_dump.exe", project.Path(), output), 0) << c.what;
        std::set<unsigned> written = DataResourceIds(output);
        EXPECT_EQ(written, c.expected) << c.what << "\nwritten:" << Listed(written) << "\nexpected:"
                                       << Listed(c.expected);
    }
}
