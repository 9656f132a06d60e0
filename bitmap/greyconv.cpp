#include "bitmap/greyconv.h"

#include "bitmap/row_convert.h"
#include "bitmap/symbol.h"

LookupRows::Table grey_table(const RGBTRIPLET* palette, uint16_t count, uint16_t depth) {
  LookupRows::Table levels{};
  for (unsigned i = 0; i < levels.size(); ++i)
    levels[i] = rgb_grey(palette[i < count ? i : count - 1u]) >> (8 - depth);
  return levels;
}
