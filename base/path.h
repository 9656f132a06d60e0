// File names and paths. Both "/" and "\" separate directories in names; full
// paths use the host's separator. A path splits into drive (where the host
// has drives), directory (up to and including the last separator), base name
// and extension (from the last dot of the file name, dot included). File
// names are matched against the wildcards of configuration entries here
// too.
#pragma once

#include <optional>
#include <string>
#include <string_view>

// Longest full path accepted, in characters.
constexpr size_t kPathFullMax = 258;

// The absolute form of name against the current directory, with "." and ".."
// resolved; none when it cannot be resolved or exceeds 258 characters.
std::optional<std::string> path_full(std::string_view name);
// Drive and directory of path's full path joined with the base name and
// extension of name; none when path cannot be resolved.
std::optional<std::string> path_setname(std::string_view path, std::string_view name);
// path's full path with its extension replaced by the extension of name (an
// empty extension removes it); none when path cannot be resolved.
std::optional<std::string> path_setext(std::string_view path, std::string_view name);
// name taken relative to the folder dir instead of the current directory; a
// name with a drive or starting at a root stays as it is.
std::string path_in_dir(std::string_view dir, std::string_view name);
// True for a name without a drive that does not start at a root.
bool path_is_relative(std::string_view name);
// Base name: no directory, no extension.
std::string path_base(std::string_view path);
// Extension with its dot, or the empty string.
std::string path_ext(std::string_view path);
// A C identifier made from the base name of path (never empty).
std::string path_ident(std::string_view path);
// path_ident in capitals: the name of an image's macros (UI_SIZE for ui.bin)
// in tralk's header and tralk-pack's.
std::string path_macro_name(std::string_view path);

// True when name matches pattern, where "*" matches any run of characters
// and "?" exactly one; with ignore_case, ASCII letters match in either case
// (as a case-insensitive file system compares them).
bool wildcard_match(std::string_view pattern, std::string_view name, bool ignore_case);

// True when two file names name the same file: byte for byte, or with
// ignore_case ASCII letters in either case.
bool file_name_equal(std::string_view a, std::string_view b, bool ignore_case);
