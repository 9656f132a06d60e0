#include "fonts/textscan.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "base/fileio.h"

std::optional<TextFile> read_text_file(const char* path) {
  FilePtr file = file_open(path, "rb");
  if (!file) return std::nullopt;
  // Read to its end, whatever size it claims: it may be growing, or be no
  // regular file.
  std::error_code ec;
  const uintmax_t claimed = std::filesystem::file_size(path, ec);
  TextFile text;
  text.bytes = ByteBlock(ec ? 4096 : static_cast<size_t>(claimed) + 1);
  for (size_t n; (n = std::fread(text.bytes.data() + text.size, 1, text.bytes.size() - text.size,
                                 file.get())) > 0;) {
    text.size += n;
    if (text.size == text.bytes.size()) {
      ByteBlock larger(2 * text.bytes.size());
      std::memcpy(larger.data(), text.bytes.data(), text.size);
      text.bytes = std::move(larger);
    }
  }
  static const uint8_t kBom[] = {0xEF, 0xBB, 0xBF};
  if (text.size >= 3 && std::equal(kBom, kBom + 3, text.bytes.data())) text.start = 3;
  return text;
}
