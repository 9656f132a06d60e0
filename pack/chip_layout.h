// Where each image goes in the chip: images given an offset go there; with
// the layout of the previous run, every other image that still fits at its
// old offset stays there (one that did not grow before one that did); the
// rest take the first free place on the alignment, in the order given.
// Nothing is written unless every image has its place.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "base/outcome.h"

namespace tralk::pack {

struct ImageExtent {
  std::string file;  // as messages and the layout file name it
  std::string name;  // its C name (UI for ui.bin), by which layouts match
  uint64_t size = 0;
  std::optional<uint64_t> fixed;  // the offset given on the command line
};

// One line of a layout file: an image's offset and size.
struct LayoutEntry {
  uint64_t offset = 0;
  uint64_t size = 0;
  std::string file;
  std::string name;
};

struct ChipGeometry {
  uint64_t size = 0;
  uint64_t align = 1;
};

struct Placement {
  uint64_t offset = 0;
  // Set when the image was in the previous layout and moved: why.
  std::optional<std::string> moved_because;
  std::optional<uint64_t> old_offset;
};

// The offset of each image, in the order of images. A failure (Fault::usage
// for an offset given on the command line that cannot be, Fault::too_large
// for images that do not fit) whose text has one line per problem, each
// naming the images and the bytes in the way.
Outcome<std::vector<Placement>> place_images(const std::vector<ImageExtent>& images,
                                             const ChipGeometry& chip,
                                             const std::vector<LayoutEntry>* previous);

}  // namespace tralk::pack
