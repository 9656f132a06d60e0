// What is host-specific: directory search, full paths, the current
// directory and the key wait. Everything else in the program is portable.
#pragma once

#include <optional>
#include <string>
#include <vector>

// The host's path separator in full paths.
extern const char kPathSeparator;

// The regular files in the directory of pattern whose names match its last
// component, where "*" matches any run of characters and "?" one character.
// Names without directory, in ascending byte order.
std::vector<std::string> plat_find_files(const std::string& pattern);

// The absolute form of name against the current directory, with "." and
// ".." steps resolved and the host's separators; the file need not exist and
// wildcards stay as they are. None when the name cannot be resolved.
std::optional<std::string> plat_full_path(const std::string& name);

// Changes the current directory; false on failure.
bool plat_chdir(const std::string& dir);

// Waits for one key press, without echo, when standard input is an
// interactive terminal; returns at once otherwise.
void plat_wait_key();
