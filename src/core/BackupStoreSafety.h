// Whether a backup folder ("store") may be trusted, and the access list a
// new one is made with. A store holds the copies of an application's files
// and the list of where they go back; an administrator later restores from
// it. Whoever could change a store could have that restore write their own
// files into the application, so a store admits SYSTEM, Administrators and
// the user who runs the backup companion, and nobody else may own it or
// hold any right that changes it.
//
// Who that user is, is a decision (StoreTrust). The companion trusts the
// user running it in every run:
// - a per-user run (its user is no administrator) makes the store for that
//   user alone, so the user must be able to use it;
// - an administrator's account may make itself owner of anything anyway, so
//   trusting it adds nobody who could not already write the store; and Wine
//   gives every folder the running user as owner and full access (it keeps
//   no access lists on folders and runs everything as an administrator), so
//   a check that refused the running user would refuse every store there.
// Everyone else (other users, Users, Everyone, Authenticated Users, any
// other account or group) is refused as owner or as holder of a write right.
#pragma once
#include <windows.h>

enum class StoreVerdict { Trusted, NotAFolder, Link, Unreadable, ForeignOwner, NoAccessList, OthersMayWrite };

// The rights that change a folder, what is in it, or who may do what to it.
constexpr DWORD kStoreWriteRights = FILE_WRITE_DATA | FILE_APPEND_DATA | FILE_WRITE_EA | FILE_WRITE_ATTRIBUTES |
                                    FILE_DELETE_CHILD | DELETE | WRITE_DAC | WRITE_OWNER | GENERIC_WRITE |
                                    GENERIC_ALL;

// The judgement on a folder's attributes and its security descriptor (owner
// and access list). Trusted only for a folder that is no link (a junction or
// symbolic link would lead the store anywhere), whose owner is one of
// `trusted`, and whose access list allows no write right to anyone else. An
// entry that denies is no risk; every entry that allows counts, those only
// inherited by what the folder will hold too, and one whose kind names its
// trustee in any other way (object and callback entries) counts as someone
// else's.
StoreVerdict JudgeStore(DWORD attributes, PSECURITY_DESCRIPTOR descriptor, const PSID* trusted, unsigned trustedCount);

// Why a verdict refuses, in a few words for a message ("" for Trusted).
const char* StoreVerdictReason(StoreVerdict verdict);

enum class StoreRun {
    Detect,         // as the process token says (CheckTokenMembership)
    Administrator,  // the store admits SYSTEM and Administrators
    PerUser,        // the store admits SYSTEM and the running user
};

// The trusted accounts of this process and the descriptor a new store (and
// a folder made above it) is created with: a protected access list (nothing
// inherited from the folder above, where users may create folders) with
// two entries, SYSTEM and Administrators (or, in a per-user run, the running
// user), all access, inherited by files and folders. Built with the system's
// own calls: Wine and every system since Windows 2000 read it alike.
class StoreTrust {
public:
    explicit StoreTrust(StoreRun run = StoreRun::Detect);
    ~StoreTrust();
    StoreTrust(const StoreTrust&) = delete;
    StoreTrust& operator=(const StoreTrust&) = delete;

    // False when the accounts or the descriptor could not be built.
    bool Valid() const { return valid_; }
    bool Administrator() const { return administrator_; }
    // SYSTEM, Administrators and the running user.
    const PSID* Trusted() const { return trusted_; }
    static constexpr unsigned kTrustedCount = 3;
    // For CreateDirectoryA.
    SECURITY_ATTRIBUTES* NewFolder() { return &attributes_; }
    const SECURITY_DESCRIPTOR* Descriptor() const { return &descriptor_; }

    // JudgeStore on the folder as it is now.
    StoreVerdict JudgeFolder(const char* folder) const;

private:
    PSID system_ = nullptr;
    PSID administrators_ = nullptr;
    DWORD user_[SECURITY_MAX_SID_SIZE / sizeof(DWORD) + 1] = {};
    PSID trusted_[kTrustedCount] = {};
    DWORD acl_[64] = {};
    SECURITY_DESCRIPTOR descriptor_ = {};
    SECURITY_ATTRIBUTES attributes_ = {};
    bool administrator_ = false;
    bool valid_ = false;
};
