// The trust in a backup folder ("store"): the judgement on the owner and
// access list a folder has, on descriptors made for each case; the same on
// real folders (a link among them); and the access list the backup
// companion makes a store with. Wine keeps no access lists on folders (it
// makes one up from the host's file modes), so what a store is created with
// is checked on the descriptor as built.
#include <gtest/gtest.h>

#include <windows.h>
#include <sddl.h>

#include <string>

#include "core/BackupStoreSafety.h"
#include "support/TestFiles.h"

namespace {

// The accounts a judgement trusts here: SYSTEM, Administrators and a user
// of the test's own making, as the running user.
const char kUser[] = "S-1-5-21-7-7-7-1000";
const char kOtherUser[] = "S-1-5-21-1-2-3-1001";

class Sid {
public:
    explicit Sid(const std::string& text) { ConvertStringSidToSidA(text.c_str(), &sid_); }
    ~Sid() { LocalFree(sid_); }
    Sid(const Sid&) = delete;
    Sid& operator=(const Sid&) = delete;
    PSID get() const { return sid_; }

private:
    PSID sid_ = nullptr;
};

class Descriptor {
public:
    explicit Descriptor(const std::string& sddl) {
        ConvertStringSecurityDescriptorToSecurityDescriptorA(sddl.c_str(), SDDL_REVISION_1, &descriptor_, nullptr);
    }
    ~Descriptor() { LocalFree(descriptor_); }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    PSECURITY_DESCRIPTOR get() const { return descriptor_; }

private:
    PSECURITY_DESCRIPTOR descriptor_ = nullptr;
};

class Judge {
public:
    // "" for no descriptor at all.
    StoreVerdict operator()(DWORD attributes, const std::string& sddl) const {
        if (sddl.empty()) return (*this)(attributes, nullptr);
        Descriptor descriptor(sddl);
        EXPECT_TRUE(descriptor.get()) << "the test's descriptor " << sddl;
        return (*this)(attributes, descriptor.get());
    }
    StoreVerdict operator()(DWORD attributes, PSECURITY_DESCRIPTOR descriptor) const {
        return JudgeStore(attributes, descriptor, trusted_, 3);
    }
    PSID Administrators() const { return administrators_.get(); }

private:
    Sid system_{"S-1-5-18"};
    Sid administrators_{"S-1-5-32-544"};
    Sid user_{kUser};
    const PSID trusted_[3] = {system_.get(), administrators_.get(), user_.get()};
};

constexpr DWORD kFolder = FILE_ATTRIBUTE_DIRECTORY;

struct StoreCase {
    const char* what;
    DWORD attributes;
    std::string sddl;  // "" for no descriptor at all
    StoreVerdict expected;
};

const std::string kAdministratorsOwn = "O:BAD:P(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)";

const StoreCase kStoreCases[] = {
    {"the administrators' own, as the companion makes it", kFolder, kAdministratorsOwn, StoreVerdict::Trusted},
    {"the running user's own", kFolder,
     std::string("O:") + kUser + "D:P(A;OICI;FA;;;SY)(A;OICI;FA;;;" + kUser + ")", StoreVerdict::Trusted},
    {"owned by SYSTEM, users may look", kFolder, "O:SYD:(A;;FA;;;SY)(A;OICI;0x1200a9;;;BU)(A;;0x1200a9;;;WD)",
     StoreVerdict::Trusted},
    {"an entry that denies is no risk", kFolder, "O:BAD:(D;OICI;FA;;;WD)(A;OICI;FA;;;BA)", StoreVerdict::Trusted},
    {"an empty access list admits nobody", kFolder, "O:BAD:P", StoreVerdict::Trusted},
    {"owned by another user", kFolder, std::string("O:") + kOtherUser + "D:P(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)",
     StoreVerdict::ForeignOwner},
    {"owned by Users", kFolder, "O:BUD:P(A;OICI;FA;;;BA)", StoreVerdict::ForeignOwner},
    {"owned by Everyone", kFolder, "O:WDD:P(A;OICI;FA;;;BA)", StoreVerdict::ForeignOwner},
    {"without an owner", kFolder, "D:P(A;OICI;FA;;;BA)", StoreVerdict::ForeignOwner},
    {"Users may add files", kFolder, "O:BAD:(A;OICI;FA;;;BA)(A;OICI;0x1201bf;;;BU)", StoreVerdict::OthersMayWrite},
    {"Everyone has full access", kFolder, "O:BAD:(A;OICI;FA;;;BA)(A;OICI;FA;;;WD)", StoreVerdict::OthersMayWrite},
    {"Authenticated Users may write", kFolder, "O:BAD:(A;OICI;FA;;;BA)(A;;GW;;;AU)", StoreVerdict::OthersMayWrite},
    {"another user has all rights", kFolder, std::string("O:BAD:(A;OICI;GA;;;") + kOtherUser + ")",
     StoreVerdict::OthersMayWrite},
    {"another user gets what is made in it", kFolder, std::string("O:BAD:(A;OICI;FA;;;BA)(A;OICIIO;FA;;;") +
                                                          kOtherUser + ")",
     StoreVerdict::OthersMayWrite},
    {"an entry that denies comes too late for Users", kFolder, "O:BAD:(A;;FA;;;BU)(D;;FA;;;BU)",
     StoreVerdict::OthersMayWrite},
    {"a junction or symbolic link", kFolder | FILE_ATTRIBUTE_REPARSE_POINT, kAdministratorsOwn, StoreVerdict::Link},
    {"a file", FILE_ATTRIBUTE_ARCHIVE, kAdministratorsOwn, StoreVerdict::NotAFolder},
    {"nothing there", INVALID_FILE_ATTRIBUTES, kAdministratorsOwn, StoreVerdict::NotAFolder},
    {"no descriptor", kFolder, "", StoreVerdict::Unreadable},
};

std::string Hex(DWORD value) {
    char text[16];
    wsprintfA(text, "0x%lx", value);
    return text;
}

}  // namespace

TEST(BackupStore, JudgesOwnerAccessListAndLinks) {
    Judge judge;
    for (const StoreCase& c : kStoreCases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(static_cast<int>(judge(c.attributes, c.sddl)), static_cast<int>(c.expected))
            << c.sddl << ": " << StoreVerdictReason(judge(c.attributes, c.sddl));
        EXPECT_EQ(StoreVerdictReason(c.expected)[0] == '\0', c.expected == StoreVerdict::Trusted);
    }
}

// A null access list lets everyone do everything, and so does a descriptor
// without one. Made by hand: Wine reads the text form "NO_ACCESS_CONTROL"
// as an empty list.
TEST(BackupStore, RefusesANullOrMissingAccessList) {
    Judge judge;
    SECURITY_DESCRIPTOR descriptor;
    ASSERT_TRUE(InitializeSecurityDescriptor(&descriptor, SECURITY_DESCRIPTOR_REVISION));
    ASSERT_TRUE(SetSecurityDescriptorOwner(&descriptor, judge.Administrators(), FALSE));
    EXPECT_EQ(judge(kFolder, &descriptor), StoreVerdict::NoAccessList) << "no access list at all";
    ASSERT_TRUE(SetSecurityDescriptorDacl(&descriptor, TRUE, nullptr, FALSE));
    EXPECT_EQ(judge(kFolder, &descriptor), StoreVerdict::NoAccessList) << "a null access list";
    ACL empty;
    ASSERT_TRUE(InitializeAcl(&empty, sizeof empty, ACL_REVISION));
    ASSERT_TRUE(SetSecurityDescriptorDacl(&descriptor, TRUE, &empty, FALSE));
    EXPECT_EQ(judge(kFolder, &descriptor), StoreVerdict::Trusted) << "an empty access list";
}

// Each right that changes a folder, alone: refused for Users, trusted for
// the trusted accounts; the rights that only read are no risk.
TEST(BackupStore, EveryWriteRightAloneIsRefusedToOthers) {
    Judge judge;
    const DWORD writeRights[] = {FILE_WRITE_DATA, FILE_APPEND_DATA,  FILE_WRITE_EA, FILE_WRITE_ATTRIBUTES,
                                 FILE_DELETE_CHILD, DELETE, WRITE_DAC, WRITE_OWNER, GENERIC_WRITE, GENERIC_ALL};
    for (DWORD right : writeRights) {
        SCOPED_TRACE(Hex(right));
        EXPECT_EQ(judge(kFolder, "O:BAD:(A;OICI;FA;;;BA)(A;;" + Hex(right) + ";;;BU)"), StoreVerdict::OthersMayWrite);
        EXPECT_EQ(judge(kFolder, "O:BAD:(A;;" + Hex(right) + ";;;SY)(A;;" + Hex(right) + ";;;" + kUser + ")"),
                  StoreVerdict::Trusted);
    }
    const DWORD readRights = FILE_READ_DATA | FILE_READ_EA | FILE_EXECUTE | FILE_READ_ATTRIBUTES | READ_CONTROL |
                             SYNCHRONIZE | GENERIC_READ | GENERIC_EXECUTE;
    EXPECT_EQ(judge(kFolder, "O:BAD:(A;OICI;" + Hex(readRights) + ";;;WD)"), StoreVerdict::Trusted);
}

// Folders as they are on the disk: one made with the store's own access
// list is trusted (under Wine too, where the running user owns it); a link
// to a folder, a file and nothing at all are refused.
TEST(BackupStore, JudgesRealFoldersAndRefusesALink) {
    ScratchFolder scratch("backup store");
    StoreTrust trust;
    ASSERT_TRUE(trust.Valid());
    const std::string store = scratch / "store";
    ASSERT_TRUE(CreateDirectoryA(store.c_str(), trust.NewFolder())) << GetLastError();
    EXPECT_EQ(trust.JudgeFolder(store.c_str()), StoreVerdict::Trusted);

    const std::string link = scratch / "link";
    ASSERT_TRUE(MakeFolderLink(link, store));
    EXPECT_EQ(trust.JudgeFolder(link.c_str()), StoreVerdict::Link);
    EXPECT_EQ(trust.JudgeFolder((link + "\\").c_str()), StoreVerdict::Link);

    WriteTestFile(scratch / "file", "not a folder");
    EXPECT_EQ(trust.JudgeFolder((scratch / "file").c_str()), StoreVerdict::NotAFolder);
    EXPECT_EQ(trust.JudgeFolder((scratch / "missing").c_str()), StoreVerdict::NotAFolder);
    RemoveLink(link);
}

namespace {

struct ExpectedEntry {
    PSID sid;
    const char* who;
};

void ExpectStoreAccessList(const SECURITY_DESCRIPTOR* built, const ExpectedEntry (&entries)[2]) {
    PSECURITY_DESCRIPTOR descriptor = const_cast<SECURITY_DESCRIPTOR*>(built);
    ASSERT_TRUE(IsValidSecurityDescriptor(descriptor));
    SECURITY_DESCRIPTOR_CONTROL control = 0;
    DWORD revision = 0;
    ASSERT_TRUE(GetSecurityDescriptorControl(descriptor, &control, &revision));
    EXPECT_TRUE(control & SE_DACL_PROTECTED) << "the access list takes nothing from the folder above";
    BOOL present = FALSE, defaulted = FALSE;
    PACL acl = nullptr;
    ASSERT_TRUE(GetSecurityDescriptorDacl(descriptor, &present, &acl, &defaulted));
    ASSERT_TRUE(present && acl);
    ASSERT_TRUE(IsValidAcl(acl));
    ASSERT_EQ(acl->AceCount, 2);
    for (DWORD i = 0; i < acl->AceCount; ++i) {
        SCOPED_TRACE(entries[i].who);
        ACCESS_ALLOWED_ACE* ace = nullptr;
        ASSERT_TRUE(GetAce(acl, i, reinterpret_cast<void**>(&ace)));
        EXPECT_EQ(ace->Header.AceType, ACCESS_ALLOWED_ACE_TYPE);
        EXPECT_EQ(ace->Header.AceFlags, OBJECT_INHERIT_ACE | CONTAINER_INHERIT_ACE);
        EXPECT_EQ(ace->Mask, static_cast<DWORD>(FILE_ALL_ACCESS));
        EXPECT_TRUE(EqualSid(&ace->SidStart, entries[i].sid));
    }
}

}  // namespace

// What a store is made with: SYSTEM and Administrators, or in a per-user
// run SYSTEM and the running user, all access, inherited, protected; and
// the accounts trusted in every run are SYSTEM, Administrators and the
// running user.
TEST(BackupStore, IsMadeForAdministratorsOrTheUserAlone) {
    HANDLE token = nullptr;
    ASSERT_TRUE(OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token));
    DWORD buffer[128];
    DWORD size = 0;
    ASSERT_TRUE(GetTokenInformation(token, TokenUser, buffer, sizeof buffer, &size));
    CloseHandle(token);
    const PSID user = reinterpret_cast<TOKEN_USER*>(buffer)->User.Sid;
    Sid system("S-1-5-18");
    Sid administrators("S-1-5-32-544");

    StoreTrust administrator(StoreRun::Administrator);
    ASSERT_TRUE(administrator.Valid());
    EXPECT_TRUE(administrator.Administrator());
    ExpectStoreAccessList(administrator.Descriptor(), {{system.get(), "SYSTEM"}, {administrators.get(), "Administrators"}});

    StoreTrust perUser(StoreRun::PerUser);
    ASSERT_TRUE(perUser.Valid());
    EXPECT_FALSE(perUser.Administrator());
    ExpectStoreAccessList(perUser.Descriptor(), {{system.get(), "SYSTEM"}, {user, "the running user"}});

    for (const StoreTrust* trust : {&administrator, &perUser}) {
        ASSERT_EQ(StoreTrust::kTrustedCount, 3u);
        EXPECT_TRUE(EqualSid(trust->Trusted()[0], system.get()));
        EXPECT_TRUE(EqualSid(trust->Trusted()[1], administrators.get()));
        EXPECT_TRUE(EqualSid(trust->Trusted()[2], user));
        // A folder made with it and owned by its maker passes its own check.
        SECURITY_DESCRIPTOR owned = *trust->Descriptor();
        ASSERT_TRUE(SetSecurityDescriptorOwner(&owned, trust->Administrator() ? administrators.get() : user, FALSE));
        EXPECT_EQ(JudgeStore(FILE_ATTRIBUTE_DIRECTORY, &owned, trust->Trusted(), StoreTrust::kTrustedCount),
                  StoreVerdict::Trusted);
    }
}
