// Walks the font blocks of an image by their block sizes. Each block is read
// field by field and checked against the layout the generator writes; a
// block whose size cannot be trusted is measured by its own contents so that
// the blocks behind it can still be listed.
#include "inspect/image_reader.h"

#include <algorithm>
#include <optional>

#include "base/coding.h"
#include "base/text.h"
#include "bitmap/symbol.h"
#include "output/image_layout.h"

namespace tralk::inspector {

namespace {

using namespace image_layout;
constexpr uint32_t kHeadSize = kBlockHeadSize;
constexpr uint32_t kCodepageHead = kCodepageHeadSize;
constexpr uint32_t kWidthField = kStoredWidthSize;
constexpr uint64_t kMaxImage = kMaxImageSize;
// A broken font can have thousands of symbols too wide for their rows; the
// first few tell the story.
constexpr unsigned kSymbolProblemsShown = 3;

using ull = unsigned long long;

bool valid_numbits(uint8_t n) {
  return n == 0 || sym_valid_depth(n);
}

uint64_t round4(uint64_t n) {
  return (n + 3) & ~uint64_t{3};
}

class Walker {
 public:
  Walker(const uint8_t* data, uint64_t size, InspectResult& result)
      : data_(data), size_(size), result_(result) {}

  void walk() {
    uint64_t pos = 0;
    while (pos < size_) {
      const std::optional<uint64_t> next = block(pos);
      if (!next) break;
      pos = *next;
    }
  }

 private:
  // Reads the block at pos; where the next one starts, or none to stop.
  std::optional<uint64_t> block(uint64_t pos);
  void read_head(FontRecord& rec, uint64_t pos);
  uint64_t content_bytes(const FontRecord& rec, uint64_t pos) const;
  std::optional<uint64_t> block_length(const FontRecord& rec, uint64_t need, uint64_t remain);
  std::optional<uint64_t> read_codepage(FontRecord& rec, uint64_t pos, uint64_t end);
  std::optional<uint64_t> read_symbols(FontRecord& rec, uint64_t pos, uint64_t cur, uint64_t end);
  void check_rows(FontRecord& rec);
  void check_codepage(const FontRecord& rec);
  void check_index(const FontRecord& rec, const char* field, uint32_t value, uint64_t expected,
                   uint64_t end);
  void check_fill(const FontRecord& rec, uint64_t cur, uint64_t end);

  uint16_t u16(uint64_t p) const { return get_u16le(data_ + p); }
  uint32_t u32(uint64_t p) const { return get_u32le(data_ + p); }
  void problem(uint64_t index, std::string field, std::string text) {
    result_.problems.push_back({static_cast<uint32_t>(index), std::move(field), std::move(text)});
  }

  const uint8_t* data_;
  uint64_t size_;
  InspectResult& result_;
};

std::optional<uint64_t> Walker::block(uint64_t pos) {
  const uint64_t remain = size_ - pos;
  if (remain < 4) {
    problem(pos, "block size",
            strf("only %llu bytes left at the end of the image, too few for a block", ull(remain)));
    return std::nullopt;
  }
  if (remain < kHeadSize) {
    problem(pos, "block head",
            strf("cut short: the image ends after %llu of its 38 bytes", ull(remain)));
    return std::nullopt;
  }
  FontRecord rec;
  rec.index = static_cast<uint32_t>(pos);
  read_head(rec, pos);
  const uint64_t raw = content_bytes(rec, pos);
  const std::optional<uint64_t> len = block_length(rec, round4(raw), remain);
  const uint64_t end = pos + len.value_or(remain);

  std::optional<uint64_t> cur = read_codepage(rec, pos, end);
  if (cur) cur = read_symbols(rec, pos, *cur, end);
  if (cur) check_fill(rec, *cur, end);
  check_codepage(rec);

  result_.total += rec.blocksize;
  result_.fonts.push_back(std::move(rec));
  if (!len) return std::nullopt;
  return end;
}

void Walker::read_head(FontRecord& rec, uint64_t pos) {
  rec.blocksize = u32(pos + kAtBlockSize);
  rec.flags = u16(pos + kAtFlags);
  rec.type = data_[pos + kAtType];
  rec.numbits = data_[pos + kAtNumbits];
  rec.symwidth = u16(pos + kAtSymWidth);
  rec.symheight = u16(pos + kAtSymHeight);
  rec.numsym = u16(pos + kAtNumSym);
  rec.symbytes = u32(pos + kAtSymBytes);
  rec.cpindex = u32(pos + kAtCodepageIndex);
  rec.symindex = u32(pos + kAtSymbolIndex);

  const unsigned known = kFlagHeader | kFlagSymbols | kFlagCodepage;
  if (rec.flags & ~known)
    problem(pos, "flags", strf("%u has bits other than 1, 2 and 4", unsigned{rec.flags}));
  if (!(rec.flags & kFlagHeader))
    problem(pos, "flags", strf("%u lacks bit 0 (font header present)", unsigned{rec.flags}));
  if (rec.type != kTypeVirtualFont)
    problem(pos, "type ID", strf("%u, expected 1", unsigned{rec.type}));
  if (!valid_numbits(rec.numbits))
    problem(pos, "numbits",
            strf("%u is not a pixel depth (0, 1, 2, 4, 8, 16 or 24)", unsigned{rec.numbits}));
  else if (rec.numbits != 0 && !(rec.flags & kFlagSymbols))
    problem(pos, "numbits", strf("%u in a block without symbols", unsigned{rec.numbits}));

  for (const auto& [offset, length] : kReserved) {
    const uint8_t* p = data_ + pos + offset;
    if (std::any_of(p, p + length, [](uint8_t b) { return b != 0; }))
      problem(pos, strf("reserved bytes %u-%u", unsigned{offset}, unsigned{offset + length - 1}),
              "not zero");
  }
}

// Bytes that the head and sections take, before the fill.
uint64_t Walker::content_bytes(const FontRecord& rec, uint64_t pos) const {
  uint64_t n = kHeadSize;
  if (rec.flags & kFlagCodepage) {
    n += kCodepageHead;
    if (pos + kHeadSize + 2 <= size_) n += uint64_t{kRangeSize} * u16(pos + kHeadSize);
  }
  if (rec.flags & kFlagSymbols) n += uint64_t{rec.numsym} * (rec.symbytes + kWidthField);
  return n;
}

// How many bytes of the image belong to this block: its block size when that
// is sound, else what its contents take when they fit the image. None when
// neither holds: the block runs to the end of the image and the walk stops.
std::optional<uint64_t> Walker::block_length(const FontRecord& rec, uint64_t need,
                                             uint64_t remain) {
  const uint32_t bs = rec.blocksize;
  std::vector<std::string> faults;
  if (bs < kMinBlock)
    faults.push_back(strf("%u is less than the 40 bytes of the smallest block", bs));
  if (bs % 4) faults.push_back(strf("%u is not a multiple of 4", bs));
  if (bs > remain)
    faults.push_back(
        strf("%u overruns the image: %llu bytes are left from this block on", bs, ull(remain)));
  if (faults.empty()) return bs;

  std::optional<uint64_t> len;
  if (need <= remain) {
    faults.back() += strf("; read as the %llu bytes its contents take", ull(need));
    len = need;
  } else {
    faults.back() += "; the walk stops here";
  }
  for (std::string& f : faults) problem(rec.index, "block size", std::move(f));
  return len;
}

void Walker::check_index(const FontRecord& rec, const char* field, uint32_t value,
                         uint64_t expected, uint64_t end) {
  if (value == expected) return;
  if (value < rec.index || value >= end)
    problem(rec.index, field,
            strf("%u lies outside its block (storage index %u to %llu)", value, rec.index,
                 ull(end - 1)));
  else
    problem(rec.index, field,
            strf("%u, but the section starts at storage index %llu", value, ull(expected)));
}

// The codepage section; where the contents go on, or none when it overruns
// the block.
std::optional<uint64_t> Walker::read_codepage(FontRecord& rec, uint64_t pos, uint64_t end) {
  const uint64_t start = pos + kHeadSize;
  if (!(rec.flags & kFlagCodepage)) {
    if (rec.cpindex != 0)
      problem(pos, "codepage index", strf("%u in a block without a codepage", rec.cpindex));
    return start;
  }
  check_index(rec, "codepage index", rec.cpindex, start, end);
  if (start + kCodepageHead > end) {
    problem(pos, "codepage section", "overruns the block");
    return std::nullopt;
  }
  rec.numranges = u16(start);
  rec.defchar = u16(start + 2);
  const uint64_t stop = start + kCodepageHead + uint64_t{kRangeSize} * rec.numranges;
  if (stop > end) {
    problem(pos, "codepage section", strf("%u ranges overrun the block", unsigned{rec.numranges}));
    return std::nullopt;
  }
  for (uint64_t p = start + kCodepageHead; p < stop; p += kRangeSize)
    rec.ranges.push_back({u16(p), u16(p + 2), u16(p + 4)});
  rec.has_codepage = true;
  return stop;
}

std::optional<uint64_t> Walker::read_symbols(FontRecord& rec, uint64_t pos, uint64_t cur,
                                             uint64_t end) {
  if (!(rec.flags & kFlagSymbols)) {
    if (rec.symindex != 0)
      problem(pos, "symbol index", strf("%u in a block without symbols", rec.symindex));
    return cur;
  }
  check_index(rec, "symbol index", rec.symindex, cur, end);
  if (rec.numsym == 0) problem(pos, "number of symbols", "0 in a block with symbols");
  const uint64_t per = uint64_t{rec.symbytes} + kWidthField;
  const uint64_t fit = std::min<uint64_t>(rec.numsym, (end - cur) / per);
  if (fit < rec.numsym)
    problem(pos, "symbol section",
            strf("overruns the block: %llu of its %u symbols fit", ull(fit), unsigned{rec.numsym}));
  rec.widths.reserve(fit);
  rec.pixels.reserve(fit * rec.symbytes);
  for (uint64_t i = 0; i < fit; ++i) {
    const uint64_t p = cur + i * per;
    rec.widths.push_back(u16(p));
    rec.pixels.insert(rec.pixels.end(), data_ + p + kWidthField, data_ + p + per);
  }
  check_rows(rec);
  if (fit < rec.numsym) return std::nullopt;
  return cur + fit * per;
}

// Each symbol's rows are as long as its own width needs; together they must
// fit the font's byte count, the rest being padding.
void Walker::check_rows(FontRecord& rec) {
  if (!valid_numbits(rec.numbits) || rec.widths.empty()) return;
  if (rec.symheight == 0) {
    problem(rec.index, "symbol height", "0 in a block with symbols");
    return;
  }
  rec.drawable = true;
  unsigned overrun = 0;
  for (size_t i = 0; i < rec.widths.size(); ++i) {
    const uint64_t row = font_rowbytes(rec, i);
    const uint64_t need = row * rec.symheight;
    if (need <= rec.symbytes) continue;
    if (overrun++ < kSymbolProblemsShown)
      problem(rec.index, strf("symbol %zu", i),
              strf("width %u needs %llu bytes (%llu a row), the font's symbols have %u",
                   unsigned{rec.widths[i]}, ull(need), ull(row), rec.symbytes));
  }
  if (overrun > kSymbolProblemsShown)
    problem(rec.index, "symbols",
            strf("%u more symbols need more bytes than the font's symbols have",
                 overrun - kSymbolProblemsShown));
}

// A codepage range is {first code, last code, symbol index of the first
// code}; the default character is a code that some range must hold.
void Walker::check_codepage(const FontRecord& rec) {
  if (!rec.has_codepage) return;
  bool covered = false;
  for (size_t r = 0; r < rec.ranges.size(); ++r) {
    const auto& [first, last, symbol] = rec.ranges[r];
    covered = covered || (rec.defchar >= first && rec.defchar <= last);
    if (first > last) {
      problem(rec.index, strf("codepage range %zu", r),
              strf("first code %u is above last code %u", unsigned{first}, unsigned{last}));
    } else if (uint64_t{symbol} + (last - first) >= rec.numsym) {
      problem(rec.index, strf("codepage range %zu", r),
              strf("{%u, %u, %u} maps codes to symbols %u to %llu; the font has %u",
                   unsigned{first}, unsigned{last}, unsigned{symbol}, unsigned{symbol},
                   ull(uint64_t{symbol} + (last - first)), unsigned{rec.numsym}));
    }
  }
  if (!covered)
    problem(rec.index, "default character",
            strf("%u is in no codepage range", unsigned{rec.defchar}));
}

void Walker::check_fill(const FontRecord& rec, uint64_t cur, uint64_t end) {
  const uint8_t* first = data_ + cur;
  const uint8_t* last = data_ + end;
  const uint8_t* bad = std::find_if(first, last, [](uint8_t b) { return b != 0; });
  if (bad != last)
    problem(
        rec.index, "fill",
        strf("byte 0x%02x at storage index %llu is not zero", unsigned{*bad}, ull(bad - data_)));
  if (end - cur > 3)
    problem(rec.index, "block size",
            strf("%u leaves %llu bytes after the contents, more than the 0 to 3 of fill",
                 rec.blocksize, ull(end - cur)));
}

}  // namespace

InspectResult inspect_image(const uint8_t* data, size_t size) {
  InspectResult result;
  result.size = size;
  uint64_t walked = size;
  if (walked > kMaxImage) {
    result.problems.push_back(
        {0, "image", "larger than 4294967295 bytes; only the first 4294967295 are read"});
    walked = kMaxImage;
  }
  if (walked == 0 || !data) {
    result.problems.push_back({0, "image", "empty: no font blocks"});
    return result;
  }
  Walker(data, walked, result).walk();
  return result;
}

uint32_t font_rowbytes(const FontRecord& f, size_t i) {
  return sym_rowbytes(f.widths[i], static_cast<uint16_t>(font_depth(f)));
}

uint32_t font_drawn_rows(const FontRecord& f, size_t i) {
  if (!f.drawable || i >= f.widths.size()) return 0;
  const uint32_t row = font_rowbytes(f, i);
  if (row == 0) return f.symheight;
  return std::min<uint32_t>(f.symheight, f.symbytes / row);
}

uint32_t font_pixel(const FontRecord& f, size_t i, uint32_t x, uint32_t y) {
  const uint8_t* row = f.pixels.data() + i * size_t{f.symbytes} + size_t{y} * font_rowbytes(f, i);
  return sym_row_getpixel(row, x, font_depth(f));
}

}  // namespace tralk::inspector
