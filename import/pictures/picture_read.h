// Reading the picture "tralk-import picture" is given: PNG or BMP, told
// apart by their first bytes, whatever the file's name says.
#pragma once

#include "base/outcome.h"
#include "import/pictures/picture_request.h"

namespace tralk::importer {

// Reads the picture req names, flattened onto req's background. A failure,
// with a one-line message, when it cannot be read (or is neither PNG nor
// BMP), or is too large for tralk at req's depth.
Outcome<LoadedPicture> read_picture(const PictureRequest& req);

}  // namespace tralk::importer
