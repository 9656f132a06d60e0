#include "bitmap/bmp_read.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <new>
#include <system_error>

#include "bitmap/bmp_convert.h"
#include "bitmap/symbol.h"
#include "driver/console.h"
#include "driver/fileio.h"
#include "fonts/coding.h"

namespace {

constexpr unsigned kFileHeaderSize = 14;
constexpr unsigned kInfoHeaderSize = 40;
// 3 x width must fit the 16-bit row length of a symbol.
constexpr uint16_t kMaxWidth24 = 21845;

// The fields of the two headers that the reader uses.
struct BmpHeader {
  uint32_t pixoffset = 0;
  uint32_t infosize = 0;
  int32_t width = 0;
  int32_t height = 0;
  uint16_t bits = 0;
  uint32_t compression = 0;
  uint32_t colorsused = 0;
};

BmpHeader parse_header(const uint8_t* fh, const uint8_t* ih) {
  BmpHeader h;
  h.pixoffset = get_u32le(fh + 10);
  h.infosize = get_u32le(ih);
  h.width = static_cast<int32_t>(get_u32le(ih + 4));
  h.height = static_cast<int32_t>(get_u32le(ih + 8));
  h.bits = get_u16le(ih + 14);
  h.compression = get_u32le(ih + 16);
  h.colorsused = get_u32le(ih + 32);
  return h;
}

// Sequential reading that keeps count of the bytes consumed, so that the
// reader can skip forward to the pixel data without seeking. Reads the file
// in large blocks: pictures are read row by row, and a system call per row
// would cost more than the row's conversion.
class ByteReader {
 public:
  explicit ByteReader(std::FILE* f) : f_(f) {}
  bool read(uint8_t* buf, std::size_t n) {
    while (n > 0) {
      if (pos_ == end_ && !refill()) return false;
      const std::size_t step = std::min(n, end_ - pos_);
      std::memcpy(buf, block_.get() + pos_, step);
      pos_ += step;
      consumed_ += step;
      buf += step;
      n -= step;
    }
    return true;
  }
  bool skip(uint64_t n) {
    std::array<uint8_t, 4096> scratch;
    while (n > 0) {
      const std::size_t step = static_cast<std::size_t>(std::min<uint64_t>(n, scratch.size()));
      if (!read(scratch.data(), step)) return false;
      n -= step;
    }
    return true;
  }
  uint64_t consumed() const { return consumed_; }

 private:
  static constexpr std::size_t kBlock = 256 * 1024;

  bool refill() {
    if (!block_) block_ = std::make_unique_for_overwrite<uint8_t[]>(kBlock);
    end_ = std::fread(block_.get(), 1, kBlock, f_);
    pos_ = 0;
    return end_ > 0;
  }

  std::FILE* f_;
  std::unique_ptr<uint8_t[]> block_;
  std::size_t pos_ = 0;
  std::size_t end_ = 0;
  uint64_t consumed_ = 0;
};

// Everything a successful read hands out.
struct Picture {
  SYMBOL symbol;
  uint32_t size = 0;
  std::vector<RGBTRIPLET> table;
};

unsigned table_entries(uint16_t bits) {
  switch (bits) {
    case 1:
      return 2;
    case 4:
      return 16;
    case 8:
      return 256;
    default:
      return 0;
  }
}

uint32_t brightness(const RGBTRIPLET& c) {
  return uint32_t{c.r} * c.r + uint32_t{c.g} * c.g + uint32_t{c.b} * c.b;
}

// Checks the headers in the order the messages are documented; returns the
// failure message or none.
const char* check_header(const uint8_t* fh, const BmpHeader& h, bool have_palette) {
  if (fh[0] != 'B' || fh[1] != 'M') return "Error: Not a BMP file";
  if (h.infosize < kInfoHeaderSize) return "Error: BMP format";
  if (h.compression != 0) return "Error: BMP compression formats not supported";
  // Top-down pictures (negative height) would come out upside down.
  if ((h.width & 0xFFFF) == 0 || (h.height & 0xFFFF) == 0 || h.height < 0)
    return "Error: BMP Format";
  if (h.bits != 1 && h.bits != 4 && h.bits != 8 && h.bits != 24) return "Error: BMP format";
  if (h.bits == 24 && (h.width & 0xFFFF) > kMaxWidth24) return "Error: BMP Format";
  if ((h.bits == 4 || h.bits == 8) && !have_palette)
    return "Error: Parameters, missing palette pointers";
  return nullptr;
}

// Reads the colour table (blue, green, red, reserved per entry) into a
// zero-filled copy of the depth's full size. A colours-used count within
// that size limits the entries present in the file.
const char* read_table(ByteReader& in, const BmpHeader& h, std::vector<RGBTRIPLET>& table) {
  const unsigned entries = table_entries(h.bits);
  if (entries == 0) return nullptr;
  try {
    table.assign(entries, RGBTRIPLET{});
  } catch (const std::bad_alloc&) {
    return "Error Heap alloc";
  }
  const unsigned present = (h.colorsused >= 1 && h.colorsused <= entries) ? h.colorsused : entries;
  for (unsigned i = 0; i < present; ++i) {
    uint8_t q[4];
    if (!in.read(q, sizeof q)) return "Error File read";
    table[i] = {q[2], q[1], q[0]};
  }
  return nullptr;
}

// Copies one file row (rowbytes bytes, fill dropped) into the symbol row.
void store_row(const uint8_t* src, uint8_t* dst, uint32_t rowbytes, uint16_t bits, uint8_t mask) {
  if (bits == 24) {
    for (uint32_t i = 0; i + 2 < rowbytes; i += 3) {
      dst[i] = src[i + 2];
      dst[i + 1] = src[i + 1];
      dst[i + 2] = src[i];
    }
  } else if (bits == 1) {
    for (uint32_t i = 0; i < rowbytes; ++i) dst[i] = src[i] ^ mask;
  } else {
    std::memcpy(dst, src, rowbytes);
  }
}

// File rows are padded to a multiple of 4 bytes.
uint32_t file_stride(uint32_t rowbytes) {
  return (rowbytes + 3) & ~3u;
}

// True when the file holds every row still to be read. Checked before the
// symbol is allocated, so that a lying header cannot make the program claim
// memory the file cannot fill.
bool rows_present(const ByteReader& in, const char* path, const BmpHeader& h, uint32_t stride) {
  std::error_code ec;
  const uint64_t filesize = std::filesystem::file_size(path, ec);
  const uint64_t height = static_cast<uint16_t>(h.height);
  return !ec && filesize >= in.consumed() && filesize - in.consumed() >= uint64_t{stride} * height;
}

// Reads the pixel rows, bottom row first, handing each file row (fill
// included) to row(y, bytes).
template <class Row>
const char* for_each_row(ByteReader& in, const BmpHeader& h, std::vector<uint8_t>& filerow,
                         Row row) {
  for (uint32_t y = static_cast<uint16_t>(h.height); y-- > 0;) {
    if (!in.read(filerow.data(), filerow.size())) return "Error File read";
    row(y, filerow.data());
  }
  return nullptr;
}

// Reads the pixel rows into a new symbol.
const char* read_rows(ByteReader& in, const char* path, const BmpHeader& h, uint8_t mask,
                      Picture& pic) {
  const uint16_t width = static_cast<uint16_t>(h.width);
  const uint16_t height = static_cast<uint16_t>(h.height);
  const uint16_t numbits = h.bits;
  const uint32_t rowbytes = sym_rowbytes(width, numbits);
  const uint32_t stride = file_stride(rowbytes);
  if (!rows_present(in, path, h, stride)) return "Error File read";

  std::vector<uint8_t> filerow;
  try {
    pic.symbol = sym_blank(width, height, numbits);
    filerow.resize(stride);
  } catch (const std::bad_alloc&) {
    return "Error heap alloc";
  }
  uint8_t* pixels = pic.symbol.data() + (numbits == 1 ? kBwHeaderSize : kColourHeaderSize);
  const char* err = for_each_row(in, h, filerow, [&](uint32_t y, const uint8_t* src) {
    store_row(src, pixels + std::size_t{y} * rowbytes, rowbytes, numbits, mask);
  });
  if (err) return err;
  pic.size = rowbytes * height;
  return nullptr;
}

// Reads everything in front of the pixel rows: the headers, the colour table
// (with the inversion mask of a 1-bit picture) and any gap.
const char* read_head(ByteReader& in, bool have_palette, BmpHeader& h, Picture& pic,
                      uint8_t& mask) {
  uint8_t fh[kFileHeaderSize];
  uint8_t ih[kInfoHeaderSize];
  if (!in.read(fh, sizeof fh) || !in.read(ih, sizeof ih)) return "Error: File read";
  h = parse_header(fh, ih);
  if (const char* err = check_header(fh, h, have_palette)) return err;
  // Larger information headers carry colour-space data that is of no use here.
  if (!in.skip(h.infosize - kInfoHeaderSize)) return "Error: File read";
  if (const char* err = read_table(in, h, pic.table)) return err;
  mask = 0;
  if (h.bits == 1) {
    // A set bit in a b&w symbol stands for the darker colour.
    if (brightness(pic.table[0]) < brightness(pic.table[1])) mask = 0xFF;
    pic.table.clear();
  }
  // Writers may leave a gap before the pixel data; never go back, though.
  if (h.pixoffset > in.consumed() && !in.skip(h.pixoffset - in.consumed()))
    return "Error File read";
  return nullptr;
}

const char* read_picture(const char* path, bool have_palette, Picture& pic) {
  FilePtr file = file_open(path, "rb");
  if (!file) return "\n Open error";
  ByteReader in(file.get());
  BmpHeader h;
  uint8_t mask = 0;
  if (const char* err = read_head(in, have_palette, h, pic, mask)) return err;
  return read_rows(in, path, h, mask, pic);
}

}  // namespace

SYMBOL bmp_read(const char* path, uint32_t* size, std::vector<RGBTRIPLET>* palette) {
  if (!path) return {};
  Picture pic;
  if (const char* err = read_picture(path, palette != nullptr, pic)) {
    con_printf("%s File \"%s\"", err, path);
    return {};
  }
  if (size) *size = pic.size;
  if (palette) *palette = std::move(pic.table);
  return std::move(pic.symbol);
}

BmpStream bmp_read_into(const char* path, BmpRowSink& sink) {
  if (!path) return BmpStream::declined;
  FilePtr file = file_open(path, "rb");
  if (!file) return BmpStream::declined;
  ByteReader in(file.get());
  BmpHeader h;
  Picture head;
  uint8_t mask = 0;
  if (read_head(in, true, h, head, mask) || h.bits == 1) return BmpStream::declined;
  const uint16_t width = static_cast<uint16_t>(h.width);
  const uint16_t height = static_cast<uint16_t>(h.height);
  std::vector<uint8_t> filerow;
  try {
    filerow.resize(file_stride(sym_rowbytes(width, h.bits)));
  } catch (const std::bad_alloc&) {
    return BmpStream::declined;
  }
  if (!rows_present(in, path, h, static_cast<uint32_t>(filerow.size())) ||
      !sink.begin(width, height, h.bits, head.table))
    return BmpStream::declined;
  const char* err =
      for_each_row(in, h, filerow, [&](uint32_t y, const uint8_t* bytes) { sink.row(y, bytes); });
  if (err) {
    con_printf("%s File \"%s\"", err, path);
    return BmpStream::failed;
  }
  return BmpStream::done;
}
