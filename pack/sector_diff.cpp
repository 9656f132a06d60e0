#include "pack/sector_diff.h"

#include <algorithm>
#include <cstring>

namespace tralk::pack {

namespace {

void name_images(SectorRange& range, const std::vector<LayoutEntry>& layout) {
  std::vector<const LayoutEntry*> sorted;
  for (const LayoutEntry& e : layout) sorted.push_back(&e);
  std::sort(sorted.begin(), sorted.end(),
            [](const LayoutEntry* a, const LayoutEntry* b) { return a->offset < b->offset; });
  const uint64_t end = range.offset + range.size;
  uint64_t covered_to = range.offset;  // bytes before it lie in images
  for (const LayoutEntry* e : sorted) {
    const uint64_t e_end = e->offset + e->size;
    if (e_end <= range.offset || e->offset >= end) continue;
    range.images.push_back(e->file);
    if (e->offset > covered_to) range.free_space = true;
    covered_to = std::max(covered_to, e_end);
  }
  if (covered_to < end) range.free_space = true;
}

}  // namespace

std::vector<SectorRange> differing_sectors(const uint8_t* old_chip, const uint8_t* new_chip,
                                           uint64_t size, uint64_t sector,
                                           const std::vector<LayoutEntry>* layout) {
  std::vector<SectorRange> ranges;
  for (uint64_t at = 0; at < size; at += sector) {
    const uint64_t n = std::min(sector, size - at);
    if (std::memcmp(old_chip + at, new_chip + at, static_cast<size_t>(n)) == 0) continue;
    if (!ranges.empty() && ranges.back().offset + ranges.back().size == at)
      ranges.back().size += n;
    else
      ranges.push_back({at, n, {}, false});
  }
  if (layout)
    for (SectorRange& range : ranges) name_images(range, *layout);
  return ranges;
}

}  // namespace tralk::pack
