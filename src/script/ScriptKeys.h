// Section and key names of the patch script "Setup.ini", spelled as the
// script spells them. Section and key names match without case when read;
// the values of "Dir" and of hive tokens are compared with case elsewhere.
#pragma once

// The action codes of "Act" and what each does.
#include "script/neutral/ActionCodes.h"

// The script file inside the working folder.
constexpr const char kScriptFileName[] = "Setup.ini";

// Sections. An entry's section is kEntrySectionPrefix + entry number in
// decimal ("Proc1", "Proc2", ...); its payload file has the same name.
constexpr const char kSetupSection[] = "Setup";
constexpr const char kEntrySectionPrefix[] = "Proc";
constexpr const char kAddRegSection[] = "AddReg";
constexpr const char kDelRegSection[] = "DelReg";
constexpr const char kRenRegSection[] = "RenReg";
// Written by the builder for its backup companion ("Folder"), and by the
// companion once the backup is whole ("Made": the folder it used).
constexpr const char kBackupSection[] = "Backup";
constexpr const char kBackupMadeKey[] = "Made";
// "1" beside "Made" when the folder holds this patch's backup from an
// earlier run, kept instead of a new one.
constexpr const char kBackupKeptKey[] = "Kept";

// Keys of "Setup". The registry counts share their section's name.
constexpr const char kProcCountKey[] = "ProcCount";   // integer
constexpr const char kAddRegKey[] = "AddReg";         // integer
constexpr const char kDelRegKey[] = "DelReg";         // integer
constexpr const char kRenRegKey[] = "RenReg";         // integer
constexpr const char kHwndKey[] = "HWND";             // integer, written for the uninstaller
constexpr const char kUnattendedKey[] = "Unattended"; // "1", written for the uninstaller in unattended runs

// Keys of an entry section. "integer" keys are read with ReadInteger (absent
// or empty is 0); "string" keys with ReadValue (absent or empty is none);
// "flag" keys are set by any non-empty text, "0" included.
constexpr const char kFileKey[] = "FILE";             // string: target file name
constexpr const char kActKey[] = "Act";               // integer: action code 0..8
constexpr const char kDirKey[] = "Dir";               // string: directory token or folder
constexpr const char kSubKey[] = "Sub";               // string: sub-path before FILE
constexpr const char kRegKeyKey[] = "RegKey";         // string: hive,subkey[,value name]
constexpr const char kCrcKey[] = "CRC";               // integer: CRC-32, signed or unsigned decimal
constexpr const char kNewCrcKey[] = "NewCRC";         // integer, optional: Act 2, 3, 8, CRC-32 once updated
constexpr const char kDontCheckKey[] = "DONTChk";     // integer: Act 3, nonzero skips the CRC
constexpr const char kCantMissKey[] = "CANTMISS";     // flag
constexpr const char kCantDiffKey[] = "CANTDIFF";     // flag
constexpr const char kDelayKey[] = "Delay";           // integer: exactly 1 replaces at restart
constexpr const char kSyncKey[] = "Sync";             // integer: Act 0, nonzero opens through the shell
constexpr const char kNewNameKey[] = "NewName";       // string: Act 6
constexpr const char kCountKey[] = "Count";           // integer: Act 5, number of INIKey lines
constexpr const char kIniKeyPrefix[] = "INIKey";      // string: "INIKey" + 1..Count, section,key,value
constexpr const char kExpandNameKey[] = "ExpandName"; // string, written for the uninstaller

// Every key of "Setup" and of an entry section, those the runtime writes into
// its working copy included, for readers that tell a known key from a
// misspelt one. The INIKey lines are kIniKeyPrefix followed by a number.
inline constexpr const char* kSetupKeys[] = {kProcCountKey, kAddRegKey, kDelRegKey, kRenRegKey, kHwndKey,
                                             kUnattendedKey};
inline constexpr const char* kEntryKeys[] = {kFileKey,     kActKey,      kDirKey,     kSubKey,  kRegKeyKey,
                                             kCrcKey,      kNewCrcKey,   kDontCheckKey, kCantMissKey,
                                             kCantDiffKey, kDelayKey,    kSyncKey,    kNewNameKey, kCountKey,
                                             kExpandNameKey};

// Directory tokens of "Dir", compared exactly, with case.
constexpr const char kDirMe[] = "Me";
constexpr const char kDirWin[] = "Win";
constexpr const char kDirSys[] = "Sys";
constexpr const char kDirReg[] = "Reg";
constexpr const char kDirPre[] = "Pre";
constexpr const char kDirAsk[] = "Ask";
constexpr const char kDirStartMenu[] = "STMU";
constexpr const char kDirPrograms[] = "PROG";
constexpr const char kDirFavorites[] = "FAVO";
constexpr const char kDirDocuments[] = "DOC";
constexpr const char kDirTemplates[] = "TEMP";
constexpr const char kDirDesktop[] = "DESK";
constexpr const char kDirAppData[] = "APPD";

// Marks an entry that may be skipped, at the end of its resolved path.
constexpr const char kSkipMark[] = "**";
