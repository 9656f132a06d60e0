// BMP pictures for "tralk-import picture": whatever tralk's own reader
// reads (bitmap/bmp_read.h), 16- and 32-bit pictures with transparency too,
// which are flattened onto the background (import/pictures/flatten.h).
#pragma once

#include <memory>

#include "base/byte_source.h"
#include "base/outcome.h"
#include "import/pictures/picture_read.h"
#include "import/pictures/picture_request.h"

namespace tralk::importer {

// Reads the head of the BMP picture in (the file req names). A failure, with
// a one-line message (the words of tralk's messages for a picture it
// refuses) and the reader's code, when the head cannot be read, or the
// picture is too large for tralk at the depth asked for, or for the
// importer. Its rows come in the file's order.
Outcome<std::unique_ptr<PictureSource>> open_bmp_picture(const PictureRequest& req,
                                                         std::unique_ptr<ByteSource> in);

}  // namespace tralk::importer
