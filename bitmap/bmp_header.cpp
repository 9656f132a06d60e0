#include "bitmap/bmp_header.h"

#include <bit>
#include <new>

#include "base/coding.h"
#include "bitmap/bmp_layout.h"
#include "fonts/symfont.h"

namespace {

using namespace bmp_layout;

// 3 x width must fit the 16-bit row length of a 24-bit symbol.
constexpr uint16_t kMaxWidthDirect = 21845;

// The header fields as stored.
struct RawHeader {
  uint8_t signature[2] = {};
  uint32_t pixoffset = 0;
  uint32_t infosize = 0;
  int64_t width = 0;
  int64_t height = 0;
  uint16_t bits = 0;
  uint32_t compression = kRgb;
  uint32_t colorsused = 0;
};

// Reads the file header and the fields of the information header; the OS/2
// form has 16-bit dimensions and no compression or colour count.
bool read_raw(ByteReader& in, RawHeader& r, uint8_t (&info)[kAlphaInHeader]) {
  uint8_t fh[kFileHeaderSize];
  if (!in.read(fh, sizeof fh) || !in.read(info, 4)) return false;
  r.signature[0] = fh[0];
  r.signature[1] = fh[1];
  r.pixoffset = get_u32le(fh + kAtPixelOffset);
  r.infosize = get_u32le(info);
  if (r.infosize == kCoreHeaderSize) {
    if (!in.read(info + 4, kCoreHeaderSize - 4)) return false;
    r.width = get_u16le(info + kAtCoreWidth);
    r.height = get_u16le(info + kAtCoreHeight);
    r.bits = get_u16le(info + kAtCoreBits);
    return true;
  }
  const unsigned fields = r.infosize >= kAlphaInHeader   ? kAlphaInHeader
                          : r.infosize >= kMasksInHeader ? kMasksInHeader
                                                         : kInfoHeaderSize;
  if (!in.read(info + 4, fields - 4)) return false;
  r.width = static_cast<int32_t>(get_u32le(info + kAtWidth));
  r.height = static_cast<int32_t>(get_u32le(info + kAtHeight));
  r.bits = get_u16le(info + kAtBits);
  r.compression = get_u32le(info + kAtCompression);
  r.colorsused = get_u32le(info + kAtColoursUsed);
  return true;
}

// Compressions that belong to the depth.
bool compression_fits(uint32_t compression, uint16_t bits) {
  return compression == kRgb || (compression == kRle8 && bits == 8) ||
         (compression == kRle4 && bits == 4) ||
         (compression == kBitfields && (bits == 16 || bits == 32));
}

bool valid_bits(uint16_t bits) {
  return bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
}

// A mask is one run of set bits within the pixel, or none.
bool valid_mask(uint32_t mask, uint16_t bits) {
  if (mask == 0) return true;
  if (bits < 32 && (mask >> bits) != 0) return false;
  const uint32_t run = mask >> std::countr_zero(mask);
  return (run & (run + 1)) == 0;
}

// The masks of 16- and 32-bit pixels: standard ones for uncompressed
// pixels, else from inside a large header or from the 12 bytes after a
// 40-byte one.
Status read_masks(ByteReader& in, const RawHeader& r, const uint8_t* info, BmpHeader& h) {
  if (h.packing != BmpPacking::bitfields) {
    if (h.bits == 16) h.masks = {0x7C00, 0x03E0, 0x001F, 0};
    if (h.bits == 32) h.masks = {0xFF0000, 0x00FF00, 0x0000FF, 0};
    return {};
  }
  uint8_t after[12];
  const uint8_t* at = info + kAtMasks;
  if (r.infosize < kMasksInHeader) {
    if (!in.read(after, sizeof after)) return bmp_failure(Fault::cut_short, BmpField::headers);
    at = after;
  }
  for (unsigned i = 0; i < 3; ++i) h.masks[i] = get_u32le(at + 4 * i);
  if (r.infosize >= kAlphaInHeader) h.masks[3] = get_u32le(info + kMasksInHeader);
  for (uint32_t m : h.masks) {
    if (!valid_mask(m, h.bits)) return bmp_failure(Fault::format, BmpField::layout);
  }
  return {};
}

unsigned table_entries(uint16_t bits) {
  return bits <= 8 ? 1u << bits : 0;
}

// The entries of the colour table in the file. A colours-used count within
// the depth's size limits them; the OS/2 form has no such count, and its
// table is as long as the room between the headers and the pixel data
// (writers that give it fewer than the depth's entries put the pixels
// right after them).
unsigned present_entries(const RawHeader& r, unsigned entries) {
  if (r.infosize != kCoreHeaderSize)
    return r.colorsused >= 1 && r.colorsused <= entries ? r.colorsused : entries;
  const uint32_t table_start = kFileHeaderSize + kCoreHeaderSize;
  if (r.pixoffset <= table_start) return entries;
  const uint32_t room = (r.pixoffset - table_start) / kCoreTableEntrySize;
  return room >= 1 && room < entries ? room : entries;
}

// Reads the colour table (blue, green, red and, but in the OS/2 form, a
// reserved byte per entry) into a zero-filled copy of the depth's full size.
Status read_table(ByteReader& in, const RawHeader& r, BmpHeader& h) {
  const unsigned entries = table_entries(h.bits);
  if (entries == 0) return {};
  try {
    h.table.assign(entries, RGBTRIPLET{});
  } catch (const std::bad_alloc&) {
    return bmp_failure(Fault::too_large, BmpField::colour_table);
  }
  const bool core = r.infosize == kCoreHeaderSize;
  h.table_used = present_entries(r, entries);
  for (unsigned i = 0; i < h.table_used; ++i) {
    uint8_t q[4];
    if (!in.read(q, core ? kCoreTableEntrySize : kTableEntrySize))
      return bmp_failure(Fault::cut_short, BmpField::colour_table);
    h.table[i] = {q[2], q[1], q[0]};
  }
  return {};
}

// Checks the fields in the order their messages are documented.
Status check_fields(const RawHeader& r, BmpHeader& h) {
  if (r.signature[0] != kSignature[0] || r.signature[1] != kSignature[1])
    return bmp_failure(Fault::format, BmpField::signature);
  if (r.infosize != kCoreHeaderSize && r.infosize < kInfoHeaderSize)
    return bmp_failure(Fault::format, BmpField::layout);
  if (!compression_fits(r.compression, r.bits))
    return bmp_failure(Fault::unsupported, BmpField::compression);
  h.top_down = r.height < 0;
  h.width = static_cast<uint16_t>(r.width);
  h.height = static_cast<uint16_t>(r.height < 0 ? -r.height : r.height);
  h.bits = r.bits;
  h.packing = r.compression == kBitfields ? BmpPacking::bitfields
              : r.compression == kRgb     ? BmpPacking::plain
                                          : BmpPacking::rle;
  // Run-length encoded rows are always stored bottom row first.
  if (h.width == 0 || h.height == 0 || (h.top_down && h.packing == BmpPacking::rle))
    return bmp_failure(Fault::format, BmpField::dimensions);
  if (!valid_bits(h.bits)) return bmp_failure(Fault::format, BmpField::layout);
  if (h.bits > 8 && h.width > kMaxWidthDirect)
    return bmp_failure(Fault::format, BmpField::dimensions);
  return {};
}

// True when the file can hold the rows still to be read. Checked before any
// pixel memory is taken, so that a lying header cannot make the program
// claim memory the file cannot fill: uncompressed rows must be there in
// full; run-length encoded ones may unpack to at most 64 times the file's
// size (their densest form, a run of 255 pixels in two bytes, gives about
// 128 times; pictures that dense are blank) plus 16 MiB.
Status check_size(const BmpHeader& h, uint64_t file_size, uint64_t consumed) {
  const uint64_t left = file_size >= consumed ? file_size - consumed : 0;
  if (h.packing == BmpPacking::rle) {
    const uint64_t block = uint64_t{sym_rowbytes(h.width, h.bits)} * h.height;
    if (block > 64 * file_size + (uint64_t{16} << 20))
      return bmp_failure(Fault::format, BmpField::layout);
    return {};
  }
  if (left < uint64_t{h.file_stride()} * h.height)
    return bmp_failure(Fault::cut_short, BmpField::pixels);
  return {};
}

}  // namespace

Status bmp_read_header(ByteReader& in, uint64_t file_size, BmpHeader& h) {
  RawHeader r;
  uint8_t info[kAlphaInHeader] = {};
  if (!read_raw(in, r, info)) return bmp_failure(Fault::cut_short, BmpField::headers);
  if (Status err = check_fields(r, h); !err.ok()) return err;
  if (Status err = read_masks(in, r, info, h); !err.ok()) return err;
  // The rest of a larger header carries colour-space data of no use here.
  const uint64_t header_end =
      kFileHeaderSize + uint64_t{r.infosize} +
      (h.packing == BmpPacking::bitfields && r.infosize < kMasksInHeader ? 12 : 0);
  if (in.consumed() < header_end && !in.skip(header_end - in.consumed()))
    return bmp_failure(Fault::cut_short, BmpField::headers);
  if (Status err = read_table(in, r, h); !err.ok()) return err;
  if (h.bits == 1) {
    if (rgb_brightness(h.table[0]) < rgb_brightness(h.table[1])) h.bw_mask = 0xFF;
  }
  // Writers may leave a gap before the pixel data; never go back, though.
  if (r.pixoffset > in.consumed() && !in.skip(r.pixoffset - in.consumed()))
    return bmp_failure(Fault::cut_short, BmpField::pixels);
  return check_size(h, file_size, in.consumed());
}
