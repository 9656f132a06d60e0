// The codepage of an imported font: its codes, in order, mapped to its
// symbols in order, written as ranges {first code, last code, symbol index
// of the first code} split wherever the codes have a gap.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tralk::importer {

struct CpRange {
  uint16_t first = 0;
  uint16_t last = 0;
  uint16_t symbol = 0;

  bool operator==(const CpRange&) const = default;
};

// The ranges of codes, which are ascending and at most 65535.
std::vector<CpRange> cp_ranges(const std::vector<uint16_t>& codes);

// The .cp file of ranges with default character defchar.
std::string cp_text(const std::vector<CpRange>& ranges, uint16_t defchar);

}  // namespace tralk::importer
