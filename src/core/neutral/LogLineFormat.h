// The lines of the administrator's log, formatted without a limit on their
// length: a registry line with a long binary value, a long path, a long
// command line are written whole. There is no line buffer: the text between
// the conversions and every %s argument go to the sink as they stand, and
// the only buffer of fixed size holds the digits of one number, which never
// grow past it (the width is capped).
#pragma once
#include <cstdarg>
#include <cstddef>

// Receives the line's pieces in order (a piece may be empty).
using LogLineSink = void (*)(const char* text, std::size_t length);

// The widest number: a larger width is cut to this (a minus sign before
// zeros comes on top).
constexpr std::size_t kLogNumberWidth = 15;

// Formats one line and its line break ("\r\n"). The conversions are those
// of wsprintf that the log uses: %s (null prints "(null)"), %d, %u, %x, %X
// and %%, numbers with a width and a "0" flag ("l" and "h" are read and
// ignored: every number is 32 bits).
void FormatLogLine(LogLineSink sink, const char* format, va_list arguments);
