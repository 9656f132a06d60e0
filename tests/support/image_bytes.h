// The bytes of an image laid out by the image writer, gathered in memory.
#pragma once

#include <cstdint>
#include <vector>

#include "fonts/symfont.h"
#include "output/vmem.h"

inline std::vector<uint8_t> image_bytes(const VMEMBUF& layout) {
  std::vector<uint8_t> bytes;
  vmem_write(layout, [&bytes](const uint8_t* p, size_t n) { bytes.insert(bytes.end(), p, p + n); });
  return bytes;
}

// The image of fonts laid out in order; fails the test when one does not fit.
inline std::vector<uint8_t> image_of(const std::vector<const SYMFONT*>& fonts) {
  VMEMBUF layout;
  for (const SYMFONT* f : fonts) {
    if (!vmem_addfont(layout, *f).ok()) return {};
  }
  return image_bytes(layout);
}
