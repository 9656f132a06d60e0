// The virtual font image, built in memory one font block per font.
//
// A font block: a 38-byte head (block size, flags, type, numbits, symbol
// width and height, number of symbols, bytes in a symbol, codepage index,
// symbol index), the codepage section, the symbol section and zero fill to a
// multiple of 4. Every number is little-endian; every index counts from the
// start of the image.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "fonts/symfont.h"

struct VMEMBUF {
  std::vector<uint8_t> vmdata;  // image bytes; its size is the room reserved
  uint32_t vmpos = 0;           // write position: the image size so far
};
using VmemBufPtr = std::unique_ptr<VMEMBUF>;

constexpr uint32_t kBlockHeadSize = 38;
// Largest image whose sizes and storage indexes fit the 32-bit fields.
constexpr uint64_t kVmemMaxSize = 0xFFFFFFFFu;

// Why vmem_addfont gave no buffer back.
enum class VmemFail { none, heap, too_large };

// Appends font's block to buf (a new buffer when none is given). Sets
// *symindex when the font has symbol data and *rangeindex when it has a
// codepage. Returns none, with buf released, when memory runs out (silently:
// the caller reports it) or the image would outgrow 32-bit storage indexes
// (printing "\nError: virtual font image exceeds 4294967295 bytes"); *fail,
// when given, tells which.
VmemBufPtr vmem_addfont(VmemBufPtr buf, const SYMFONT& font, uint32_t* symindex,
                        uint32_t* rangeindex, VmemFail* fail = nullptr);
// A buffer with at least n free bytes after vmpos; none, with buf released,
// when memory runs out or vmpos + n would exceed kVmemMaxSize. The reserved
// bytes are zero; capacity grows geometrically, so an image of many fonts is
// built in linear time.
VmemBufPtr vmem_reserve(VmemBufPtr buf, uint32_t n);
// Stores value little-endian at vmpos and advances it by 4.
void vmem_put32(VMEMBUF& buf, uint32_t value);
// Stores value little-endian at the storage index pos; vmpos stays.
void vmem_set32(VMEMBUF& buf, uint32_t pos, uint32_t value);
// Releases the buffer; none is accepted.
void vmem_free(VmemBufPtr buf);
