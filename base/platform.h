// What is host-specific: directory search, full paths, the current
// directory, creating and replacing files, and the key wait. Everything else
// in the program is portable.
#pragma once

#include <cstddef>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

// The host's path separator in full paths.
extern const char kPathSeparator;
// Whether names may begin with a drive, a letter and a colon ("C:").
extern const bool kPathHasDrive;
// Whether the host's file names ignore the case of ASCII letters.
extern const bool kFileNamesIgnoreCase;

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

// The file that path finally names: a symbolic link is followed (and a link
// to a link), relative link contents counting from the link's folder; path
// itself when it is no link.
std::string plat_final_path(const std::string& path);

// True when something of that name exists.
bool plat_file_exists(const std::string& path);

// Gives the existing regular file from the second name to (a hard link, or a
// copy where the file system has none); false (errno EEXIST when to exists)
// when that cannot be done.
bool plat_link_file(const std::string& from, const std::string& to);

// Gives the open file to the permission bits of the file target, where
// target exists and the host has such bits.
void plat_copy_mode(const std::string& target, std::FILE* to);

// A zero-filled block of bytes straight from the host's pages, with huge
// pages asked for; none when there is no memory. Released with
// plat_free_pages and the same size.
void* plat_alloc_pages(size_t bytes);
void plat_free_pages(void* block, size_t bytes);

// Changes the current directory; false on failure.
bool plat_chdir(const std::string& dir);

// Waits for one key press, without echo, when standard input is an
// interactive terminal; returns at once otherwise.
void plat_wait_key();
