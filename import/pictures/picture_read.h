// Opening the picture "tralk-import" is given: PNG or BMP, told apart by
// their first bytes, whatever the file's name says.
#pragma once

#include <memory>

#include "base/byte_source.h"
#include "base/outcome.h"
#include "import/pictures/picture_request.h"
#include "import/pictures/picture_source.h"

namespace tralk::importer {

// Opens the picture req names, to be read row by row, flattened onto req's
// background. A failure, with a one-line message, when it cannot be opened
// or its head read (or it is neither PNG nor BMP, or a PNG whose signature
// a transfer as text damaged), or it is too large for tralk at req's depth
// or for the importer.
Outcome<std::unique_ptr<PictureSource>> open_picture(const PictureRequest& req);
// The same from the picture's bytes in (read as the file req names).
Outcome<std::unique_ptr<PictureSource>> open_picture(const PictureRequest& req,
                                                     std::unique_ptr<ByteSource> in);

// The whole picture in, read through open_picture: for pictures
// known to be small (the tests' and the fuzz harness's).
Outcome<LoadedPicture> read_picture(const PictureRequest& req, std::unique_ptr<ByteSource> in);

}  // namespace tralk::importer
