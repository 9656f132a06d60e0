#include "fonts/textscan.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "driver/fileio.h"

std::optional<TextFile> read_text_file(const char* path) {
  FilePtr file = file_open(path, "rb");
  if (!file) return std::nullopt;
  TextFile text;
  std::error_code ec;
  const uintmax_t size = std::filesystem::file_size(path, ec);
  if (!ec) text.bytes.reserve(static_cast<size_t>(size));
  uint8_t block[64 * 1024];
  for (size_t n; (n = std::fread(block, 1, sizeof block, file.get())) > 0;)
    text.bytes.insert(text.bytes.end(), block, block + n);
  static const uint8_t kBom[] = {0xEF, 0xBB, 0xBF};
  if (text.bytes.size() >= 3 && std::equal(kBom, kBom + 3, text.bytes.begin())) text.start = 3;
  return text;
}
