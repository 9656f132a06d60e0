// Contact sheets: the symbols of an image drawn side by side in a picture,
// one row per font under a label that names it, scaled up so that small
// glyphs can be read, and written as a PNG file.
//
// The geometry, in sheet pixels, at scale s: a margin of 8 all round; each
// font's label (its name, or "font block N"), drawn in the inspector's own
// 5 x 9 font at label scale (s + 2) / 3, then 4 below it the font's rows of
// at most 32 symbols, each symbol's pixel an s x s square, 4 between two
// symbols and 8 between two rows and between one font's last row and the
// next font's label. The sheet is as wide as its widest row or label.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "base/outcome.h"
#include "base/palette.h"
#include "base/rgb_picture.h"
#include "inspect/image_reader.h"
#include "inspect/pixel_colour.h"

namespace tralk::inspector {

// Geometry of a sheet, in sheet pixels.
// Pictures beyond these sizes are refused: common PNG readers reject wider
// or taller ones, and pictures are built in memory.
constexpr uint64_t kPictureMaxSide = 1000000;
constexpr uint64_t kPictureMaxPixels = uint64_t{1} << 26;
// Without a given scale, pictures make the tallest font about this high.
constexpr uint32_t kAutoHeight = 48;
constexpr uint32_t kAutoMaxScale = 8;

// The size of a picture in pixels.
struct Extent {
  uint64_t width = 0;
  uint64_t height = 0;
  bool fits() const {
    return width <= kPictureMaxSide && height <= kPictureMaxSide &&
           width * height <= kPictureMaxPixels;
  }
};

constexpr uint32_t kSheetMargin = 8;           // around everything
constexpr uint32_t kSheetGap = 4;              // between two symbols
constexpr uint32_t kSheetRowGap = 8;           // between two rows
constexpr uint32_t kSheetSymbolsPerLine = 32;  // a longer font goes on in a new row
constexpr uint32_t kSheetLabelGap = 4;         // between a label and its font's first row
constexpr uint32_t kSheetMaxScale = 64;
constexpr RGBTRIPLET kSheetBackground{96, 112, 128};
constexpr RGBTRIPLET kSheetLabelColour{255, 255, 255};

// The scale of the labels on a sheet of scale s: a third of it, rounded up.
constexpr uint32_t sheet_label_scale(uint32_t s) {
  return (s + 2) / 3;
}

// Where the top left pixel of one symbol lies on the sheet.
struct SheetPlace {
  size_t font = 0;
  size_t symbol = 0;
  uint32_t x = 0;
  uint32_t y = 0;
};

// Where the top left pixel of a font's label lies, and what it says.
struct SheetLabel {
  size_t font = 0;
  uint32_t x = 0;
  uint32_t y = 0;
  std::string text;
};

struct SheetLayout {
  uint32_t width = 0;
  uint32_t height = 0;
  uint32_t scale = 1;
  std::vector<SheetPlace> places;
  std::vector<SheetLabel> labels;
};

// Lays out the drawable symbols of every font, or of font block `only`,
// each font under its label: its name in names (one per font) where given,
// else "font block N". scale 0 picks one that makes the tallest font about
// 48 pixels high (at most 8), smaller where the sheet would be too large. A
// failure, with the reason, when there is nothing to draw (Fault::not_found)
// or the sheet would be too large (Fault::too_large).
Outcome<SheetLayout> sheet_layout(const InspectResult& result, std::optional<size_t> only,
                                  uint32_t scale, const std::vector<std::string>* names);

// Draws the laid-out labels and symbols on the background: each symbol
// pixel as a scale x scale square in its colour (b&w as black ink on white),
// the labels in white.
RgbPicture draw_sheet(const InspectResult& result, const SheetLayout& layout,
                      const ReadingOptions& opts);

// The picture as an 8-bit RGB PNG file's bytes; a failure with libpng's
// reason.
Outcome<std::vector<uint8_t>> png_encode(const RgbPicture& picture);

// Encodes and writes a picture to path, whole or not at all; a failure
// with the system's reason ("cannot write \"a.png\": No space left on
// device"), as the importer words it.
Status png_write(const RgbPicture& picture, const std::string& path);

}  // namespace tralk::inspector
