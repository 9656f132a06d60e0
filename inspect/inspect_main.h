// The inspector program: reads an image, prints its table or the symbols of
// one font, writes a contact sheet, and lists what is wrong with the image.
#pragma once

namespace tralk::inspector {

// Exit statuses.
constexpr int kInspectSound = 0;     // no problem in the image
constexpr int kInspectProblems = 1;  // the image has problems
constexpr int kInspectFailed = 2;    // bad command line, unreadable or unwritable file

// Runs the inspector on the arguments after the program name; returns the
// exit status. Everything is printed through con_printf.
int run_inspect(int argc, const char* const* argv);

}  // namespace tralk::inspector
