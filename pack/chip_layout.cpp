#include "pack/chip_layout.h"

#include <algorithm>
#include <utility>

#include "base/text.h"

namespace tralk::pack {

namespace {

using ull = unsigned long long;

uint64_t align_up(uint64_t n, uint64_t align) {
  return (n + align - 1) / align * align;
}

// The extents taken so far, each [start, end).
class Taken {
 public:
  struct Extent {
    uint64_t start, end;
    size_t image;
  };
  // The first extent that [start, end) overlaps; none when it is free.
  const Extent* overlap(uint64_t start, uint64_t end) const {
    for (const Extent& e : extents_)
      if (start < e.end && e.start < end) return &e;
    return nullptr;
  }
  void add(uint64_t start, uint64_t end, size_t image) {
    extents_.push_back({start, end, image});
    std::sort(extents_.begin(), extents_.end(),
              [](const Extent& a, const Extent& b) { return a.start < b.start; });
  }
  // The lowest offset on the alignment from which size bytes are free
  // before chip_size; none when there is none.
  std::optional<uint64_t> first_fit(uint64_t size, const ChipGeometry& chip) const {
    uint64_t at = 0;
    for (const Extent& e : extents_) {
      if (at + size <= e.start) break;
      at = std::max(at, align_up(e.end, chip.align));
    }
    if (at + size > chip.size) return std::nullopt;
    return at;
  }
  // The largest free run on the alignment, and where it starts.
  std::pair<uint64_t, uint64_t> largest_free(const ChipGeometry& chip) const {
    std::pair<uint64_t, uint64_t> best{0, 0};
    uint64_t at = 0;
    for (const Extent& e : extents_) {
      if (e.start > at && e.start - at > best.first) best = {e.start - at, at};
      at = std::max(at, align_up(e.end, chip.align));
    }
    if (chip.size > at && chip.size - at > best.first) best = {chip.size - at, at};
    return best;
  }

 private:
  std::vector<Extent> extents_;
};

std::string extent_words(const ImageExtent& image, uint64_t offset) {
  return strf("%s (0x%llx to 0x%llx)", in_quotes(image.file).c_str(), ull(offset),
              ull(offset + image.size - 1));
}

// The problems of the offsets given on the command line.
std::vector<std::string> fixed_problems(const std::vector<ImageExtent>& images,
                                        const ChipGeometry& chip) {
  std::vector<std::string> problems;
  std::vector<size_t> fixed;
  for (size_t i = 0; i < images.size(); ++i) {
    const ImageExtent& image = images[i];
    if (!image.fixed) continue;
    const uint64_t at = *image.fixed;
    if (at % chip.align != 0) {
      const uint64_t below = at / chip.align * chip.align;
      problems.push_back(strf(
          "offset 0x%llx of %s is not on the %llu-byte alignment: 0x%llx and 0x%llx are", ull(at),
          in_quotes(image.file).c_str(), ull(chip.align), ull(below), ull(below + chip.align)));
    } else if (at + image.size > chip.size) {
      problems.push_back(strf("%s at 0x%llx ends %llu bytes past the chip's end (%llu bytes)",
                              in_quotes(image.file).c_str(), ull(at),
                              ull(at + image.size - chip.size), ull(chip.size)));
    } else {
      fixed.push_back(i);
    }
  }
  std::sort(fixed.begin(), fixed.end(),
            [&](size_t a, size_t b) { return *images[a].fixed < *images[b].fixed; });
  for (size_t k = 0; k < fixed.size(); ++k)
    for (size_t m = k + 1; m < fixed.size(); ++m) {
      const ImageExtent& a = images[fixed[k]];
      const ImageExtent& b = images[fixed[m]];
      const uint64_t a_end = *a.fixed + a.size;
      if (*b.fixed >= a_end) break;
      const uint64_t over = std::min(a_end, *b.fixed + b.size) - *b.fixed;
      problems.push_back(strf("images %s and %s overlap by %llu bytes",
                              extent_words(a, *a.fixed).c_str(), extent_words(b, *b.fixed).c_str(),
                              ull(over)));
    }
  return problems;
}

// The fewest bytes the images can take: each on the alignment, the one with
// the most padding last.
uint64_t least_span(const std::vector<ImageExtent>& images, uint64_t align) {
  uint64_t sum = 0, most_padding = 0;
  for (const ImageExtent& image : images) {
    const uint64_t taken = align_up(image.size, align);
    sum += taken;
    most_padding = std::max(most_padding, taken - image.size);
  }
  return sum - most_padding;
}

// The three largest images, as "ui.bin (50904 bytes), ...".
std::string largest_images(const std::vector<ImageExtent>& images) {
  std::vector<const ImageExtent*> order;
  for (const ImageExtent& image : images) order.push_back(&image);
  std::stable_sort(order.begin(), order.end(),
                   [](const ImageExtent* a, const ImageExtent* b) { return a->size > b->size; });
  std::string text;
  for (size_t i = 0; i < std::min<size_t>(3, order.size()); ++i)
    appendf(text, "%s%s (%llu bytes)", i ? ", " : "", order[i]->file.c_str(), ull(order[i]->size));
  return text;
}

const LayoutEntry* previous_of(const ImageExtent& image, const std::vector<LayoutEntry>* previous) {
  if (!previous) return nullptr;
  for (const LayoutEntry& entry : *previous)
    if (entry.name == image.name) return &entry;
  return nullptr;
}

// Why the image cannot stay at its previous offset; none when it can.
std::optional<std::string> cannot_stay(const ImageExtent& image, const LayoutEntry& old,
                                       const ChipGeometry& chip, const Taken& taken,
                                       const std::vector<ImageExtent>& images) {
  if (old.offset % chip.align != 0)
    return strf("0x%llx is not on the %llu-byte alignment", ull(old.offset), ull(chip.align));
  if (old.offset + image.size > chip.size) return std::string("it would end past the chip's end");
  if (const Taken::Extent* e = taken.overlap(old.offset, old.offset + image.size)) {
    if (image.size > old.size)
      return strf("it grew from %llu to %llu bytes and would overlap %s", ull(old.size),
                  ull(image.size), in_quotes(images[e->image].file).c_str());
    return strf("%s is given that place", in_quotes(images[e->image].file).c_str());
  }
  return std::nullopt;
}

}  // namespace

Outcome<std::vector<Placement>> place_images(const std::vector<ImageExtent>& images,
                                             const ChipGeometry& chip,
                                             const std::vector<LayoutEntry>* previous) {
  if (std::vector<std::string> problems = fixed_problems(images, chip); !problems.empty()) {
    std::string text;
    for (const std::string& p : problems) text += (text.empty() ? "" : "\n") + p;
    return Failure{Fault::usage, text};
  }
  const uint64_t span = least_span(images, chip.align);
  if (span > chip.size)
    return Failure{Fault::too_large,
                   strf("the images take %llu bytes on the %llu-byte alignment, %llu more than "
                        "the chip's %llu (--size)\n  The largest images: %s",
                        ull(span), ull(chip.align), ull(span - chip.size), ull(chip.size),
                        largest_images(images).c_str())};

  std::vector<Placement> placed(images.size());
  std::vector<bool> done(images.size(), false);
  Taken taken;
  for (size_t i = 0; i < images.size(); ++i)
    if (images[i].fixed) {
      placed[i].offset = *images[i].fixed;
      taken.add(*images[i].fixed, *images[i].fixed + images[i].size, i);
      done[i] = true;
    }
  // Images that did not grow stay first: a grown one never pushes an
  // unchanged one out of its place. Each kind in the order of its offset.
  std::vector<size_t> kept;
  for (size_t i = 0; i < images.size(); ++i) {
    const LayoutEntry* old = previous_of(images[i], previous);
    if (!old) continue;
    placed[i].old_offset = old->offset;
    if (!done[i]) kept.push_back(i);
  }
  for (const bool grown : {false, true}) {
    std::vector<size_t> kind;
    for (size_t i : kept)
      if ((images[i].size > previous_of(images[i], previous)->size) == grown) kind.push_back(i);
    std::stable_sort(kind.begin(), kind.end(), [&](size_t a, size_t b) {
      return *placed[a].old_offset < *placed[b].old_offset;
    });
    for (size_t i : kind) {
      const LayoutEntry& old = *previous_of(images[i], previous);
      placed[i].moved_because = cannot_stay(images[i], old, chip, taken, images);
      if (placed[i].moved_because) continue;
      placed[i].offset = old.offset;
      taken.add(old.offset, old.offset + images[i].size, i);
      done[i] = true;
    }
  }
  for (size_t i = 0; i < images.size(); ++i) {
    if (done[i]) continue;
    const std::optional<uint64_t> at = taken.first_fit(images[i].size, chip);
    if (!at) {
      const auto [free, where] = taken.largest_free(chip);
      return Failure{
          Fault::too_large,
          strf("%s (%llu bytes) fits in no free place of the chip: the largest is "
               "%llu bytes at 0x%llx\n  Pack anew without --layout, or give a larger "
               "--size",
               in_quotes(images[i].file).c_str(), ull(images[i].size), ull(free), ull(where))};
    }
    placed[i].offset = *at;
    taken.add(*at, *at + images[i].size, i);
    done[i] = true;
  }
  // An image given an offset that its layout had elsewhere moved too.
  for (size_t i = 0; i < images.size(); ++i) {
    Placement& p = placed[i];
    if (!p.old_offset || *p.old_offset == p.offset) {
      p.moved_because.reset();
    } else if (!p.moved_because) {
      p.moved_because = "it is given that offset";
    }
  }
  return placed;
}

}  // namespace tralk::pack
