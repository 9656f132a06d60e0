// Console output. Every message of the program goes through con_printf (or
// con_warn, for a warning), so that tests can capture the exact text without
// redirecting file handles.
//
// In quiet mode progress text is held instead of printed. A warning prints
// what is held first, as its context; an error shows everything held and
// everything after it (con_reveal). con_new_context forgets what is held
// when a new piece of work starts.
#pragma once

#include <string>

// Prints printf-style to standard output (or to the capture, when one is on).
[[gnu::format(printf, 1, 2)]] void con_printf(const char* fmt, ...);
// Prints a warning, always (in quiet mode after the text held as its
// context), and counts it.
[[gnu::format(printf, 1, 2)]] void con_warn(const char* fmt, ...);
// The number of warnings printed so far.
unsigned con_warnings();

// Turns quiet mode on or off; held text is dropped either way.
void con_set_quiet(bool quiet);
// Forgets the text held so far: what follows is about something new.
void con_new_context();
// Prints the text held and leaves quiet mode: an error is shown with its
// context and everything printed after it.
void con_reveal();
// True when quiet mode has printed anything (a warning and its context).
bool con_quiet_printed();

// Starts collecting console output in memory instead of printing it.
void con_capture_begin();
// Stops collecting and returns everything printed since con_capture_begin.
std::string con_capture_end();
