#include "script/NewCrc.h"

#include "core/RunState.h"
#include "script/ScriptKeys.h"
#include "core/neutral/LenientInteger.h"

bool ReadNewCrc(uint32_t* crc) {
    HeapText text = RunState.ScriptReader.ReadValue(kNewCrcKey);
    if (!text) return false;
    *crc = static_cast<uint32_t>(ParseLenientInteger(text.get()));
    return true;
}
