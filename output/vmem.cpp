// The virtual font image: one block per font, appended in list order.
#include "output/vmem.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "driver/console.h"

namespace {

constexpr uint16_t kFlagHeader = 1;
constexpr uint16_t kFlagSymbols = 2;
constexpr uint16_t kFlagCodepage = 4;
constexpr uint8_t kTypeVirtualFont = 1;
constexpr uint32_t kCodepageHeadSize = 4;  // numranges, defchar
constexpr uint32_t kRangeSize = 6;         // three 16-bit values
constexpr uint32_t kStoredWidthSize = 2;   // each stored symbol starts with its width

bool has_symbols(const SYMFONT& font) {
  return !font.symdata.empty();
}

// Computed in 64 bits so that a font too large for the 32-bit fields is
// refused instead of being written with a wrapped size.
uint64_t block_size(const SYMFONT& font) {
  uint64_t size = kBlockHeadSize;
  if (font.codepage) size += kCodepageHeadSize + uint64_t{kRangeSize} * font.codepage->numranges;
  if (has_symbols(font))
    size += uint64_t{font.numsym} * (uint64_t{font.symbytes} + kStoredWidthSize);
  return (size + 3) & ~uint64_t{3};
}

uint16_t block_flags(const SYMFONT& font) {
  uint16_t flags = kFlagHeader;
  if (has_symbols(font)) flags |= kFlagSymbols;
  if (font.codepage) flags |= kFlagCodepage;
  return flags;
}

// Sequential stores into the room that vmem_reserve has made; no bounds
// checks here, the block was sized before anything is written.
class BlockWriter {
 public:
  explicit BlockWriter(VMEMBUF& buf) : buf_(buf) {}
  uint32_t pos() const { return buf_.vmpos; }
  void put8(uint8_t v) { buf_.vmdata[buf_.vmpos++] = v; }
  void put16(uint16_t v) {
    put_u16le(&buf_.vmdata[buf_.vmpos], v);
    buf_.vmpos += 2;
  }
  void put32(uint32_t v) { vmem_put32(buf_, v); }
  // Copies n bytes from the n available at src; the rest of n is zero.
  void bytes(const uint8_t* src, size_t avail, size_t n) {
    const size_t copied = std::min(avail, n);
    // Through the data pointer: the zero run may end exactly at the end of
    // the buffer, where indexing would be out of range.
    uint8_t* at = buf_.vmdata.data() + buf_.vmpos;
    if (copied) std::memcpy(at, src, copied);
    std::memset(at + copied, 0, n - copied);
    buf_.vmpos += static_cast<uint32_t>(n);
  }
  void fill_to(size_t end) {
    while (buf_.vmpos < end) put8(0);
  }

 private:
  VMEMBUF& buf_;
};

// A font record whose symbol data or codepage is shorter than its counts
// claim reads as zeros beyond its end instead of beyond the buffer.
uint16_t value_at(const SymbolBytes& data, size_t off) {
  const uint8_t lo = off < data.size() ? data[off] : 0;
  const uint8_t hi = off + 1 < data.size() ? data[off + 1] : 0;
  return static_cast<uint16_t>(lo | (hi << 8));
}

void write_head(BlockWriter& w, const SYMFONT& font, uint32_t size) {
  w.put32(size);
  w.put16(block_flags(font));
  w.put8(kTypeVirtualFont);
  w.put8(static_cast<uint8_t>(sym_numbits(font)));
  w.put16(0);
  w.put16(font.symwidth);
  w.put16(font.symheight);
  w.put16(0);
  w.put16(font.numsym);
  w.put32(font.symbytes);
}

void write_codepage(BlockWriter& w, const CPTABLE& cp, uint32_t* rangeindex) {
  w.put16(cp.numranges);
  w.put16(cp.defchar);
  if (rangeindex) *rangeindex = w.pos();
  const size_t values = size_t{cp.numranges} * 3;
  for (size_t i = 0; i < values; ++i) w.put16(i < cp.ranges.size() ? cp.ranges[i] : 0);
}

// Each symbol is stored as its own width followed by its pixel bytes; the
// rest of its header is implied by the block head.
void write_symbols(BlockWriter& w, const SYMFONT& font) {
  const bool colour = sym_is_colour(font);
  const size_t header = colour ? kColourHeaderSize : kBwHeaderSize;
  const size_t width_at = colour ? 4 : 0;
  const size_t stride = header + font.symbytes;
  const SymbolBytes& data = font.symdata;
  for (size_t i = 0; i < font.numsym; ++i) {
    const size_t sym = i * stride;
    w.put16(value_at(data, sym + width_at));
    const size_t pixels = sym + header;
    const size_t avail = pixels < data.size() ? data.size() - pixels : 0;
    w.bytes(avail ? &data[pixels] : nullptr, avail, font.symbytes);
  }
}

}  // namespace

VmemBufPtr vmem_reserve(VmemBufPtr buf, uint32_t n) {
  try {
    if (!buf) buf = std::make_unique<VMEMBUF>();
    if (buf->vmpos > buf->vmdata.size()) buf->vmpos = static_cast<uint32_t>(buf->vmdata.size());
    const uint64_t need = uint64_t{buf->vmpos} + n;
    if (need > kVmemMaxSize) return nullptr;
    std::vector<uint8_t>& data = buf->vmdata;
    if (data.size() < need) {
      // Doubling keeps the total copying linear in the image size.
      if (data.capacity() < need) {
        data.reserve(
            std::max<uint64_t>(need, std::min<uint64_t>(2 * data.capacity(), kVmemMaxSize)));
      }
      data.resize(need);
    }
    return buf;
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
}

void vmem_put32(VMEMBUF& buf, uint32_t value) {
  put_u32le(&buf.vmdata[buf.vmpos], value);
  buf.vmpos += 4;
}

void vmem_set32(VMEMBUF& buf, uint32_t pos, uint32_t value) {
  put_u32le(&buf.vmdata[pos], value);
}

void vmem_free(VmemBufPtr buf) {
  buf.reset();
}

VmemBufPtr vmem_addfont(VmemBufPtr buf, const SYMFONT& font, uint32_t* symindex,
                        uint32_t* rangeindex, VmemFail* fail) {
  if (fail) *fail = VmemFail::none;
  const uint64_t size = block_size(font);
  const uint64_t start = buf ? buf->vmpos : 0;
  if (start + size > kVmemMaxSize) {
    con_printf("\nError: virtual font image exceeds 4294967295 bytes");
    if (fail) *fail = VmemFail::too_large;
    return nullptr;
  }
  buf = vmem_reserve(std::move(buf), static_cast<uint32_t>(size));
  if (!buf) {
    if (fail) *fail = VmemFail::heap;
    return nullptr;
  }

  BlockWriter w(*buf);
  const uint32_t end = buf->vmpos + static_cast<uint32_t>(size);
  write_head(w, font, static_cast<uint32_t>(size));
  const uint32_t cpslot = w.pos();
  w.put32(0);
  w.put32(0);
  const uint32_t symslot = w.pos();
  w.put32(0);
  w.put32(0);

  if (font.codepage) {
    vmem_set32(*buf, cpslot, w.pos());
    write_codepage(w, *font.codepage, rangeindex);
  }
  if (has_symbols(font)) {
    vmem_set32(*buf, symslot, w.pos());
    if (symindex) *symindex = w.pos();
    write_symbols(w, font);
  }
  w.fill_to(end);
  return buf;
}
