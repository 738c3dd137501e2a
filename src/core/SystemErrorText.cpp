#include "core/SystemErrorText.h"

DWORD FormatSystemError(DWORD error, char* text, DWORD size) {
    text[0] = '\0';
    DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error, 0,
                                  text, size, nullptr);
    // The system's texts end with a line break of their own, some with a
    // space before it; a message printed inside a line carries neither.
    while (length > 0 && (text[length - 1] == '\n' || text[length - 1] == '\r' || text[length - 1] == ' '))
        --length;
    text[length] = '\0';
    return length;
}
