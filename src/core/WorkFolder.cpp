#include "core/WorkFolder.h"

#include <windows.h>

#include <cstddef>
#include <cstring>

#include "core/AdministratorToken.h"
#include "core/Handles.h"
#include "core/RunState.h"

namespace {

// Every file the run unpacks, and the folder itself, may be opened by these
// three only: the patch script and the payloads decide what runs and what is
// written to the target folders, often as administrator.
constexpr DWORD kInheritedByAll = OBJECT_INHERIT_ACE | CONTAINER_INHERIT_ACE;

// S-1-5-18 (SYSTEM): the same on every NT
// system, so written out instead of looked up.
constexpr unsigned char kSystemSid[] = {1, 1, 0, 0, 0, 0, 0, 5, 18, 0, 0, 0};

constexpr std::size_t kLargestSid = 8 + 4 * 15;  // revision, count, authority, 15 sub-authorities
constexpr std::size_t kAceFixedSize = offsetof(ACCESS_ALLOWED_ACE, SidStart);
static_assert(sizeof(PrivateSecurity::aclRoom) >= 3 * (kAceFixedSize + kLargestSid), "room for three entries");

uint32_t TimeAndProcessSeed() {
    return GetTickCount() ^ (GetCurrentProcessId() << 16);
}

// Appends one entry that allows `sid` everything, inherited by the files and
// folders created inside. The SID's length follows from its sub-authority
// count (byte 1).
void AllowEverything(ACL& acl, const void* sid) {
    const auto* sidBytes = static_cast<const unsigned char*>(sid);
    std::size_t sidLength = 8 + 4 * std::size_t(sidBytes[1] & 15);
    auto* ace = reinterpret_cast<ACCESS_ALLOWED_ACE*>(reinterpret_cast<unsigned char*>(&acl) + acl.AclSize);
    ace->Header.AceType = ACCESS_ALLOWED_ACE_TYPE;
    ace->Header.AceFlags = kInheritedByAll;
    ace->Header.AceSize = static_cast<WORD>(kAceFixedSize + sidLength);
    ace->Mask = FILE_ALL_ACCESS;
    std::memcpy(&ace->SidStart, sid, sidLength);
    acl.AclSize = static_cast<WORD>(acl.AclSize + ace->Header.AceSize);
    ++acl.AceCount;
}

// The user the run works for, as its token names it; 0 when the token cannot
// be read (the folder is then not made at all).
int ReadTokenUser(unsigned char (&buffer)[sizeof(TOKEN_USER) + kLargestSid]) {
    UniqueHandle token;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, token.put())) return 0;
    DWORD length = 0;
    return GetTokenInformation(token.get(), TokenUser, buffer, sizeof buffer, &length) ? 1 : 0;
}

}  // namespace

FolderNameSeedSource FolderNameSeed = TimeAndProcessSeed;

void FormatWorkFolderName(char* name, uint32_t seed, int attempt) {
    // Successive attempts spread over the whole range: names planted next to
    // a taken one do not block the next attempt.
    wsprintfA(name, "ZuliTmp%08lX\\", static_cast<unsigned long>(seed + static_cast<uint32_t>(attempt) * 0x9E3779B9u));
}

int MakePrivateSecurity(PrivateSecurity& security) {
    return MakePrivateSecurityFor(security, RunsAsAdministrator());
}

int MakePrivateSecurityFor(PrivateSecurity& security, bool elevated) {
    unsigned char user[sizeof(TOKEN_USER) + kLargestSid];
    if (!ReadTokenUser(user)) return 0;
    // Every byte of the entries is written as they are appended.
    security.descriptor = SECURITY_DESCRIPTOR{};
    security.acl = ACL{ACL_REVISION, 0, sizeof security.acl, 0, 0};
    const void* admitted[] = {reinterpret_cast<TOKEN_USER*>(user)->User.Sid, kSystemSid, kAdministratorsSid};
    for (const void* sid : admitted)
        if (!elevated || sid != admitted[0]) AllowEverything(security.acl, sid);
    // Written out rather than built with the security functions: marking
    // the list protected needs SetSecurityDescriptorControl, which Windows
    // NT 4 lacks.
    security.descriptor.Revision = SECURITY_DESCRIPTOR_REVISION;
    security.descriptor.Control = SE_DACL_PRESENT | SE_DACL_PROTECTED;
    security.descriptor.Dacl = &security.acl;
    return 1;
}

int CreatePrivateFolder(const char* folder) {
    if (!RunState.IsNT) return CreateDirectoryA(folder, nullptr) ? 1 : 0;
    PrivateSecurity security;
    if (!MakePrivateSecurity(security)) return 0;
    SECURITY_ATTRIBUTES attributes{sizeof attributes, &security.descriptor, FALSE};
    return CreateDirectoryA(folder, &attributes) ? 1 : 0;
}

int IsPlainFolder(const char* folder) {
    DWORD attributes = GetFileAttributesA(folder);
    if (attributes == INVALID_FILE_ATTRIBUTES) return 0;
    return (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) == FILE_ATTRIBUTE_DIRECTORY;
}
