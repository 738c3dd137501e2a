// One script entry's action, carried out on the target the check resolved.
#pragma once
#include <cstdint>

#include "script/neutral/ActionCodes.h"

struct EntryAction {
    const ActionInfo* action;  // null: an unknown code, or no target (nothing to do or report)
    const char* target;
    bool skipped;              // the check skipped it: nothing done
    bool acted;                // the action ran; `result` is its result
    bool unreached;            // it has an action, which was not run (not asked to)
    int result;
};

// Runs entry `n`'s action (only looks it up unless `run`), leaving the
// script reader on its section.
EntryAction RunEntryAction(uint32_t n, bool run = true);
