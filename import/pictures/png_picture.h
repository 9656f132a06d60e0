// PNG pictures through libpng: every colour type and bit depth, interlaced
// or not, palette and tRNS transparency, 16-bit channels. The pixels are
// taken as stored: gamma, colour profiles and the other ancillary chunks are
// skipped (tRNS aside), as a BMP picture's pixels are taken.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>

#include "base/outcome.h"
#include "import/pictures/picture_request.h"

namespace tralk::importer {

// True when bytes (n of them) start with the PNG signature.
bool is_png_signature(const uint8_t* bytes, size_t n);

// Reads the PNG file f, the picture req names (file_size bytes, read from
// its start; 0 when unknown), flattened onto its background
// (import/pictures/flatten.h). A failure, with a one-line message (with
// libpng's reason for a damaged file), when the picture cannot be read, or
// is too large for tralk at the depth asked for
// (import/pictures/picture_limits.h).
Outcome<LoadedPicture> read_png_picture(std::FILE* f, uint64_t file_size,
                                        const PictureRequest& req);

}  // namespace tralk::importer
