// What "tralk-import picture" asks of a picture reader.
#pragma once

#include <string>

#include "base/palette.h"

struct PictureRequest {
  std::string path;                      // the picture file, as named in messages
  RGBTRIPLET background{255, 255, 255};  // what transparency is flattened onto
  unsigned depth = 24;                   // the depth it is to be written at: 1, 4, 8 or 24
};

// A name as messages show it, in double quotes.
inline std::string quoted(const std::string& name) {
  return "\"" + name + "\"";
}
