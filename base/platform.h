// What is host-specific: directory search, full paths, the current
// directory, creating and replacing files, and the key wait. Everything else
// in the program is portable.
#pragma once

#include <cstddef>
#include <cstdint>
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

// Files are written through the host's own calls rather than the C
// library's buffered streams, so that each write, sync, close, rename and
// link is one call that can fail and leave its reason in errno.

// Creates path as a new file open for writing, in binary mode or in the
// host's text mode; -1 (errno EEXIST when anything of that name exists) when
// it cannot be created.
int plat_create_new(const std::string& path, bool binary);
// Writes all n bytes of data; false, with errno, when that fails.
bool plat_write(int fd, const void* data, size_t n);
// Moves where the next write goes to offset bytes from the file's start (a
// write past the end extends the file); false, with errno, when it cannot.
bool plat_seek(int fd, uint64_t offset);
// Puts the file's content on the disk; false, with errno, when that fails.
bool plat_sync(int fd);
// Closes the file; false, with errno, when the close reports a failure.
bool plat_close(int fd);
// Puts the entries of the folder dir (new names, renames, removals) on the
// disk, where the host allows it.
void plat_sync_dir(const std::string& dir);
// Removes the file path; false when it cannot be removed.
bool plat_remove(const std::string& path);
// The names of everything in the folder dir (not "." and ".."), in no order.
std::vector<std::string> plat_list_dir(const std::string& dir);

// An exclusive lock between processes, taken on the file path (made when
// missing), waiting while another process holds it, and released when the
// process ends in any way. -1 (with errno) when it cannot be taken.
// plat_unlock removes the file and releases the lock.
intptr_t plat_lock(const std::string& path);
void plat_unlock(intptr_t lock, const std::string& path);

// Interruptions (SIGINT, SIGTERM, SIGHUP, SIGPIPE; Ctrl+C and the console's
// closing on Windows): cleanup runs, then the program ends as the
// interruption would have ended it. A file-size limit makes a write fail
// (EFBIG) instead of ending the program. Installed once; later calls do
// nothing.
void plat_catch_interrupts(void (*cleanup)());
// Interruptions that arrive between hold and release wait until release;
// holds nest.
void plat_hold_interrupts();
void plat_release_interrupts();

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

// Gives the open file fd the permission bits of the file target, where
// target exists and the host has such bits.
void plat_copy_mode(const std::string& target, int fd);

// A zero-filled block of bytes straight from the host's pages, with huge
// pages asked for; none when there is no memory. Released with
// plat_free_pages and the same size.
void* plat_alloc_pages(size_t bytes);
void plat_free_pages(void* block, size_t bytes);

// The number the host gives this process.
unsigned long plat_process_id();

// Changes the current directory; false on failure.
bool plat_chdir(const std::string& dir);

// Waits for one key press, without echo, when standard input is an
// interactive terminal; returns at once otherwise.
void plat_wait_key();
