// The run's private working folder: a new folder that no earlier run, other
// run or other user has had a hand in.
#pragma once
#include <windows.h>

#include <cstdint>

// The number the first folder name is made from. Tests pin it to know the
// names a run will try.
using FolderNameSeedSource = uint32_t (*)();
extern FolderNameSeedSource FolderNameSeed;

// The folder name (ending in a backslash) tried at `attempt` for `seed`:
// "ZuliTmp" and eight hexadecimal digits. `name` holds at least 17 bytes.
void FormatWorkFolderName(char* name, uint32_t seed, int attempt);

// The security the working folder is created with on the NT family: a
// protected access list (nothing inherited from the temporary directory) that
// lets in SYSTEM and the Administrators, and the current user unless the run
// is elevated, for the folder and everything created in it. An elevated run
// shares its user with every unelevated program of that user, which must
// not reach the script and programs the run is about to use with its
// rights; the run itself gets in as an administrator. Room for three
// entries naming the largest SIDs.
struct alignas(DWORD) PrivateSecurity {
    SECURITY_DESCRIPTOR descriptor;
    ACL acl;
    unsigned char aclRoom[3 * (8 + 68)];
};
// Fills `security` for the run's own token (elevated: acting with the
// Administrators group, core/AdministratorToken.h); 0 when the current user
// cannot be learnt from the token.
int MakePrivateSecurity(PrivateSecurity& security);
// The same for a run that is, or is not, elevated.
int MakePrivateSecurityFor(PrivateSecurity& security, bool elevated);

// Creates `folder` as a new folder; an existing file, folder or link of that
// name makes it fail and is left alone. On the NT family only the current
// user, SYSTEM and the Administrators are let in (the folder and everything
// created in it). 1 when created, else 0.
int CreatePrivateFolder(const char* folder);

// 1 when `folder` is a folder in its own right, not a link or junction that
// would lead somewhere else.
int IsPlainFolder(const char* folder);
