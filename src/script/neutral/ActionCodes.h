// The entry actions of the patch script, one row per "Act" code: what each
// needs from the script and the cabinet, what it does to the installed
// files, and how the report and the log name it. The runtime's check and
// processing pass, the builder's script check and diff, and the backup
// companion all read this one table, so that an action added here is known
// everywhere at once.
#pragma once

#include <cstdint>

enum ActionCode : int32_t {
    kActRun = 0,
    kActAdd = 1,
    kActXorDelta = 2,
    kActBytePatch = 3,
    kActDelete = 4,
    kActIniKeys = 5,
    kActRename = 6,
    kActCheckOnly = 7,
    kActBinaryDelta = 8,
};

struct ActionInfo {
    int32_t code;
    // How the log, the builder and the companion name the action.
    const char* name;
    // The report's label: the code whose text (3000 + code) names the line.
    // The binary delta reads as an update like the XOR delta; its own text
    // names the registry summary.
    int32_t reportCode;
    bool hasAction;        // the processing pass does something (and reports it)
    bool needsPayload;     // "Proc" + n in the cabinet
    bool needsExisting;    // the check fails (or skips) the entry when its file is missing
    bool checksCrc;        // the check compares CRC (and NewCRC: already updated)
    bool changesFile;      // the target may be written, replaced, created or removed
    bool canBeSkipped;     // the check may mark it skipped ("**")
};

// The row of `code`; null for a code that names no action.
const ActionInfo* FindAction(int32_t code);
// Every row, in code order, and their number.
const ActionInfo* ActionTable();
int ActionCount();

// The report code and log name of the registry summary line that follows the
// entries: a line of its own, not an entry action.
constexpr int32_t kRegistryReportCode = 8;
constexpr const char kRegistrySummaryName[] = "registry";
