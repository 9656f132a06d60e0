// PNG pictures through libpng: every colour type and bit depth, interlaced
// or not, palette and tRNS transparency, 16-bit channels. The pixels are
// taken as stored: gamma, colour profiles and the other ancillary chunks are
// skipped (tRNS aside), as a BMP picture's pixels are taken.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

#include "base/byte_source.h"
#include "base/outcome.h"
#include "import/pictures/picture_read.h"
#include "import/pictures/picture_request.h"

namespace tralk::importer {

// True when bytes (n of them) start with the PNG signature.
bool is_png_signature(const uint8_t* bytes, size_t n);

// True when bytes (n of them) start with the PNG signature as a transfer in
// text mode leaves it: its CR LF made LF, or its LF made CR LF.
bool is_text_mangled_png_signature(const uint8_t* bytes, size_t n);

// Reads the head of the PNG picture in (the file req names). A failure, with a one-line message
// (with libpng's reason for a damaged file), when the head cannot be read or the picture is too
// large for tralk at the depth asked for, or for the importer
// (import/pictures/picture_read.h). Its rows come top row first, those of
// an interlaced picture once the file is read whole.
Outcome<std::unique_ptr<PictureSource>> open_png_picture(const PictureRequest& req,
                                                         std::unique_ptr<ByteSource> in);

}  // namespace tralk::importer
