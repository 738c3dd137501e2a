// Whether this process acts with the Administrators group: the question that
// decides where a run keeps its journal and which run lock it takes.
#pragma once

// S-1-5-32-544, the Administrators group: the same on every NT system, so
// written out instead of looked up.
extern const unsigned char kAdministratorsSid[16];

// True when the process token holds the Administrators group enabled: an
// elevated run, SYSTEM (a deployment tool's run), or an administrator
// where there is no UAC. An administrator's unelevated run holds the group
// for denying only, and counts as not. False where there are no tokens (the
// Windows 95 family). Read from the token's groups rather than with
// CheckTokenMembership, which Windows NT 4 lacks.
bool RunsAsAdministrator();
