#include "fonts/textscan.h"

#include <algorithm>

#include "base/text.h"

MemoryBytes text_body(TextBytes text) {
  static const uint8_t kBom[] = {0xEF, 0xBB, 0xBF};
  const size_t start = text.size() >= 3 && std::equal(kBom, kBom + 3, text.data()) ? 3 : 0;
  return MemoryBytes(text.data() + start, text.data() + text.size());
}

uint32_t text_line(TextBytes text, const uint8_t* at) {
  // The character last read lies just before at; a line end read there
  // still belongs to the line it ends.
  const size_t offset = at > text.data() ? static_cast<size_t>(at - text.data()) - 1 : 0;
  return line_at(std::string_view(reinterpret_cast<const char*>(text.data()), text.size()), offset);
}
