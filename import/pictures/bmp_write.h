// Pictures written as the plainest BMP, the form every reader takes: a
// 14-byte file header, the 40-byte information header, the colour table
// (blue, green, red, 0 per entry; as many entries as the picture has
// colours, which the colours-used field says), then the rows bottom row
// first, uncompressed, each padded with zero bytes to a multiple of 4.
// 72 dpi (2835 pixels per metre) both ways.
#pragma once

#include <string>
#include <vector>

#include "base/palette.h"
#include "base/rgb_picture.h"

namespace tralk::importer {

// The file of pic at bits per pixel: 24 (blue, green, red), or 1, 4 or 8
// (indices into table, which holds every colour of the picture; see
// import/pictures/colour_table.h).
std::string bmp_encode(const RgbPicture& pic, unsigned bits, const std::vector<RGBTRIPLET>& table);

}  // namespace tralk::importer
