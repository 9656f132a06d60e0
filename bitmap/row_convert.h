// Rows of pixels converted from one packing to another: the one place where
// pixels change form, used alike for pictures as they are read and for
// symbols already in memory. Every converter writes whole output rows, the
// bits past a row's last pixel as 0.
#pragma once

#include <array>
#include <cstdint>

#include "bitmap/symbol.h"

class RowConverter {
 public:
  virtual ~RowConverter() = default;
  // Bits per pixel of the rows made.
  virtual uint16_t out_bits() const = 0;
  // Converts the width pixels of the row at in into the row at out.
  virtual void convert(const uint8_t* in, uint8_t* out, uint32_t width) = 0;
};

// Index rows (1, 2, 4 or 8 bits) looked up in a table of values of out_bits
// bits (1, 2, 4, 8, 16 or 24); how often each index occurs is counted. Rows
// of 16- or 24-bit values are taken as indices too: a value beyond the table
// becomes 0 and is counted apart.
class LookupRows : public RowConverter {
 public:
  using Table = std::array<uint32_t, 256>;
  LookupRows(uint16_t in_bits, uint16_t out_bits, const Table& table);
  uint16_t out_bits() const override { return out_bits_; }
  void convert(const uint8_t* in, uint8_t* out, uint32_t width) override;
  const std::array<uint64_t, 256>& counts() const { return counts_; }
  // Pixels whose value lay beyond the table.
  uint64_t beyond() const { return beyond_; }

 private:
  uint16_t in_bits_;
  uint16_t out_bits_;
  Table table_;
  std::array<uint64_t, 256> counts_{};
  uint64_t beyond_ = 0;
};

// The order of the bytes of 24-bit pixels: symbols hold red, green, blue;
// pictures are read as their files store them, blue, green, red.
enum class Order { rgb, bgr };

// Direct colours of 8 (3-3-2), 16 (5-6-5) or 24 bits repacked into another
// of these layouts; rows of one depth in and out (indices too) are copied.
class RepackRows : public RowConverter {
 public:
  RepackRows(uint16_t in_bits, uint16_t out_bits, Order order = Order::rgb)
      : in_bits_(in_bits), out_bits_(out_bits), order_(order) {}
  uint16_t out_bits() const override { return out_bits_; }
  void convert(const uint8_t* in, uint8_t* out, uint32_t width) override;

 private:
  uint16_t in_bits_;
  uint16_t out_bits_;
  Order order_;
};

// 24-bit colours as grey levels of 1, 2, 4 or 8 bits.
class GreyRows : public RowConverter {
 public:
  explicit GreyRows(uint16_t out_bits, Order order = Order::rgb)
      : out_bits_(out_bits), order_(order) {}
  uint16_t out_bits() const override { return out_bits_; }
  void convert(const uint8_t* in, uint8_t* out, uint32_t width) override;

 private:
  uint16_t out_bits_;
  Order order_;
};

// Grey value (0 to 255) of a colour: (76 R + 150 G + 30 B) / 256.
inline uint8_t rgb_grey(const RGBTRIPLET& c) {
  return static_cast<uint8_t>((76u * c.r + 150u * c.g + 30u * c.b) / 256);
}

// Bits per pixel of grey levels: 2 levels (or 0) give 1 bit, up to 4 give 2,
// up to 16 give 4, more give 8.
uint16_t grey_depth(uint32_t levels);

// The grey levels, 0 being black, of a picture's colour table, for
// LookupRows: the level (depth bits, the top bits of the grey value) of each
// index of a table of count entries (count at least 1); indices beyond the
// table take its last entry.
LookupRows::Table grey_table(const RGBTRIPLET* palette, uint16_t count, uint16_t depth);

// Converts every row of source (whose shape is src) into result, a symbol of
// the same size at conv's depth.
void convert_rows(const SYMBOL& source, const SYMSHAPE& src, RowConverter& conv, SYMBOL& result);
// The same into a new symbol; sym_create's failure when it cannot be made.
Outcome<SYMBOL> convert_symbol(const SYMBOL& source, const SYMSHAPE& src, RowConverter& conv);
