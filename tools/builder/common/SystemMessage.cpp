#include "common/SystemMessage.h"

#include "core/SystemErrorText.h"

std::string SystemMessage(DWORD code) {
    char text[512];
    return FormatSystemError(code, text, sizeof text) ? std::string(text) : "error " + std::to_string(code);
}
