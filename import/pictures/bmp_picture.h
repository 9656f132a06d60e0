// BMP pictures for "tralk-import picture": whatever tralk's own reader
// reads (bitmap/bmp_read.h), 16- and 32-bit pictures with transparency too,
// which are flattened onto the background (import/flatten.h).
#pragma once

#include <string>

#include "import/pictures/picture_request.h"
#include "import/pictures/rgb_picture.h"

// Reads the BMP picture req names into pic. False, with a one-line message
// in error (the reader's own text for a picture it refuses), when the
// picture cannot be read, or is too large for tralk at the depth asked for.
bool read_bmp_picture(const PictureRequest& req, RgbPicture& pic, std::string& error);
