// Recovery of a transaction cut short: a journal left behind by a run that
// ended without finishing is undone (or, once committed, finished) by the
// next start, whatever point of each step the run had reached. The steps'
// states are made by hand here, as a killed run leaves them; the journal is
// the run's own, written and let go without being removed.
//
// Runs alone (RUN_SERIAL): it leaves journals behind on purpose, and every
// patch another test starts would recover them.
#include <gtest/gtest.h>

#include <windows.h>
#include <shlobj.h>

#include <string>
#include <vector>

#include "core/FileSwap.h"
#include "core/RegistryPriorState.h"
#include "core/TransactionJournal.h"
#include "core/neutral/TransactionPlan.h"
#include "support/TestFiles.h"

namespace {

struct Note {
    std::string what;
    std::string journal;
};
std::vector<Note> Notes;

void Record(const char* what, const char* journal, DWORD) { Notes.push_back({what, journal}); }

// A file's content, or "-" when it does not exist.
std::string State(const std::string& path) { return FileExists(path) ? ReadTestFile(path) : "-"; }

std::string Upper(std::string text) {
    if (!text.empty()) CharUpperBuffA(&text[0], static_cast<DWORD>(text.size()));
    return text;
}

// The system's list of renames at the restart, in capitals.
std::string PendingRenames() {
    HKEY session = nullptr;
    std::string pending;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SYSTEM\\CurrentControlSet\\Control\\Session Manager", 0, KEY_QUERY_VALUE,
                      &session) != ERROR_SUCCESS)
        return pending;
    DWORD bytes = 0;
    if (RegQueryValueExA(session, "PendingFileRenameOperations", nullptr, nullptr, nullptr, &bytes) == ERROR_SUCCESS &&
        bytes > 0) {
        pending.resize(bytes);
        RegQueryValueExA(session, "PendingFileRenameOperations", nullptr, nullptr, reinterpret_cast<BYTE*>(&pending[0]),
                         &bytes);
    }
    RegCloseKey(session);
    return Upper(pending);
}

class TransactionRecovery : public ::testing::Test {
protected:
    TransactionRecovery() : scratch_("transaction recovery") {
        Notes.clear();
        // Nothing of an earlier test may be recovered by this one.
        RecoverInterruptedRuns(SystemSwapPlatform(), Record);
        Notes.clear();
    }

    std::string Path(const std::string& name) const { return scratch_ / name; }

    // Writes the plan as the run does, then lets the journal go as a killed
    // run would: closed, not removed. Returns its path.
    std::string LeaveJournal(const std::vector<PlanStep>& steps, const ByteBuffer* registry = nullptr) {
        ByteBuffer body;
        AppendPlanHeader(body, static_cast<uint32_t>(steps.size()));
        for (const PlanStep& step : steps) AppendPlanStep(body, step);
        AppendPlanRegistry(body, registry ? registry->Data() : nullptr, registry ? registry->Size() : 0);
        ByteBuffer sealed;
        SealJournal(body, sealed);
        TransactionJournal journal;
        EXPECT_EQ(journal.Write(sealed), 1);
        return journal.Path();
    }

    ScratchFolder scratch_;
};

// One replaced file in each state a killed run can leave it in, and what the
// next start makes of it: always the old version, nothing else left.
TEST_F(TransactionRecovery, EveryStateOfAReplacementIsUndone) {
    struct Row {
        const char* name;
        StepKind kind;
        const char* target;  // content before recovery, "-" absent; "LINK" a second name of the old version
        const char* aside;
        const char* staged;
    };
    const Row rows[] = {
        {"not begun", StepKind::Replace, "OLD", "", "NEW"},  // the aside name is an empty reservation
        {"not begun, reservation gone", StepKind::Replace, "OLD", "-", "NEW"},
        {"old version aside", StepKind::Replace, "-", "OLD", "NEW"},
        {"new version in place", StepKind::Replace, "NEW", "OLD", "-"},
        // Where the volume has hard links, the old version's reserved name
        // is made a second name of the target, and the new version is
        // renamed over the target.
        {"second name made", StepKind::Replace, "OLD", "LINK", "NEW"},
        {"second name made, new version in place", StepKind::Replace, "NEW", "OLD", "-"},
        {"deleted", StepKind::Replace, "-", "OLD", nullptr},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const std::string target = Path("app.dll"), aside = Path("QVR1.tmp"), staged = Path("QVR2.tmp");
        for (const auto& [path, content] :
             {std::pair{target, row.target}, {aside, row.aside}, {staged, row.staged ? row.staged : "-"}}) {
            DeleteFileA(path.c_str());
            if (std::string(content) == "LINK")
                ASSERT_TRUE(CreateHardLinkA(path.c_str(), target.c_str(), nullptr));
            else if (std::string(content) != "-")
                WriteTestFile(path, content);
        }
        // The old version keeps its attributes when only its second name goes.
        if (std::string(row.aside) == "LINK") SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_HIDDEN);
        const std::string journal =
            LeaveJournal({PlanStep{row.kind, target.c_str(), aside.c_str(), row.staged ? staged.c_str() : nullptr}});

        EXPECT_EQ(RecoverInterruptedRuns(SystemSwapPlatform(), Record), RecoveryOutcome::Recovered);
        EXPECT_EQ(State(target), "OLD");
        EXPECT_EQ(State(aside), "-");
        EXPECT_EQ(State(staged), "-");
        if (std::string(row.aside) == "LINK") {
            EXPECT_TRUE(GetFileAttributesA(target.c_str()) & FILE_ATTRIBUTE_HIDDEN);
            SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_NORMAL);
        }
        EXPECT_FALSE(FileExists(journal));
        ASSERT_EQ(Notes.size(), 1u);
        EXPECT_EQ(Notes[0].what, "rolled back");
        EXPECT_EQ(Notes[0].journal, journal);
        Notes.clear();
    }
}

// Adds, deletes and created folders, in one plan, undone in reverse: the
// added file goes before the folder made for it.
TEST_F(TransactionRecovery, AddsDeletesAndFoldersAreUndoneInReverse) {
    const std::string folder = Path("plugins"), added = Path("plugins\\new.txt"), addedStaged = Path("plugins\\QVR3.tmp");
    const std::string deleted = Path("old.txt"), deletedAside = Path("QVR4.tmp");
    const std::string pending = Path("notyet.txt"), pendingStaged = Path("QVR5.tmp");
    CreateDirectoryA(folder.c_str(), nullptr);
    WriteTestFile(added, "ADDED");       // the added file is in place
    WriteTestFile(deletedAside, "GONE");  // the deleted file stepped aside
    WriteTestFile(pendingStaged, "LATER");  // an add that was not reached
    const std::string journal = LeaveJournal({
        PlanStep{StepKind::CreatedFolder, folder.c_str(), nullptr, nullptr},
        PlanStep{StepKind::Replace, added.c_str(), nullptr, addedStaged.c_str()},
        PlanStep{StepKind::Replace, deleted.c_str(), deletedAside.c_str(), nullptr},
        PlanStep{StepKind::Replace, pending.c_str(), nullptr, pendingStaged.c_str()},
    });

    EXPECT_EQ(RecoverInterruptedRuns(SystemSwapPlatform(), Record), RecoveryOutcome::Recovered);
    EXPECT_EQ(State(added), "-");
    EXPECT_EQ(GetFileAttributesA(folder.c_str()), INVALID_FILE_ATTRIBUTES) << "the created folder is removed";
    EXPECT_EQ(State(deleted), "GONE");
    EXPECT_EQ(State(deletedAside), "-");
    EXPECT_EQ(State(pending), "-");
    EXPECT_EQ(State(pendingStaged), "-");
    EXPECT_FALSE(FileExists(journal));
}

// A run whose every step was committed had only its clearing up left: the
// next start finishes it (the new version stays, the old one goes).
TEST_F(TransactionRecovery, ACommittedRunIsFinishedNotUndone) {
    const std::string target = Path("app.dll"), aside = Path("QVR6.tmp");
    WriteTestFile(target, "NEW");
    WriteTestFile(aside, "OLD");
    std::string journal = LeaveJournal({PlanStep{StepKind::Replace, target.c_str(), aside.c_str(), nullptr}});
    const std::string committed = journal + ".end";
    ASSERT_TRUE(MoveFileA(journal.c_str(), committed.c_str()));

    EXPECT_EQ(RecoverInterruptedRuns(SystemSwapPlatform(), Record), RecoveryOutcome::Recovered);
    EXPECT_EQ(State(target), "NEW");
    EXPECT_EQ(State(aside), "-");
    EXPECT_FALSE(FileExists(committed));
    ASSERT_EQ(Notes.size(), 1u);
    EXPECT_EQ(Notes[0].what, "finished");
}

// Prepared files and old versions wait in staging folders beside their
// targets; whether the run is undone or finished, the folders go after the
// files in them, and the targets end old or new.
TEST_F(TransactionRecovery, StagingFoldersGoAfterTheirFiles) {
    for (const bool committed : {false, true}) {
        SCOPED_TRACE(committed ? "committed" : "cut short");
        const std::string staging = Path("QVR10.tmp"), target = Path("app.dll"), added = Path("new.dll");
        const std::string aside = Path("QVR10.tmp\\QVR11.tmp"), staged = Path("QVR10.tmp\\QVR12.tmp");
        const std::string addedStaged = Path("QVR10.tmp\\QVR13.tmp");
        CreateDirectoryA(staging.c_str(), nullptr);
        // The first file is committed, the added one is not yet.
        WriteTestFile(target, "NEW");
        WriteTestFile(aside, "OLD");
        WriteTestFile(addedStaged, "ADDED");
        std::string journal = LeaveJournal({
            PlanStep{StepKind::StagingFolder, staging.c_str(), nullptr, nullptr},
            PlanStep{StepKind::Replace, target.c_str(), aside.c_str(), staged.c_str()},
            PlanStep{StepKind::Replace, added.c_str(), nullptr, addedStaged.c_str()},
        });
        if (committed) {
            // Every step done: the added file is in place as well.
            ASSERT_TRUE(MoveFileA(addedStaged.c_str(), added.c_str()));
            ASSERT_TRUE(MoveFileA(journal.c_str(), (journal + ".end").c_str()));
        }

        EXPECT_EQ(RecoverInterruptedRuns(SystemSwapPlatform(), Record), RecoveryOutcome::Recovered);
        EXPECT_EQ(State(target), committed ? "NEW" : "OLD");
        EXPECT_EQ(State(added), committed ? "ADDED" : "-");
        EXPECT_EQ(GetFileAttributesA(staging.c_str()), INVALID_FILE_ATTRIBUTES) << "the staging folder is left";
        ASSERT_EQ(Notes.size(), 1u);
        EXPECT_EQ(Notes[0].what, committed ? "finished" : "rolled back");
        Notes.clear();
        DeleteFileA(target.c_str());
        DeleteFileA(added.c_str());
    }
}

// A journal whose write was cut short means the run changed nothing yet: it
// is removed, and the files it names are left alone. One still held by its
// run belongs to a run in progress and is not touched at all.
TEST_F(TransactionRecovery, IncompleteJournalsAreRemovedAndLiveOnesLeftAlone) {
    const std::string target = Path("app.dll"), aside = Path("QVR7.tmp"), staged = Path("QVR8.tmp");
    WriteTestFile(target, "NEW");  // would be undone if the journal counted
    WriteTestFile(aside, "OLD");
    const std::string journal =
        LeaveJournal({PlanStep{StepKind::Replace, target.c_str(), aside.c_str(), staged.c_str()}});
    const std::string whole = ReadTestFile(journal);
    WriteTestFile(journal, whole.substr(0, whole.size() - 1));

    EXPECT_EQ(RecoverInterruptedRuns(SystemSwapPlatform(), Record), RecoveryOutcome::Recovered);
    EXPECT_FALSE(FileExists(journal));
    EXPECT_EQ(State(target), "NEW");
    EXPECT_EQ(State(aside), "OLD");
    ASSERT_EQ(Notes.size(), 1u);
    EXPECT_EQ(Notes[0].what, "removed an incomplete journal");
    Notes.clear();

    ByteBuffer body;
    AppendPlanHeader(body, 1);
    AppendPlanStep(body, PlanStep{StepKind::Replace, target.c_str(), aside.c_str(), staged.c_str()});
    AppendPlanRegistry(body, nullptr, 0);
    ByteBuffer sealed;
    SealJournal(body, sealed);
    TransactionJournal live;
    ASSERT_EQ(live.Write(sealed), 1);
    EXPECT_EQ(RecoverInterruptedRuns(SystemSwapPlatform(), Record), RecoveryOutcome::Nothing);
    EXPECT_TRUE(FileExists(live.Path()));
    EXPECT_EQ(State(target), "NEW");
    EXPECT_TRUE(Notes.empty());
    live.Remove();
}

// A journal in the user's own folder could have been planted by any program
// of the user: a run with the administrators' rights (as every run under
// Wine is) neither acts on it nor removes it.
TEST_F(TransactionRecovery, AnAdministratorsRunLeavesJournalsInTheUsersFolderAlone) {
    const std::string victim = Path("system.dll"), planted = Path("QVRA.tmp");
    WriteTestFile(victim, "SYSTEM FILE");
    WriteTestFile(planted, "ATTACKER");
    ByteBuffer body;
    AppendPlanHeader(body, 1);
    // "Undoing" this step would put the planted file in the victim's place.
    AppendPlanStep(body, PlanStep{StepKind::Replace, victim.c_str(), planted.c_str(), nullptr});
    AppendPlanRegistry(body, nullptr, 0);
    ByteBuffer sealed;
    SealJournal(body, sealed);
    char local[MAX_PATH] = {};
    ASSERT_TRUE(SHGetSpecialFolderPathA(nullptr, local, CSIDL_LOCAL_APPDATA, TRUE));
    const std::string folder = std::string(local) + "\\Zuli\\Transactions";
    CreateDirectoryA((std::string(local) + "\\Zuli").c_str(), nullptr);
    CreateDirectoryA(folder.c_str(), nullptr);
    const std::string journal = folder + "\\ZTJ9999.tmp";
    WriteTestFile(journal, std::string(reinterpret_cast<const char*>(sealed.Data()), sealed.Size()));

    EXPECT_EQ(RecoverInterruptedRuns(SystemSwapPlatform(), Record), RecoveryOutcome::Nothing);
    EXPECT_EQ(State(victim), "SYSTEM FILE");
    EXPECT_EQ(State(planted), "ATTACKER");
    EXPECT_TRUE(FileExists(journal));
    EXPECT_TRUE(Notes.empty());
    DeleteFileA(journal.c_str());
}

// The registry comes back from the records in the journal, and a rename the
// run had scheduled for the restart is taken off the system's list.
TEST_F(TransactionRecovery, RegistryAndRestartRenamesAreUndone) {
    const char subkey[] = "Software\\ZuliTest\\Recovery";
    RegDeleteKeyA(HKEY_CURRENT_USER, subkey);
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, subkey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    RegSetValueExA(key, "Version", 0, REG_SZ, reinterpret_cast<const BYTE*>("1.0"), 4);
    ByteBuffer records;
    ASSERT_EQ(CaptureValueState(records, 0x80000001u, subkey, "Version"), 1);
    RegSetValueExA(key, "Version", 0, REG_SZ, reinterpret_cast<const BYTE*>("1.1"), 4);

    const std::string target = Path("busy.dll"), staged = Path("QVR9.tmp");
    WriteTestFile(target, "OLD");
    WriteTestFile(staged, "NEW");
    const SwapPlatform platform = SystemSwapPlatform();
    ASSERT_TRUE(ScheduleRenameAtRestart(staged.c_str(), target.c_str(), platform));
    ASSERT_NE(PendingRenames().find(Upper(staged)), std::string::npos) << "the system's list names the rename";
    LeaveJournal({PlanStep{StepKind::ReplaceAtRestart, target.c_str(), nullptr, staged.c_str()}}, &records);

    EXPECT_EQ(RecoverInterruptedRuns(platform, Record), RecoveryOutcome::Recovered);
    char value[16] = {};
    DWORD size = sizeof value;
    EXPECT_EQ(RegQueryValueExA(key, "Version", nullptr, nullptr, reinterpret_cast<BYTE*>(value), &size), ERROR_SUCCESS);
    EXPECT_STREQ(value, "1.0");
    RegCloseKey(key);
    RegDeleteKeyA(HKEY_CURRENT_USER, subkey);
    EXPECT_EQ(State(target), "OLD");
    EXPECT_EQ(State(staged), "-");

    EXPECT_EQ(PendingRenames().find(Upper(staged)), std::string::npos) << "still pending";
}

// The machine's journal folder admits administrators and the system, and lets
// users see only which journals exist: its access list is protected (nothing
// inherited from the folder above, where users may create folders). Wine
// keeps no access lists on folders, so the descriptor the folder is created
// with is what is checked.
TEST(TransactionJournalFolder, IsForAdministratorsAndTheSystem) {
    void* descriptor = const_cast<void*>(MachineJournalFolderSecurity());
    ASSERT_TRUE(IsValidSecurityDescriptor(descriptor));
    SECURITY_DESCRIPTOR_CONTROL control = 0;
    DWORD revision = 0;
    ASSERT_TRUE(GetSecurityDescriptorControl(descriptor, &control, &revision));
    EXPECT_TRUE(control & SE_DACL_PROTECTED);
    EXPECT_TRUE(control & SE_SELF_RELATIVE);
    BOOL present = FALSE, defaulted = FALSE;
    PACL acl = nullptr;
    ASSERT_TRUE(GetSecurityDescriptorDacl(descriptor, &present, &acl, &defaulted));
    ASSERT_TRUE(present && acl);
    ASSERT_TRUE(IsValidAcl(acl));
    struct Expected {
        WELL_KNOWN_SID_TYPE sid;
        BYTE flags;
        DWORD mask;
    };
    const BYTE inherited = OBJECT_INHERIT_ACE | CONTAINER_INHERIT_ACE;
    const Expected expected[] = {
        {WinLocalSystemSid, inherited, FILE_ALL_ACCESS},
        {WinBuiltinAdministratorsSid, inherited, FILE_ALL_ACCESS},
        {WinBuiltinUsersSid, 0,
         FILE_LIST_DIRECTORY | FILE_READ_EA | FILE_TRAVERSE | FILE_READ_ATTRIBUTES | READ_CONTROL | SYNCHRONIZE}};
    ASSERT_EQ(acl->AceCount, 3);
    for (DWORD i = 0; i < acl->AceCount; ++i) {
        ACCESS_ALLOWED_ACE* ace = nullptr;
        ASSERT_TRUE(GetAce(acl, i, reinterpret_cast<void**>(&ace)));
        EXPECT_EQ(ace->Header.AceType, ACCESS_ALLOWED_ACE_TYPE);
        EXPECT_EQ(ace->Header.AceFlags, expected[i].flags) << "entry " << i;
        EXPECT_TRUE(IsWellKnownSid(&ace->SidStart, expected[i].sid)) << "entry " << i;
        EXPECT_EQ(ace->Mask, expected[i].mask) << "entry " << i;
    }
}

}  // namespace
