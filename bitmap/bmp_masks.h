// 16- and 32-bit pixels: each channel picked out by its mask and widened to
// 8 bits by repeating its bits (a 5-bit 31 becomes 255, 16 becomes 132); a
// channel wider than 8 bits keeps its top 8 bits.
#pragma once

#include <array>
#include <cstdint>

class MaskedPixels {
 public:
  // masks: red, green, blue, alpha (0 for none); bits: 16 or 32.
  MaskedPixels(const std::array<uint32_t, 4>& masks, uint16_t bits);

  // Writes width pixels of a file row as blue, green, red bytes, the order
  // of a 24-bit picture's pixels.
  void to_bgr(const uint8_t* file_row, uint8_t* bgr, uint32_t width);
  // Writes the alpha of width pixels of a file row, widened to 8 bits as the
  // colours are (255 is opaque), for a reader that flattens transparency
  // itself. Only for pixels with an alpha mask.
  void to_alpha(const uint8_t* file_row, uint8_t* alpha, uint32_t width) const;
  // True while every pixel converted had its alpha channel full (or the
  // pixels have none).
  bool opaque() const { return opaque_; }

 private:
  struct Channel {
    uint32_t mask = 0;
    unsigned shift = 0;
    unsigned width = 0;
    std::array<uint8_t, 128> widened{};  // for channels narrower than 8 bits
    uint8_t take(uint32_t pixel) const;
  };

  uint32_t pixel_at(const uint8_t* p) const;

  std::array<Channel, 3> colour_;
  Channel alpha_;
  unsigned bytes_;
  bool opaque_ = true;
};
