#include "import/pictures/bmp_write.h"

#include <algorithm>
#include <utility>

#include "bitmap/symbol.h"
#include "import/pictures/colour_table.h"

namespace tralk::importer {

namespace {

constexpr uint32_t kHeadersSize = 14 + 40;
constexpr uint32_t kPixelsPerMetre = 2835;

void put16(std::string& out, uint32_t v) {
  out += static_cast<char>(v & 0xFF);
  out += static_cast<char>((v >> 8) & 0xFF);
}

void put32(std::string& out, uint32_t v) {
  put16(out, v & 0xFFFF);
  put16(out, v >> 16);
}

void put_headers(std::string& out, const RgbPicture& pic, unsigned bits, uint32_t entries,
                 uint32_t stride) {
  const uint32_t offset = kHeadersSize + 4 * entries;
  const uint32_t image = stride * pic.height;
  out += "BM";
  put32(out, offset + image);
  put32(out, 0);  // reserved
  put32(out, offset);
  put32(out, 40);
  put32(out, pic.width);
  put32(out, pic.height);  // positive: bottom row first
  put16(out, 1);           // planes
  put16(out, bits);
  put32(out, 0);  // no compression
  put32(out, image);
  put32(out, kPixelsPerMetre);
  put32(out, kPixelsPerMetre);
  put32(out, entries);  // colours used
  put32(out, 0);        // colours important: all
}

// Each colour's index in table.
class ColourIndex {
 public:
  explicit ColourIndex(const std::vector<RGBTRIPLET>& table) {
    for (size_t i = 0; i < table.size(); ++i)
      pairs_.emplace_back(colour_value(table[i]), static_cast<uint8_t>(i));
    // Of two equal entries (a b&w table of one colour) the first is used.
    std::stable_sort(pairs_.begin(), pairs_.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
  }
  uint8_t operator()(RGBTRIPLET c) const {
    const uint32_t v = colour_value(c);
    return std::lower_bound(pairs_.begin(), pairs_.end(), v,
                            [](const auto& p, uint32_t key) { return p.first < key; })
        ->second;
  }

 private:
  std::vector<std::pair<uint32_t, uint8_t>> pairs_;
};

// Row y of pic as the file stores it, into row (zero-filled, stride bytes).
void put_row(const RgbPicture& pic, uint32_t y, unsigned bits, const ColourIndex& index,
             uint8_t* row) {
  for (uint32_t x = 0; x < pic.width; ++x) {
    const RGBTRIPLET c = pic.at(x, y);
    if (bits == 24) {
      row[3 * x] = c.b;
      row[3 * x + 1] = c.g;
      row[3 * x + 2] = c.r;
    } else {
      sym_row_setpixel(row, x, bits, index(c));
    }
  }
}

}  // namespace

std::string bmp_encode(const RgbPicture& pic, unsigned bits, const std::vector<RGBTRIPLET>& table) {
  const uint32_t entries = bits == 24 ? 0 : static_cast<uint32_t>(table.size());
  const uint32_t stride = (pic.width * bits + 31) / 32 * 4;
  std::string out;
  out.reserve(kHeadersSize + 4 * entries + size_t{stride} * pic.height);
  put_headers(out, pic, bits, entries, stride);
  for (uint32_t i = 0; i < entries; ++i) {
    out += static_cast<char>(table[i].b);
    out += static_cast<char>(table[i].g);
    out += static_cast<char>(table[i].r);
    out += '\0';
  }
  const ColourIndex index(bits == 24 ? std::vector<RGBTRIPLET>{} : table);
  std::vector<uint8_t> row(stride);
  for (uint32_t y = pic.height; y-- > 0;) {
    std::fill(row.begin(), row.end(), 0);
    put_row(pic, y, bits, index, row.data());
    out.append(reinterpret_cast<const char*>(row.data()), row.size());
  }
  return out;
}

}  // namespace tralk::importer
