#include "import/pictures/median_cut.h"

#include <algorithm>
#include <array>

namespace tralk::importer {

namespace {

using Colours = std::vector<WeightedColour>;

unsigned channel(uint32_t value, unsigned c) {
  return (value >> (16 - 8 * c)) & 0xFF;
}

struct Box {
  size_t begin = 0;
  size_t end = 0;
  unsigned widest = 0;  // channel: 0 red, 1 green, 2 blue
  unsigned width = 0;   // its maximum minus minimum
};

Box measure(const Colours& colours, size_t begin, size_t end) {
  Box box{begin, end};
  for (unsigned c = 0; c < 3; ++c) {
    unsigned low = 255, high = 0;
    for (size_t i = begin; i < end; ++i) {
      low = std::min(low, channel(colours[i].value, c));
      high = std::max(high, channel(colours[i].value, c));
    }
    if (high - low > box.width || c == 0) {
      box.widest = c;
      box.width = high - low;
    }
  }
  return box;
}

// Cuts box in two as step 2 says; the first part stays in box.
Box cut(Colours& colours, Box& box) {
  const unsigned c = box.widest;
  std::sort(colours.begin() + box.begin, colours.begin() + box.end,
            [c](const WeightedColour& a, const WeightedColour& b) {
              const unsigned ca = channel(a.value, c), cb = channel(b.value, c);
              return ca != cb ? ca < cb : a.value < b.value;
            });
  uint64_t total = 0;
  for (size_t i = box.begin; i < box.end; ++i) total += colours[i].pixels;
  size_t at = box.begin + 1;
  for (uint64_t so_far = colours[box.begin].pixels; at < box.end - 1 && 2 * so_far < total; ++at)
    so_far += colours[at].pixels;
  const Box second = measure(colours, at, box.end);
  box = measure(colours, box.begin, at);
  return second;
}

RGBTRIPLET mean(const Colours& colours, const Box& box) {
  std::array<uint64_t, 3> sums{};
  uint64_t total = 0;
  for (size_t i = box.begin; i < box.end; ++i) {
    for (unsigned c = 0; c < 3; ++c)
      sums[c] += uint64_t{channel(colours[i].value, c)} * colours[i].pixels;
    total += colours[i].pixels;
  }
  total = std::max<uint64_t>(total, 1);
  auto round = [total](uint64_t sum) {
    return static_cast<uint8_t>((2 * sum + total) / (2 * total));
  };
  return {round(sums[0]), round(sums[1]), round(sums[2])};
}

}  // namespace

std::vector<RGBTRIPLET> median_cut(std::vector<WeightedColour> colours, unsigned n) {
  std::vector<Box> boxes;
  if (!colours.empty()) boxes.push_back(measure(colours, 0, colours.size()));
  while (boxes.size() < n) {
    Box* widest = nullptr;
    for (Box& b : boxes)
      if (b.end - b.begin > 1 && (!widest || b.width > widest->width)) widest = &b;
    if (!widest) break;
    const Box second = cut(colours, *widest);
    boxes.push_back(second);
  }
  std::vector<RGBTRIPLET> palette;
  for (const Box& b : boxes) palette.push_back(mean(colours, b));
  auto value = [](RGBTRIPLET c) { return uint32_t{c.r} << 16 | uint32_t{c.g} << 8 | c.b; };
  std::sort(palette.begin(), palette.end(),
            [&](RGBTRIPLET a, RGBTRIPLET b) { return value(a) < value(b); });
  palette.erase(std::unique(palette.begin(), palette.end()), palette.end());
  return palette;
}

}  // namespace tralk::importer
