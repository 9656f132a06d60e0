// Files read through C streams: owned stream handles, a stream's bytes read
// to its end into one block of memory, and the system's words for why a
// file could not be opened or read.
#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>

#include "base/outcome.h"
#include "base/page_alloc.h"

struct FileCloser {
  void operator()(std::FILE* f) const {
    if (f) std::fclose(f);
  }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

inline FilePtr file_open(const char* path, const char* mode) {
  return FilePtr(std::fopen(path, mode));
}

// The system's words for the failure errno records ("No such file or
// directory"); those of EIO where errno records none.
std::string errno_text();

// Bytes read from a file, in one block that may come from huge pages
// (base/page_alloc.h): the first size bytes of block are the file's.
struct FileBytes {
  ByteBlock block;
  size_t size = 0;

  const uint8_t* data() const { return block.data(); }
};

// Reads f from where it stands to its end, whatever size the file at path
// claims: it may be growing, or be no regular file. A read that fails ends
// the bytes early and leaves f's error indicator set (std::ferror).
FileBytes read_to_end(std::FILE* f, const char* path);

// The file at path as tralk's text inputs are read: none when it cannot be
// opened; a file that cannot be read (a folder, where the host opens one)
// gives what could be read of it.
std::optional<FileBytes> read_input_file(const std::string& path);

// The whole file at path. A failure, with Fault::not_found or Fault::io and
// the system's words alone as its text, for the caller to put after the
// file's name, when the file cannot be opened or read (a folder cannot).
Outcome<FileBytes> read_whole_file(const std::string& path);
