// An image inside a dump, a chip read back with the programmer: where it
// starts (--at, or by its name in the chip's header, --chip), where it ends
// (the chip header's size, the --compare image's, or where the walk of its
// blocks meets erased bytes), and what is wrong around it: bytes after its
// end that are not erased (0xFF, or the chip's fill) up to the next image or
// the dump's end, a CRC-32 that is not the header's, bytes that are not
// those of the --compare image.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "base/outcome.h"
#include "inspect/image_reader.h"

namespace tralk::inspector {

struct InspectOptions;

struct DumpImage {
  size_t start = 0;  // the image's first byte in the dump
  size_t size = 0;   // its bytes
  // Lines printed before the table: where the image lies, what follows it.
  std::string head;
  // Lines printed after it: the CRC-32 and the comparison.
  std::string checks;
  // Problems found around the image, at storage indexes of the image.
  std::vector<Problem> problems;
  bool compare_differs = false;
};

// Finds the image of opts in data[0..size) and checks what opts ask.
// Failures: a --chip or --compare file that cannot be read, an --at name
// the chip header lacks, an offset past the dump's end.
Outcome<DumpImage> read_dump(const InspectOptions& opts, const uint8_t* data, size_t size);

}  // namespace tralk::inspector
