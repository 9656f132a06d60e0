#include "output/vmem.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <new>

#include "output/image_layout.h"

using namespace image_layout;

namespace {

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
  return (size + kBlockAlign - 1) / kBlockAlign * kBlockAlign;
}

uint16_t block_flags(const SYMFONT& font) {
  uint16_t flags = kFlagHeader;
  if (has_symbols(font)) flags |= kFlagSymbols;
  if (font.codepage) flags |= kFlagCodepage;
  return flags;
}

// Bytes gathered into pieces of a useful size before they go out.
class Staging {
 public:
  explicit Staging(const ImageSink& out) : out_(out) {}
  ~Staging() { flush(); }
  void put(const uint8_t* p, size_t n) {
    if (used_ + n > buf_.size()) flush();
    if (n >= buf_.size()) {
      for (size_t piece; n > 0; p += piece, n -= piece) out_(p, piece = std::min(n, kPiece));
      return;
    }
    std::memcpy(buf_.data() + used_, p, n);
    used_ += n;
  }
  void put16(uint16_t v) {
    uint8_t b[2];
    put_u16le(b, v);
    put(b, 2);
  }
  void zeros(size_t n) {
    static constexpr uint8_t kZeros[64] = {};
    for (; n > 0; n -= std::min(n, sizeof kZeros)) put(kZeros, std::min(n, sizeof kZeros));
  }
  void flush() {
    if (used_) out_(buf_.data(), used_);
    used_ = 0;
  }

 private:
  // Large runs go out in pieces of this size: the stream passes pieces
  // this large straight to the host, while one write of a whole picture
  // would be copied through its buffer (measured: a quarter of a 24-bit
  // picture's run).
  static constexpr size_t kPiece = size_t{1} << 20;

  const ImageSink& out_;
  std::array<uint8_t, 64 * 1024> buf_;
  size_t used_ = 0;
};

void write_head(Staging& out, const FONTBLOCK& b) {
  const SYMFONT& font = *b.font;
  uint8_t head[kBlockHeadSize] = {};
  put_u32le(head + kAtBlockSize, b.size);
  put_u16le(head + kAtFlags, block_flags(font));
  head[kAtType] = kTypeVirtualFont;
  head[kAtNumbits] = static_cast<uint8_t>(sym_numbits(font));
  put_u16le(head + kAtSymWidth, font.symwidth);
  put_u16le(head + kAtSymHeight, font.symheight);
  put_u16le(head + kAtNumSym, font.numsym);
  put_u32le(head + kAtSymBytes, font.symbytes);
  if (font.codepage) put_u32le(head + kAtCodepageIndex, b.rangeindex - kCodepageHeadSize);
  put_u32le(head + kAtSymbolIndex, b.symindex);
  out.put(head, sizeof head);
}

// A codepage whose ranges are fewer than its count claims reads as zeros.
void write_codepage(Staging& out, const CPTABLE& cp) {
  out.put16(cp.numranges);
  out.put16(cp.defchar);
  const size_t values = size_t{cp.numranges} * 3;
  for (size_t i = 0; i < values; ++i) out.put16(i < cp.ranges.size() ? cp.ranges[i] : 0);
}

// Each symbol is stored as its own width followed by its pixel bytes; the
// rest of its header is implied by the block head. Symbol data shorter than
// its counts claim reads as zeros beyond its end.
void write_symbols(Staging& out, const SYMFONT& font) {
  const bool colour = sym_is_colour(font);
  const size_t header = colour ? kColourHeaderSize : kBwHeaderSize;
  const size_t width_at = colour ? 4 : 0;
  const size_t stride = header + font.symbytes;
  const SymbolBytes& data = font.symdata;
  for (size_t i = 0; i < font.numsym; ++i) {
    const size_t sym = i * stride;
    const size_t pixels = sym + header;
    out.put16(sym + width_at + 1 < data.size() ? get_u16le(&data[sym + width_at]) : 0);
    const size_t avail =
        pixels < data.size() ? std::min<size_t>(data.size() - pixels, font.symbytes) : 0;
    if (avail) out.put(&data[pixels], avail);
    out.zeros(font.symbytes - avail);
  }
}

}  // namespace

Outcome<FONTBLOCK> vmem_addfont(VMEMBUF& buf, const SYMFONT& font) {
  const uint64_t size = block_size(font);
  if (buf.vmpos + size > kMaxImageSize)
    return Failure{Fault::too_large, "Error: virtual font image exceeds 4294967295 bytes"};
  FONTBLOCK b;
  b.font = &font;
  b.start = buf.vmpos;
  b.size = static_cast<uint32_t>(size);
  uint32_t at = b.start + kBlockHeadSize;
  if (font.codepage) {
    b.rangeindex = at + kCodepageHeadSize;
    at = b.rangeindex + kRangeSize * font.codepage->numranges;
  }
  if (has_symbols(font)) b.symindex = at;
  try {
    buf.blocks.push_back(b);
  } catch (const std::bad_alloc&) {
    return Failure{Fault::too_large, "Heap error"};
  }
  buf.vmpos += b.size;
  return b;
}

Outcome<VMEMBUF> vmem_layout(const FONTLIST& list) {
  VMEMBUF layout;
  for (const FONTENTRY& entry : list.entries) {
    if (!entry.font) continue;
    if (Outcome<FONTBLOCK> block = vmem_addfont(layout, *entry.font); !block.ok())
      return block.failure();
  }
  return layout;
}

void vmem_write(const VMEMBUF& buf, const ImageSink& sink) {
  Staging out(sink);
  for (const FONTBLOCK& b : buf.blocks) {
    write_head(out, b);
    uint64_t written = kBlockHeadSize;
    if (b.font->codepage) {
      write_codepage(out, *b.font->codepage);
      written += kCodepageHeadSize + uint64_t{kRangeSize} * b.font->codepage->numranges;
    }
    if (has_symbols(*b.font)) {
      write_symbols(out, *b.font);
      written += uint64_t{b.font->numsym} * (b.font->symbytes + kStoredWidthSize);
    }
    out.zeros(b.size - written);
  }
}
