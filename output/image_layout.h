// The layout of a virtual font image, shared by its writer and its readers.
//
// The image is one block per font, back to back, nothing before, between or
// after them. A block: a 38-byte head, the codepage section, the symbol
// section and zero fill to a multiple of 4. Every number is little-endian;
// every index counts from the start of the image.
//
//   offset  size  field
//   0       4     block size, the whole block (a multiple of 4)
//   4       2     flags: kFlagHeader, + kFlagSymbols, + kFlagCodepage
//   6       1     type, kTypeVirtualFont
//   7       1     numbits of colour symbols, 0 for b&w ones
//   8       2     reserved
//   10      2     symbol width (the average)
//   12      2     symbol height
//   14      2     reserved
//   16      2     number of symbols
//   18      4     pixel bytes of a symbol
//   22      4     storage index of the codepage section, or 0
//   26      4     reserved
//   30      4     storage index of the symbol section, or 0
//   34      4     reserved
//   38            codepage section: number of ranges, default character (16
//                 bits each), then the ranges, three 16-bit values each
//                 symbol section: each symbol its own width (16 bits), then
//                 its pixel bytes
#pragma once

#include <cstdint>

namespace image_layout {

constexpr uint32_t kBlockHeadSize = 38;
constexpr uint32_t kBlockAlign = 4;
// The smallest block: a bare head, filled.
constexpr uint32_t kMinBlock = (kBlockHeadSize + kBlockAlign - 1) / kBlockAlign * kBlockAlign;

constexpr uint16_t kFlagHeader = 1;
constexpr uint16_t kFlagSymbols = 2;
constexpr uint16_t kFlagCodepage = 4;
constexpr uint8_t kTypeVirtualFont = 1;

// Offsets of the head's fields.
constexpr uint32_t kAtBlockSize = 0;
constexpr uint32_t kAtFlags = 4;
constexpr uint32_t kAtType = 6;
constexpr uint32_t kAtNumbits = 7;
constexpr uint32_t kAtSymWidth = 10;
constexpr uint32_t kAtSymHeight = 12;
constexpr uint32_t kAtNumSym = 16;
constexpr uint32_t kAtSymBytes = 18;
constexpr uint32_t kAtCodepageIndex = 22;
constexpr uint32_t kAtSymbolIndex = 30;
// Reserved bytes of the head, which hold 0.
constexpr uint32_t kReserved[][2] = {{8, 2}, {14, 2}, {26, 4}, {34, 4}};

constexpr uint32_t kCodepageHeadSize = 4;  // number of ranges, default character
constexpr uint32_t kRangeSize = 6;         // three 16-bit values
constexpr uint32_t kStoredWidthSize = 2;   // each stored symbol starts with its width

// Largest image whose sizes and storage indexes fit their 32-bit fields.
constexpr uint64_t kMaxImageSize = 0xFFFFFFFFu;

}  // namespace image_layout
