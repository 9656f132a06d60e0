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

// The one-line form of quiet mode (tralk --quiet): the program prints each
// error and warning as one line in the compilers' form and nothing else.
// While it is on, con_reveal only forgets what is held, con_warn only counts,
// and con_error_line and con_warning_line print.
void con_set_one_line(bool on);
bool con_one_line();
// Forgets the text held and hands it over.
std::string con_take_held();
// In the one-line form, "FILE:LINE: error: TEXT" ("FILE: error: TEXT" for
// line 0) and a line end; nothing otherwise.
void con_error_line(const std::string& file, unsigned line, const std::string& text);
void con_warning_line(const std::string& file, unsigned line, const std::string& text);

// Starts collecting console output in memory instead of printing it.
void con_capture_begin();
// Stops collecting and returns everything printed since con_capture_begin.
std::string con_capture_end();
