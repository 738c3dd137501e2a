// One script entry's action, carried out on the target the check resolved.
#pragma once
#include <cstdint>

#include "script/neutral/ActionCodes.h"

struct EntryAction {
    const ActionInfo* action;  // null: an unknown code, or no target (nothing to do or report)
    const char* target;
    bool skipped;              // the check skipped it: nothing done
    bool acted;                // the action ran; `result` is its result
    int result;
};

// Runs entry `n`'s action, leaving the script reader on its section.
EntryAction RunEntryAction(uint32_t n);
