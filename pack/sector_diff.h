// The sectors in which a new chip differs from the old one, so that an
// update erases and writes only those: consecutive differing sectors make
// one range, and each range names the images of the new layout that it
// touches.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "pack/chip_layout.h"

namespace tralk::pack {

struct SectorRange {
  uint64_t offset = 0;
  uint64_t size = 0;                // whole sectors, the last one cut at the chip's end
  std::vector<std::string> images;  // files of the layout's images in it, by offset
  bool free_space = false;          // it holds bytes of no image too
};

// The ranges of differing sectors of two chips of size bytes.
std::vector<SectorRange> differing_sectors(const uint8_t* old_chip, const uint8_t* new_chip,
                                           uint64_t size, uint64_t sector,
                                           const std::vector<LayoutEntry>* layout);

}  // namespace tralk::pack
