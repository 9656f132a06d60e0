// A codepage: which symbol of a font each character code selects.
#pragma once

#include <cstdint>
#include <vector>

// numranges GCP_RANGE elements of three 16-bit values each: first code, last
// code, index of the first code's symbol.
struct CPTABLE {
  uint16_t numranges = 0;
  uint16_t defchar = 0;
  std::vector<uint16_t> ranges;  // 3 values per range, in file order
};
