#include "core/BackupStoreSafety.h"

#include <windows.h>
#include <shlwapi.h>

#include "core/Handles.h"
#include "core/neutral/HeapText.h"

namespace {

bool IsTrusted(PSID sid, const PSID* trusted, unsigned count) {
    for (unsigned i = 0; i < count; ++i)
        if (trusted[i] && EqualSid(sid, trusted[i])) return true;
    return false;
}

bool Denies(BYTE aceType) {
    return aceType == ACCESS_DENIED_ACE_TYPE || aceType == ACCESS_DENIED_OBJECT_ACE_TYPE ||
           aceType == ACCESS_DENIED_CALLBACK_ACE_TYPE || aceType == ACCESS_DENIED_CALLBACK_OBJECT_ACE_TYPE;
}

}  // namespace

StoreVerdict JudgeStore(DWORD attributes, PSECURITY_DESCRIPTOR descriptor, const PSID* trusted, unsigned trustedCount) {
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY)) return StoreVerdict::NotAFolder;
    if (attributes & FILE_ATTRIBUTE_REPARSE_POINT) return StoreVerdict::Link;
    if (!descriptor || !IsValidSecurityDescriptor(descriptor)) return StoreVerdict::Unreadable;
    PSID owner = nullptr;
    BOOL defaulted = FALSE;
    if (!GetSecurityDescriptorOwner(descriptor, &owner, &defaulted)) return StoreVerdict::Unreadable;
    if (!owner || !IsTrusted(owner, trusted, trustedCount)) return StoreVerdict::ForeignOwner;
    BOOL present = FALSE;
    PACL acl = nullptr;
    if (!GetSecurityDescriptorDacl(descriptor, &present, &acl, &defaulted)) return StoreVerdict::Unreadable;
    // No access list at all lets everyone do everything.
    if (!present || !acl) return StoreVerdict::NoAccessList;
    for (DWORD i = 0; i < acl->AceCount; ++i) {
        ACCESS_ALLOWED_ACE* ace = nullptr;
        if (!GetAce(acl, i, reinterpret_cast<void**>(&ace))) return StoreVerdict::Unreadable;
        // Every kind of entry keeps its rights right after its header.
        if (Denies(ace->Header.AceType) || !(ace->Mask & kStoreWriteRights)) continue;
        if (ace->Header.AceType != ACCESS_ALLOWED_ACE_TYPE || !IsTrusted(&ace->SidStart, trusted, trustedCount))
            return StoreVerdict::OthersMayWrite;
    }
    return StoreVerdict::Trusted;
}

const char* StoreVerdictReason(StoreVerdict verdict) {
    switch (verdict) {
    case StoreVerdict::Trusted: return "";
    case StoreVerdict::NotAFolder: return "it is not a folder";
    case StoreVerdict::Link: return "it is a link (junction or symbolic link) to another place";
    case StoreVerdict::Unreadable: return "its owner and access list cannot be read";
    case StoreVerdict::ForeignOwner: return "its owner is not SYSTEM, Administrators or the user running this";
    case StoreVerdict::NoAccessList: return "it has no access list, so anyone may change it";
    case StoreVerdict::OthersMayWrite: return "others than SYSTEM, Administrators and the user running this may change it";
    }
    return "";
}

StoreTrust::StoreTrust(StoreRun run) {
    SID_IDENTIFIER_AUTHORITY nt = SECURITY_NT_AUTHORITY;
    if (!AllocateAndInitializeSid(&nt, 1, SECURITY_LOCAL_SYSTEM_RID, 0, 0, 0, 0, 0, 0, 0, &system_) ||
        !AllocateAndInitializeSid(&nt, 2, SECURITY_BUILTIN_DOMAIN_RID, DOMAIN_ALIAS_RID_ADMINS, 0, 0, 0, 0, 0, 0,
                                  &administrators_))
        return;
    UniqueHandle token;
    DWORD tokenUser[(sizeof(TOKEN_USER) + SECURITY_MAX_SID_SIZE) / sizeof(DWORD) + 1];
    DWORD size = 0;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, token.put()) ||
        !GetTokenInformation(token.get(), TokenUser, tokenUser, sizeof tokenUser, &size) ||
        !CopySid(sizeof user_, user_, reinterpret_cast<TOKEN_USER*>(tokenUser)->User.Sid))
        return;
    // An administrator's account outside an elevated process holds the
    // Administrators group only to deny with it: membership says which.
    BOOL member = FALSE;
    administrator_ = run == StoreRun::Administrator ||
                     (run == StoreRun::Detect && CheckTokenMembership(nullptr, administrators_, &member) && member);
    trusted_[0] = system_;
    trusted_[1] = administrators_;
    trusted_[2] = user_;
    PACL acl = reinterpret_cast<PACL>(acl_);
    const DWORD inherited = OBJECT_INHERIT_ACE | CONTAINER_INHERIT_ACE;
    valid_ = InitializeAcl(acl, sizeof acl_, ACL_REVISION) &&
             AddAccessAllowedAceEx(acl, ACL_REVISION, inherited, FILE_ALL_ACCESS, system_) &&
             AddAccessAllowedAceEx(acl, ACL_REVISION, inherited, FILE_ALL_ACCESS,
                                   administrator_ ? administrators_ : static_cast<PSID>(user_)) &&
             InitializeSecurityDescriptor(&descriptor_, SECURITY_DESCRIPTOR_REVISION) &&
             SetSecurityDescriptorDacl(&descriptor_, TRUE, acl, FALSE) &&
             SetSecurityDescriptorControl(&descriptor_, SE_DACL_PROTECTED, SE_DACL_PROTECTED);
    attributes_ = {sizeof attributes_, &descriptor_, FALSE};
}

StoreTrust::~StoreTrust() {
    if (system_) FreeSid(system_);
    if (administrators_) FreeSid(administrators_);
}

StoreVerdict StoreTrust::JudgeFolder(const char* folder) const {
    // A link named with a backslash after it reads as the folder it leads to.
    char path[MAX_PATH + 1];
    if (lstrlenA(folder) >= static_cast<int>(sizeof path)) return StoreVerdict::Unreadable;
    lstrcpynA(path, folder, sizeof path);
    PathRemoveBackslashA(path);
    const DWORD attributes = GetFileAttributesA(path);
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_REPARSE_POINT))
        return JudgeStore(attributes, nullptr, trusted_, kTrustedCount);
    const SECURITY_INFORMATION wanted = OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION;
    DWORD size = 0;
    GetFileSecurityA(path, wanted, nullptr, 0, &size);
    HeapBytes descriptor = AllocBytes(size ? size : 1);
    if (!size || !descriptor || !GetFileSecurityA(path, wanted, descriptor.get(), size, &size))
        return StoreVerdict::Unreadable;
    return JudgeStore(attributes, descriptor.get(), trusted_, kTrustedCount);
}
