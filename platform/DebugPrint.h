#pragma once

// printf-style diagnostic line to the platform's debugger output. The line is cut to 4093
// characters, trailing white space is removed and "\r\n" appended. Safe on the audio thread:
// the line goes into a preallocated queue that a writer thread hands to the debugger output.
void DebugPrint(const char* format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 1, 2)))
#endif
    ;

// Passes on a line already in the form DebugPrint sends (trimmed, ending in "\r\n"): for a
// caller that prints the same few texts again and again and formats them once.
void DebugPrintLine(const char* line);

// Formats a line exactly as DebugPrint sends it; out must hold 4096 characters.
void FormatDebugLine(char* out, const char* format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 2, 3)))
#endif
    ;

// Every line also goes to this sink when one is set (none by default, so Linux is silent).
// Tests install one to capture the lines; it is called on whatever thread prints.
using DebugSink = void (*)(const char* line);
void SetDebugSink(DebugSink sink);
