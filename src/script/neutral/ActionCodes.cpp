#include "script/neutral/ActionCodes.h"

namespace {

const ActionInfo kActions[] = {
    // code              name                   report          act    payload existing crc    changes skip
    {kActRun,        "run",                 kActRun,        true,  true,  false,  false, true,  false},
    {kActAdd,        "add",                 kActAdd,        true,  true,  false,  false, true,  false},
    {kActXorDelta,   "XOR-delta update",    kActXorDelta,   true,  true,  true,   true,  true,  true},
    {kActBytePatch,  "byte-pattern patch",  kActBytePatch,  true,  true,  true,   true,  true,  true},
    {kActDelete,     "delete",              kActDelete,     true,  false, false,  false, true,  false},
    {kActIniKeys,    "INI keys",            kActIniKeys,    true,  false, true,   false, true,  true},
    {kActRename,     "rename",              kActRename,     true,  false, true,   false, true,  true},
    {kActCheckOnly,  "check only",          kActCheckOnly,  false, false, true,   false, false, true},
    {kActBinaryDelta, "binary-delta update", kActXorDelta,  true,  true,  true,   true,  true,  true},
};

}  // namespace

const ActionInfo* FindAction(int32_t code) {
    for (const ActionInfo& info : kActions)
        if (info.code == code) return &info;
    return nullptr;
}

const ActionInfo* ActionTable() { return kActions; }

int ActionCount() { return static_cast<int>(sizeof kActions / sizeof kActions[0]); }
