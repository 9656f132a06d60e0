// BMP pictures for "tralk-import picture": whatever tralk's own reader
// reads (bitmap/bmp_read.h), 16- and 32-bit pictures with transparency too,
// which are flattened onto the background (import/pictures/flatten.h).
#pragma once

#include "base/outcome.h"
#include "import/pictures/picture_request.h"

namespace tralk::importer {

// Reads the BMP picture req names. A failure, with a one-line message (the
// reader's own text for a picture it refuses) and the reader's code, when
// the picture cannot be read, or is too large for tralk at the depth asked
// for.
Outcome<LoadedPicture> read_bmp_picture(const PictureRequest& req);

}  // namespace tralk::importer
