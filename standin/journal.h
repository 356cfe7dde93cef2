#pragma once

// The stand-in's journal, for tests and benchmarks: when WEBVIEW2_STANDIN_JOURNAL names a file,
// every call into the stand-in and every event it raises appends one line
//   <microseconds, monotonic> <thread id> <text>
// written through at once, so a crash loses nothing. Without the variable nothing is written.

#include <string>

void JournalLine(const std::string& text);

// printf-style.
void Journalf(const char* format, ...) __attribute__((format(printf, 1, 2)));
