#include "bitmap/bmp_rows.h"

#include "bitmap/symbol.h"

namespace {

// A file whose colour table holds fewer colours than its depth can name:
// every pixel must name one it holds (checked on the file's own indices).
bool names_held_colours(const uint8_t* row, const BmpHeader& h) {
  for (uint32_t x = 0; x < h.width; ++x)
    if (sym_row_getpixel(row, x, h.bits) >= h.table_used) return false;
  return true;
}

const Failure kUnheldColour = bmp_failure(Fault::format, BmpField::layout);

}  // namespace

BmpRows::BmpRows(ByteReader& in, const BmpHeader& h)
    : in_(in), h_(h), row_(sym_rowbytes(h.width, h.depth())) {
  if (h.packing == BmpPacking::rle) {
    rle_ = std::make_unique<RleRows>(in, h.width, h.height, h.bits);
    return;
  }
  file_row_.resize(h.file_stride());
  if (h.bits == 16 || h.bits == 32) masked_ = std::make_unique<MaskedPixels>(h.masks, h.bits);
}

Status BmpRows::next(const uint8_t*& pixels) {
  if (rle_) {
    pixels = row_.data();
    Status row = rle_->next(row_.data());
    if (row.ok() && h_.short_table() && !names_held_colours(pixels, h_)) return kUnheldColour;
    return row;
  }
  const uint8_t* file = in_.take(file_row_.size(), file_row_.data());
  if (!file) return bmp_failure(Fault::cut_short, BmpField::pixels);
  if (h_.short_table() && !names_held_colours(file, h_)) return kUnheldColour;
  pixels = row_.data();
  const uint32_t n = static_cast<uint32_t>(row_.size());
  if (masked_) {
    masked_->to_bgr(file, row_.data(), h_.width);
    if (!alpha_.empty()) masked_->to_alpha(file, alpha_.data(), h_.width);
  } else if (h_.bw_mask) {
    for (uint32_t i = 0; i < n; ++i) row_[i] = file[i] ^ h_.bw_mask;
  } else {
    pixels = file;  // indices, 24-bit pixels and 1-bit rows that need no inversion, as stored
  }
  return {};
}

Status BmpRows::finish() {
  if (rle_) return rle_->finish();
  // Transparency has no place in a symbol, unless the reader flattens it.
  if (masked_ && alpha_.empty() && !masked_->opaque())
    return bmp_failure(Fault::unsupported, BmpField::pixels);
  return {};
}

void BmpRows::keep_alpha() {
  if (masked_ && h_.masks[3] != 0) alpha_.resize(h_.width);
}
