// The layout of a BMP file's head, shared by tralk's reader
// (bitmap/bmp_header.cpp) and the importer's writer. Every number is
// little-endian (base/coding.h).
//
//   file header (14 bytes)  0 "BM", 2 file size, 6 reserved, 10 offset of the pixels
//   information header      0 its size (12: OS/2; 40; 52 and 56 with masks; larger),
//     40-byte form          4 width, 8 height (negative: top row first), 12 planes,
//                           14 bits per pixel, 16 compression, 20 pixel bytes,
//                           24 and 28 pixels per metre, 32 colours used,
//                           36 colours important, 40 the masks where they are inside
//     OS/2 form             4 width, 6 height (16 bits each), 8 planes, 10 bits per pixel
//   colour table            blue, green, red and a reserved byte per entry
//                           (3 bytes in the OS/2 form)
#pragma once

#include <cstdint>

namespace bmp_layout {

constexpr uint8_t kSignature[2] = {'B', 'M'};
constexpr unsigned kFileHeaderSize = 14;
constexpr unsigned kAtFileSize = 2;
constexpr unsigned kAtPixelOffset = 10;

constexpr unsigned kCoreHeaderSize = 12;  // OS/2
constexpr unsigned kInfoHeaderSize = 40;
constexpr unsigned kMasksInHeader = 52;  // red, green and blue masks inside the header
constexpr unsigned kAlphaInHeader = 56;  // and the alpha mask

// Fields of the information header, from its start.
constexpr unsigned kAtWidth = 4;
constexpr unsigned kAtHeight = 8;
constexpr unsigned kAtPlanes = 12;
constexpr unsigned kAtBits = 14;
constexpr unsigned kAtCompression = 16;
constexpr unsigned kAtImageSize = 20;
constexpr unsigned kAtXPixelsPerMetre = 24;
constexpr unsigned kAtYPixelsPerMetre = 28;
constexpr unsigned kAtColoursUsed = 32;
constexpr unsigned kAtColoursImportant = 36;
constexpr unsigned kAtMasks = 40;
// The OS/2 form's fields.
constexpr unsigned kAtCoreWidth = 4;
constexpr unsigned kAtCoreHeight = 6;
constexpr unsigned kAtCoreBits = 10;

constexpr uint32_t kRgb = 0;
constexpr uint32_t kRle8 = 1;
constexpr uint32_t kRle4 = 2;
constexpr uint32_t kBitfields = 3;

constexpr unsigned kTableEntrySize = 4;
constexpr unsigned kCoreTableEntrySize = 3;

// Bytes of one uncompressed row: rows are padded to a multiple of 4.
constexpr uint32_t row_stride(uint32_t width, unsigned bits) {
  return (width * bits + 31) / 32 * 4;
}

}  // namespace bmp_layout
