// Owned C stream handles: a FilePtr closes its stream when it goes away.
#pragma once

#include <cstdio>
#include <memory>

struct FileCloser {
  void operator()(std::FILE* f) const {
    if (f) std::fclose(f);
  }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

inline FilePtr file_open(const char* path, const char* mode) {
  return FilePtr(std::fopen(path, mode));
}

// Moves a stream that stands at its start past a UTF-8 byte order mark (EF
// BB BF), which editors put in front of text files; leaves it at the start
// when there is none.
inline void file_skip_bom(std::FILE* f) {
  unsigned char head[3];
  const size_t n = std::fread(head, 1, sizeof head, f);
  if (n == 3 && head[0] == 0xEF && head[1] == 0xBB && head[2] == 0xBF) return;
  std::rewind(f);
}
