// tralk-pack: lays images out in one storage chip and writes the chip, its
// header, HEX and S-record files and its layout; or compares two chips
// sector by sector.
#pragma once

namespace tralk::pack {

constexpr int kPackDone = 0;    // the files were written, or the chips compared
constexpr int kPackFailed = 1;  // the images do not fit, or a file cannot be read or written
constexpr int kPackUsage = 2;   // a bad command line

// Runs tralk-pack on the arguments after the program name; returns the exit
// status. Everything is printed through con_printf.
int run_pack(int argc, const char* const* argv);

}  // namespace tralk::pack
