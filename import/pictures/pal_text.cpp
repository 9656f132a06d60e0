#include "import/pictures/pal_text.h"

namespace tralk::importer {

std::string pal_text(const std::vector<RGBTRIPLET>& entries, const std::string& about) {
  std::string text = "/* " + about + " */\n{\n";
  for (size_t i = 0; i < entries.size(); ++i) {
    const RGBTRIPLET& c = entries[i];
    text += "  {" + std::to_string(c.r) + ", " + std::to_string(c.g) + ", " + std::to_string(c.b) +
            (i + 1 < entries.size() ? "},\n" : "}\n");
  }
  return text + "}\n";
}

}  // namespace tralk::importer
