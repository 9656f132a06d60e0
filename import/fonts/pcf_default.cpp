#include "import/fonts/pcf_default.h"

#include "base/coding.h"

namespace tralk::importer {

namespace {

constexpr uint32_t kBdfEncodings = 1u << 5;  // the table of a PCF font's codes
constexpr uint32_t kMsbFirst = 1u << 2;      // a table format's byte order bit
constexpr uint16_t kNoGlyph = 0xFFFF;
constexpr size_t kHeaderSize = 8;     // magic, table count
constexpr size_t kTocEntrySize = 16;  // type, format, size, offset
constexpr size_t kEncodingHead = 14;  // format, 5 two-byte fields

uint16_t u16(const uint8_t* p, bool msb_first) {
  return msb_first ? static_cast<uint16_t>(p[0] << 8 | p[1])
                   : static_cast<uint16_t>(p[1] << 8 | p[0]);
}

// The offset of the encoding table; none when the font has none or it lies
// beyond the bytes.
std::optional<size_t> encodings_table(const uint8_t* data, size_t size) {
  if (size < kHeaderSize || data[0] != 1 || data[1] != 'f' || data[2] != 'c' || data[3] != 'p')
    return std::nullopt;
  const uint32_t tables = get_u32le(data + 4);
  if (tables > (size - kHeaderSize) / kTocEntrySize) return std::nullopt;
  for (uint32_t i = 0; i < tables; ++i) {
    const uint8_t* entry = data + kHeaderSize + size_t{i} * kTocEntrySize;
    const uint32_t offset = get_u32le(entry + 12);
    if (get_u32le(entry) == kBdfEncodings && offset < size && size - offset >= kEncodingHead)
      return offset;
  }
  return std::nullopt;
}

}  // namespace

std::optional<uint32_t> pcf_default_char(const uint8_t* data, size_t size) {
  const std::optional<size_t> at = encodings_table(data, size);
  if (!at) return std::nullopt;
  const uint8_t* t = data + *at;
  const bool msb = (get_u32le(t) & kMsbFirst) != 0;
  const uint32_t first_col = u16(t + 4, msb), last_col = u16(t + 6, msb);
  const uint32_t first_row = u16(t + 8, msb), last_row = u16(t + 10, msb);
  const uint32_t code = u16(t + 12, msb);
  const uint32_t row = code >> 8, col = code & 0xFF;
  if (row < first_row || row > last_row || col < first_col || col > last_col) return std::nullopt;
  const size_t index = size_t{row - first_row} * (last_col - first_col + 1) + (col - first_col);
  if ((size - *at - kEncodingHead) / 2 <= index) return std::nullopt;
  if (u16(t + kEncodingHead + 2 * index, msb) == kNoGlyph) return std::nullopt;
  return code;
}

}  // namespace tralk::importer
