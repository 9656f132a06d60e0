// What "tralk-import picture" asks of a picture reader, and what a reader
// hands back.
#pragma once

#include <string>

#include "base/palette.h"
#include "base/rgb_picture.h"

namespace tralk::importer {

struct PictureRequest {
  std::string path;                      // the picture file, as named in messages
  RGBTRIPLET background{255, 255, 255};  // what transparency is flattened onto
  unsigned depth = 24;                   // the depth it is to be written at: 1, 4, 8 or 24
};

// A picture as read: opaque pixels, transparency already flattened onto the
// background.
struct LoadedPicture {
  RgbPicture pixels;
  bool flattened = false;  // some pixel was not fully opaque in the file
};

}  // namespace tralk::importer
