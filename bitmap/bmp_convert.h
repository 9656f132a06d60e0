// Pictures converted while they are read.
//
// bmp_read followed by a conversion holds the picture as read and the
// converted symbol at once. Converting each row as it comes from the file
// holds only the converted symbol and passes over the pixels once; the
// symbol, and every message, is the same as the other way.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "fonts/pal_load.h"
#include "fonts/symfont.h"

// Takes a picture's rows as the file gives them.
class BmpRowSink {
 public:
  virtual ~BmpRowSink() = default;
  // Called once the head of a 4-, 8- or 24-bit picture has been read and the
  // file is known to hold all its rows; table is the colour table copy (16
  // or 256 entries; none for 24 bits). False declines the picture (nothing
  // is printed).
  virtual bool begin(uint16_t width, uint16_t height, uint16_t bits,
                     const std::vector<RGBTRIPLET>& table) = 0;
  // Row y (0 is the top row) as stored in the file: 24-bit pixels as blue,
  // green, red; 4- and 8-bit pixels as indices, packed as in a symbol.
  // Rows come bottom row first.
  virtual void row(uint32_t y, const uint8_t* bytes) = 0;
};

enum class BmpStream {
  declined,  // nothing printed: not a picture the sink takes, or one with
             // a fault that bmp_read reports; read it the usual way
  failed,    // the file failed while its rows were read; bmp_read's message
             // has been printed
  done,
};

// Reads the picture at path into sink.
BmpStream bmp_read_into(const char* path, BmpRowSink& sink);

// What a 24-bit pixel becomes.
enum class Bmp24Target {
  rgb565,  // 16-bit 5-6-5 direct colour (colour format code 16)
  grey,    // a grey level of 1 (b&w form), 2, 4 or 8 bits
};

// A 24-bit picture converted as sym_colorconv (direct mode, convtype 16) or
// sym_greyconv converts it; depth is the grey level's bits. None when the
// usual way has to be taken; an empty symbol after a failure whose message
// has been printed.
std::optional<SYMBOL> bmp_read24_converted(const char* path, Bmp24Target target, uint16_t depth);

// A 4- or 8-bit picture converted to indices of palette (count entries) as
// bmp_load converts it in palette mode (sym_colorconv with convtype 0),
// narrowing pass and messages included. None, having printed nothing, when
// the usual way has to be taken; an empty symbol after a failure whose
// messages (bmp_load's "Color conversion error" included) have been printed.
std::optional<SYMBOL> bmp_read_palette_converted(const char* path, const RGBTRIPLET* palette,
                                                 uint16_t count);
