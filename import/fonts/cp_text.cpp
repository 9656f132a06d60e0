#include "import/fonts/cp_text.h"

namespace tralk::importer {

std::vector<CpRange> cp_ranges(const std::vector<uint16_t>& codes) {
  std::vector<CpRange> ranges;
  for (size_t i = 0; i < codes.size(); ++i) {
    if (ranges.empty() || codes[i] != ranges.back().last + 1)
      ranges.push_back({codes[i], codes[i], static_cast<uint16_t>(i)});
    else
      ranges.back().last = codes[i];
  }
  return ranges;
}

std::string cp_text(const std::vector<CpRange>& ranges, uint16_t defchar) {
  std::string out = "{" + std::to_string(ranges.size()) + ", " + std::to_string(defchar) +
                    "},  /* number of ranges, default character */\n{\n";
  for (size_t i = 0; i < ranges.size(); ++i) {
    const CpRange& r = ranges[i];
    out += "  {" + std::to_string(r.first) + ", " + std::to_string(r.last) + ", " +
           std::to_string(r.symbol) + "}";
    if (i + 1 < ranges.size()) out += ',';
    if (i == 0) out += "  /* first code, last code, symbol index of the first code */";
    out += '\n';
  }
  return out + "}\n";
}

}  // namespace tralk::importer
