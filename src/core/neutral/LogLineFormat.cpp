#include "core/neutral/LogLineFormat.h"

#include <cstring>

void FormatLogLine(LogLineSink sink, const char* format, va_list arguments) {
    for (;;) {
        const char* f = format;
        while (*f && *f != '%') ++f;
        sink(format, static_cast<std::size_t>(f - format));
        if (!*f) break;
        ++f;
        const char pad = *f == '0' ? *f++ : ' ';
        std::size_t width = 0;
        while (*f >= '0' && *f <= '9') width = width * 10 + static_cast<std::size_t>(*f++ - '0');
        while (*f == 'l' || *f == 'h') ++f;
        const char type = *f;
        if (!type) break;  // a lone "%" at the end
        format = f + 1;
        if (type == 's') {
            const char* text = va_arg(arguments, const char*);
            if (!text) text = "(null)";
            sink(text, std::strlen(text));
            continue;
        }
        if (type == '%') {
            sink(f, 1);
            continue;
        }
        unsigned value = va_arg(arguments, unsigned);
        const bool negative = type == 'd' && static_cast<int>(value) < 0;
        if (negative) value = 0u - value;
        const unsigned base = type == 'x' || type == 'X' ? 16 : 10;
        char digits[kLogNumberWidth + 1];
        char* const end = digits + sizeof digits;
        char* p = end;
        do {
            // Bit 5 makes the letters small for %x and leaves the digits alone.
            *--p = static_cast<char>("0123456789ABCDEF"[value % base] | (type & 0x20));
            value /= base;
        } while (value);
        // The sign goes before zeros, after blanks: "-0042", "  -42".
        if (negative && pad == ' ') *--p = '-';
        else if (negative && width) --width;
        while (static_cast<std::size_t>(end - p) < width && p > digits + 1) *--p = pad;
        if (negative && pad == '0') *--p = '-';
        sink(p, static_cast<std::size_t>(end - p));
    }
    sink("\r\n", 2);
}
