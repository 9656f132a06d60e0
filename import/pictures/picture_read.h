// Reading the picture "tralk-import picture" is given: PNG or BMP, told
// apart by their first bytes, whatever the file's name says.
#pragma once

#include <string>

#include "import/pictures/picture_request.h"
#include "import/pictures/rgb_picture.h"

// Reads the picture req names, flattened onto req's background, into pic.
// False, with a one-line message in error, when it cannot be read (or is
// neither PNG nor BMP), or is too large for tralk at req's depth.
bool read_picture(const PictureRequest& req, RgbPicture& pic, std::string& error);
