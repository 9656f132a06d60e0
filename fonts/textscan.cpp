#include "fonts/textscan.h"

#include <algorithm>
#include <utility>

#include "base/fileio.h"

std::optional<TextFile> read_text_file(const char* path) {
  FilePtr file = file_open(path, "rb");
  if (!file) return std::nullopt;
  // A file that cannot be read (a folder) reads as what could be read of it.
  FileBytes bytes = read_to_end(file.get(), path);
  TextFile text;
  text.bytes = std::move(bytes.block);
  text.size = bytes.size;
  static const uint8_t kBom[] = {0xEF, 0xBB, 0xBF};
  if (text.size >= 3 && std::equal(kBom, kBom + 3, text.bytes.data())) text.start = 3;
  return text;
}
