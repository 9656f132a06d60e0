// What is host-specific: directory search, full paths, the current
// directory, creating and replacing files, and the key wait. Everything else
// in the program is portable.
#pragma once

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

// The host's path separator in full paths.
extern const char kPathSeparator;
// Whether names may begin with a drive, a letter and a colon ("C:").
extern const bool kPathHasDrive;

// The regular files in the directory of pattern whose names match its last
// component, where "*" matches any run of characters and "?" one character;
// letters match in either case where the host's file names do (Windows).
// Names without directory, in ascending byte order.
std::vector<std::string> plat_find_files(const std::string& pattern);

// The absolute form of name against the current directory, with "." and
// ".." steps resolved and the host's separators; the file need not exist and
// wildcards stay as they are. None when the name cannot be resolved.
std::optional<std::string> plat_full_path(const std::string& name);

// Creates path as a new file open for writing, in binary mode or in the
// host's text mode; null (errno EEXIST) when anything of that name exists.
std::FILE* plat_create_new(const std::string& path, bool binary);

// Renames the file from to to, replacing a file of that name; false on
// failure, with neither file changed.
bool plat_replace_file(const std::string& from, const std::string& to);

// Changes the current directory; false on failure.
bool plat_chdir(const std::string& dir);

// Waits for one key press, without echo, when standard input is an
// interactive terminal; returns at once otherwise.
void plat_wait_key();
