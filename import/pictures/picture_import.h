// "tralk-import picture" without its console: the picture read row by row
// (twice where its colour table must be known before its rows are written),
// made b&w or grey levels where asked, and written as a BMP picture, with
// its palette where asked, the files replaced together.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "base/byte_source.h"
#include "base/outcome.h"
#include "base/palette.h"
#include "import/pictures/picture_options.h"

namespace tralk::importer {

struct ImportedPicture {
  uint32_t width = 0;
  uint32_t height = 0;
  unsigned bits = 24;             // bits per pixel of the file written
  uint32_t colours = 0;           // of the picture (its table's), or grey levels
  std::vector<RGBTRIPLET> table;  // the file's colour table, and the .pal's entries
  bool flattened = false;         // some pixel was not fully opaque
  uint64_t moved = 0;             // --palette: pixels of colours it lacks, set to the nearest
};

// Imports the picture opts name into opts.out (and opts.pal). A failure,
// with a one-line message, leaves every output as it was.
Outcome<ImportedPicture> import_picture(const PictureOptions& opts);
// The same from the picture's bytes in (read as the file opts name).
Outcome<ImportedPicture> import_picture(const PictureOptions& opts, std::unique_ptr<ByteSource> in);

}  // namespace tralk::importer
