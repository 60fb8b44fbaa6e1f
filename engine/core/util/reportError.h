// The utility library's error routine and its two trace hooks.
#pragma once

extern "C" {

// Formats the printf-style message into a per-thread buffer that follows the
// text "ERROR: " and throws a const char* to the whole text. Never returns.
// The tide library's build (FLODWAVE_UTILITY defined) writes nothing and ends
// the process with exit code 1 instead.
[[noreturn]] void reportError(const char* format, ...)
    __attribute__((format(printf, 1, 2)));

// Progress and warning texts of the cell reader and the dictionary loader.
// By default they do nothing; a test or a program may install hooks to see
// which path ran.
void traceMessage(const char* text);
void traceNote(const char* text);

typedef void (*TraceHook)(const char* text);
// Install a hook (null restores the silent default); returns the previous one.
TraceHook setTraceMessageHook(TraceHook hook);
TraceHook setTraceNoteHook(TraceHook hook);
}
