// Console output. Every message of the program goes through con_printf, so
// that tests can capture the exact text without redirecting file handles.
#pragma once

#include <string>

// Prints printf-style to standard output (or to the capture, when one is on).
[[gnu::format(printf, 1, 2)]] void con_printf(const char* fmt, ...);

// Starts collecting console output in memory instead of printing it.
void con_capture_begin();
// Stops collecting and returns everything printed since con_capture_begin.
std::string con_capture_end();
