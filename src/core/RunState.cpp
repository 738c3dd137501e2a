#include "core/RunState.h"

#include <cstdlib>

RunStateRecord RunState{};

char* NewPathBuffer() {
    return static_cast<char*>(std::calloc(kPathBufferSize, 1));
}
