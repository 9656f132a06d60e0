#include "inspect/dump_image.h"

#include <algorithm>
#include <filesystem>

#include "base/byte_size.h"
#include "base/coding.h"
#include "base/crc32.h"
#include "base/fileio.h"
#include "base/text.h"
#include "driver/path.h"
#include "inspect/font_names.h"
#include "inspect/header_macros.h"
#include "inspect/options.h"
#include "output/image_layout.h"

namespace tralk::inspector {

namespace {

using ull = unsigned long long;
constexpr uint32_t kErasedWord = 0xFFFFFFFFu;

Outcome<std::string> read_text(const std::string& path) {
  Outcome<FileBytes> bytes = read_whole_file(path);
  if (!bytes.ok())
    return Failure{bytes.code(), "cannot read " + in_quotes(path) + ": " + bytes.error()};
  return std::string(reinterpret_cast<const char*>(bytes->data()), bytes->size);
}

// Where the image that starts at start ends: at the first block that starts
// with erased bytes, or at the end of data. A block size that cannot be is
// left to the image reader, which says what is wrong with it.
size_t walk_end(const uint8_t* data, size_t start, size_t size) {
  size_t pos = start;
  while (pos < size) {
    const size_t remain = size - pos;
    if (remain < 4) {
      const bool erased = std::all_of(data + pos, data + size, [](uint8_t b) { return b == 0xFF; });
      return erased && pos > start ? pos : size;
    }
    const uint32_t block = get_u32le(data + pos);
    if (block == kErasedWord) return pos;
    if (block < image_layout::kMinBlock || block % 4 != 0 || block > remain) return size;
    pos += block;
  }
  return size;
}

// What a header says of an image's CRC-32: which macro says it, the value,
// and over how many bytes (its NAME_SIZE).
struct CrcClaim {
  std::string macro;  // 'UI_CRC32 in "ui.h"'
  uint32_t crc = 0;
  uint64_t size = 0;
};

// The header beside an image file (ui.h for ui.bin) and what it claims of
// the CRC-32, when it claims one: tralk's header with --checksum, or
// tralk-pack's, whose chip's NAME_SIZE covers the whole chip.
std::optional<CrcClaim> crc_beside(const std::string& image) {
  const std::string header = std::filesystem::path(image).replace_extension(".h").string();
  Outcome<std::string> text = read_text(header);
  if (!text.ok()) return std::nullopt;
  const HeaderMacros macros = header_macros(text.value());
  const std::string name = path_macro_name(image);
  const auto crc = macros.find(name + "_CRC32");
  const auto size = macros.find(name + "_SIZE");
  if (crc == macros.end() || size == macros.end()) return std::nullopt;
  return CrcClaim{name + "_CRC32 in " + in_quotes(header), static_cast<uint32_t>(crc->second),
                  size->second};
}

// Where storage index i of image falls: "symbol 17 of font block 1 (Text16)".
std::string place_of(uint64_t i, const InspectResult& image,
                     const std::optional<std::vector<std::string>>& names) {
  for (size_t n = 0; n < image.fonts.size(); ++n) {
    const FontRecord& f = image.fonts[n];
    if (i < f.index || i >= uint64_t{f.index} + f.blocksize) continue;
    const std::string block =
        "font block " + std::to_string(n) + (names ? " (" + (*names)[n] + ")" : std::string());
    if (i < f.index + uint64_t{image_layout::kBlockHeadSize}) return "the head of " + block;
    if (f.symindex == 0 || i < f.symindex) return "the codepage of " + block;
    const uint64_t per = uint64_t{f.symbytes} + image_layout::kStoredWidthSize;
    const uint64_t symbol = (i - f.symindex) / per;
    if (symbol < f.numsym) return strf("symbol %llu of ", ull(symbol)) + block;
    return "the fill of " + block;
  }
  return "no font block";
}

void compare(const InspectOptions& opts, const uint8_t* data, size_t size, DumpImage& dump,
             const FileBytes& ref) {
  const std::string name = in_quotes(*opts.compare);
  const size_t have = std::min(ref.size, size - dump.start);
  size_t first = have, count = 0;
  for (size_t i = 0; i < have; ++i)
    if (data[dump.start + i] != ref.data()[i]) {
      first = std::min(first, i);
      ++count;
    }
  if (count == 0 && have == ref.size) {
    appendf(dump.checks, "The dump holds %s at offset 0x%llx: all %llu bytes are the same\n",
            name.c_str(), ull(dump.start), ull(ref.size));
    return;
  }
  dump.compare_differs = true;
  if (count > 0) {
    const InspectResult image = inspect_image(ref.data(), ref.size);
    const Outcome<FileBytes> source = read_whole_file(source_beside(*opts.compare));
    std::optional<std::vector<std::string>> names;
    if (source.ok())
      names = font_names(std::string(reinterpret_cast<const char*>(source->data()), source->size),
                         image);
    appendf(dump.checks,
            "The dump differs from %s at offset 0x%llx in %llu of its %llu bytes, the first at "
            "storage index %llu (offset 0x%llx of the dump): %s\n",
            name.c_str(), ull(dump.start), ull(count), ull(ref.size), ull(first),
            ull(dump.start + first), place_of(first, image, names).c_str());
  }
  if (have < ref.size)
    appendf(dump.checks, "The dump ends %llu bytes before the end of %s\n", ull(ref.size - have),
            name.c_str());
}

}  // namespace

Outcome<DumpImage> read_dump(const InspectOptions& opts, const uint8_t* data, size_t size) {
  DumpImage dump;
  std::optional<HeaderMacros> chip;
  if (opts.chip) {
    Outcome<std::string> text = read_text(*opts.chip);
    if (!text.ok()) return text.failure();
    chip = header_macros(text.value());
  }
  const std::vector<ChipEntry> entries = chip ? chip_entries(*chip) : std::vector<ChipEntry>();
  std::optional<ChipEntry> entry;
  if (opts.at) {
    const std::optional<uint64_t> offset = parse_byte_size(*opts.at);
    const std::string name = path_macro_name(*opts.at);
    for (const ChipEntry& e : entries)
      if (offset ? e.offset == *offset : e.name == name) entry = e;
    if (!offset && !entry) {
      std::string names;
      for (const ChipEntry& e : entries) names += (names.empty() ? "" : ", ") + e.name;
      return Failure{Fault::not_found, "there is no image " + name + " in " +
                                           in_quotes(*opts.chip) +
                                           (names.empty() ? "" : "; it names " + names)};
    }
    const uint64_t at = offset ? *offset : entry->offset;
    if (at >= size)
      return Failure{Fault::not_found, strf("offset 0x%llx lies past the end of the dump (%llu "
                                            "bytes)",
                                            ull(at), ull(size))};
    dump.start = static_cast<size_t>(at);
  }
  std::optional<FileBytes> ref;
  if (opts.compare) {
    Outcome<FileBytes> bytes = read_whole_file(*opts.compare);
    if (!bytes.ok())
      return Failure{bytes.code(),
                     "cannot read " + in_quotes(*opts.compare) + ": " + bytes.error()};
    ref = std::move(bytes.value());
  }
  size_t end = walk_end(data, dump.start, size);
  if (entry || ref)
    end = static_cast<size_t>(
        std::min<uint64_t>(dump.start + (entry ? entry->size : ref->size), size));
  dump.size = end - dump.start;

  // After the image: the fill, up to the next image or the dump's end.
  uint64_t limit = size;
  for (const ChipEntry& e : entries)
    if (e.offset >= end) limit = std::min(limit, e.offset);
  const uint8_t fill = chip ? chip_fill(*chip) : 0xFF;
  const uint8_t* tail_end = data + std::min<uint64_t>(limit, size);
  const uint8_t* bad = std::find_if(data + end, tail_end, [fill](uint8_t b) { return b != fill; });
  if (bad != tail_end)
    dump.problems.push_back(
        {static_cast<uint32_t>(dump.size), "after the image",
         strf("byte 0x%02x at offset 0x%llx of the dump is not 0x%02x: no image lies there%s",
              unsigned{*bad}, ull(bad - data), unsigned{fill},
              chip ? "" : " (--chip names a chip's images)")});
  if (dump.start > 0 || end < size) {
    appendf(dump.head, "Dump %s: %llu bytes; the image at offset 0x%llx",
            in_quotes(opts.image).c_str(), ull(size), ull(dump.start));
    if (entry)
      appendf(dump.head, " (%s in %s)", entry->name.c_str(), in_quotes(*opts.chip).c_str());
    appendf(dump.head, ", %llu bytes", ull(dump.size));
    if (tail_end > data + end)
      appendf(dump.head, ", then %llu bytes of 0x%02x%s", ull(tail_end - (data + end)),
              unsigned{fill}, limit < size ? " up to the next image" : " to the end");
    dump.head += "\n";
  }

  std::optional<CrcClaim> crc;
  if (entry && entry->crc)
    crc = CrcClaim{entry->name + "_CRC32 in " + in_quotes(*opts.chip), *entry->crc, entry->size};
  else if (opts.compare)
    crc = crc_beside(*opts.compare);
  else if (!opts.at)
    crc = crc_beside(opts.image);
  if (crc && crc->size > size - dump.start) {
    dump.problems.push_back(
        {0, "CRC-32",
         strf("%s is of %llu bytes; the dump ends %llu bytes before", crc->macro.c_str(),
              ull(crc->size), ull(crc->size - (size - dump.start)))});
  } else if (crc) {
    const uint32_t got = crc32_of(data + dump.start, static_cast<size_t>(crc->size));
    if (got == crc->crc)
      appendf(dump.checks, "CRC-32 0x%08lx of %llu bytes, as %s says\n",
              static_cast<unsigned long>(got), ull(crc->size), crc->macro.c_str());
    else
      dump.problems.push_back(
          {0, "CRC-32",
           strf("0x%08lx of %llu bytes, but %s is 0x%08lx", static_cast<unsigned long>(got),
                ull(crc->size), crc->macro.c_str(), static_cast<unsigned long>(crc->crc))});
  }
  if (ref) compare(opts, data, size, dump, *ref);
  return dump;
}

}  // namespace tralk::inspector
