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
