// The configuration driver: the command line and the one pass over the
// configuration file.
#pragma once

#include <cstdio>
#include <optional>
#include <string>

#include "base/fileio.h"
#include "output/fontlist.h"

// File types of configuration entries, by extension (letter case ignored).
enum FileType {
  kTypeOther = -1,
  kTypeVfg = 0,
  kTypeBin = 1,
  kTypeSym = 2,
  kTypeCp = 3,
  kTypePal = 4,
  kTypeBmp = 5,
  kTypeHex = 6,
};
int file_type(const std::string& name);

// Runs the program on its arguments; returns the exit status, 0 or -1.
int tralk_main(int argc, char** argv);

// Prints the usage text, then waits for a key.
void usage();
// Prints "\nPress a key to Exit\n" and waits for a key when a person can
// press one.
void press_key();
// Opens name resolved to its full path into file; the full path, or none
// after its message.
std::optional<std::string> open_resolved(const std::string& name, const char* mode, FilePtr& file);
