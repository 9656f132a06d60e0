#include "import/pictures/picture_import.h"

#include <algorithm>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include "base/file_set.h"
#include "base/make_rule.h"
#include "base/outfile.h"
#include "base/set_lock.h"
#include "base/text.h"
#include "fonts/pal_load.h"
#include "import/pictures/bmp_write.h"
#include "import/pictures/colour_table.h"
#include "import/pictures/pal_text.h"
#include "import/pictures/palette_rows.h"
#include "import/pictures/picture_read.h"

namespace tralk::importer {

namespace {

// The table of a picture of grey levels: white and black at 1 bit (a set
// bit is ink), else the grey of each level, black first.
std::vector<RGBTRIPLET> grey_table(unsigned levels) {
  if (levels == 2) return {{255, 255, 255}, {0, 0, 0}};
  std::vector<RGBTRIPLET> table;
  for (unsigned k = 0; k < levels; ++k) {
    const uint8_t v = level_grey(k, levels);
    table.push_back({v, v, v});
  }
  return table;
}

// The ways to a picture of more colours than a colour table of depth bits
// holds.
std::string fewer_colours_advice(unsigned depth) {
  if (depth == 1) return ": --threshold N or --dither makes it b&w";
  if (depth == 4)
    return ": --dither makes it 16 grey levels, --palette IN.pal the colours of a palette";
  return ": --palette IN.pal makes it the colours of a palette";
}

// The first reading: the picture's colours, and its table at depth bits.
Outcome<ColourTable> picture_colours(PictureSource& source, const PictureRequest& req) {
  ColourCounter counter;
  const uint32_t width = source.width();
  const Status read = for_each_row(
      source, false, [&](uint32_t, const uint8_t* rgb) { counter.add_row(rgb, width); });
  if (!read.ok()) return read.failure();
  ColourTable table = counter.table(req.depth, req.background);
  if (table.entries.empty())
    return Failure{Fault::too_large, in_quotes(req.path) + " has " + std::to_string(table.colours) +
                                         " colours; --depth " + std::to_string(req.depth) +
                                         " holds at most " + std::to_string(1u << req.depth) +
                                         fewer_colours_advice(req.depth)};
  return table;
}

// Each colour of a table's index.
class ColourIndex {
 public:
  explicit ColourIndex(const std::vector<RGBTRIPLET>& table) {
    for (size_t i = 0; i < table.size(); ++i)
      pairs_.emplace_back(colour_value(table[i]), static_cast<uint8_t>(i));
    // Of two equal entries (a b&w table of one colour) the first is used.
    std::stable_sort(pairs_.begin(), pairs_.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
  }
  uint8_t operator()(const uint8_t* rgb) const {
    const uint32_t v = colour_value({rgb[0], rgb[1], rgb[2]});
    return std::lower_bound(pairs_.begin(), pairs_.end(), v,
                            [](const auto& p, uint32_t key) { return p.first < key; })
        ->second;
  }

 private:
  std::vector<std::pair<uint32_t, uint8_t>> pairs_;
};

// The colours of --palette, as tralk's palette reader takes them, when the
// depth can hold them in a way tralk's palette mode reads.
Outcome<std::vector<RGBTRIPLET>> given_palette(const PictureOptions& opts) {
  Outcome<PALTABLE> read = pal_read(opts.palette.c_str());
  const std::string name = in_quotes(opts.palette);
  if (!read.ok()) return Failure{read.code(), "cannot use palette " + name + ": " + read.error()};
  std::vector<RGBTRIPLET> entries = std::move(read->entries);
  const std::string colours =
      std::to_string(entries.size()) + (entries.size() == 1 ? " colour" : " colours");
  if (opts.request.depth == 4 && entries.size() > 16)
    return Failure{Fault::too_large, name + " has " + colours + "; --depth 4 holds at most 16"};
  if (opts.request.depth == 8 && entries.size() < kMaxPaletteEntries && opts.pal.empty())
    return Failure{Fault::unsupported,
                   "tralk's palette mode reads an 8-bit picture only with a palette of 256 "
                   "colours, and " +
                       name + " has " + colours +
                       ": add --pal OUT.pal to write it filled up with black"};
  return entries;
}

// The second reading: every row converted and written; at a palette given,
// each pixel its nearest colour of palette.
Status write_rows(PictureSource& source, const PictureOptions& opts,
                  const std::vector<RGBTRIPLET>& table, const std::vector<RGBTRIPLET>& palette,
                  BmpWriter& writer, uint64_t& moved) {
  const uint32_t width = source.width();
  std::vector<uint8_t> indices(width);
  if (opts.grey) {
    GreyLevels grey(*opts.grey, width);
    const bool bw = opts.grey->levels == 2;
    return for_each_row(source, opts.grey->dither == Dither::floyd_steinberg,
                        [&](uint32_t y, const uint8_t* rgb) {
                          grey.row(rgb, y, indices.data());
                          // At 1 bit entry 0 is paper (level 1), entry 1 ink.
                          if (bw)
                            for (uint8_t& i : indices) i = static_cast<uint8_t>(1 - i);
                          writer.put_row(y, indices.data());
                        });
  }
  if (opts.request.depth == 24)
    return for_each_row(source, false,
                        [&](uint32_t y, const uint8_t* rgb) { writer.put_row(y, rgb); });
  if (!palette.empty()) {
    const bool diffused = opts.palette_dither == Dither::floyd_steinberg;
    PaletteRows rows(palette, diffused, width);
    const Status read = for_each_row(source, diffused, [&](uint32_t y, const uint8_t* rgb) {
      rows.row(rgb, indices.data());
      writer.put_row(y, indices.data());
    });
    moved = rows.moved();
    return read;
  }
  const ColourIndex index(table);
  return for_each_row(source, false, [&](uint32_t y, const uint8_t* rgb) {
    for (uint32_t x = 0; x < width; ++x) indices[x] = index(rgb + 3 * x);
    writer.put_row(y, indices.data());
  });
}

// tralk's palette mode takes an 8-bit picture only when its table and the
// palette have 256 entries: the table is filled up with black.
std::vector<RGBTRIPLET> palette_table(std::vector<RGBTRIPLET> table, unsigned bits) {
  if (bits == 8) table.resize(kMaxPaletteEntries, RGBTRIPLET{0, 0, 0});
  return table;
}

}  // namespace

Outcome<ImportedPicture> import_picture(const PictureOptions& opts) {
  const PictureRequest& req = opts.request;
  Outcome<std::unique_ptr<PictureSource>> opened = open_picture(req);
  if (!opened.ok()) return opened.failure();
  PictureSource& source = *opened.value();
  ImportedPicture result;
  result.width = source.width();
  result.height = source.height();
  result.bits = req.depth == 2 ? 4 : req.depth;
  std::vector<RGBTRIPLET> table, palette;
  if (!opts.palette.empty()) {
    Outcome<std::vector<RGBTRIPLET>> given = given_palette(opts);
    if (!given.ok()) return given.failure();
    palette = std::move(given.value());
    table = palette;
    result.colours = static_cast<uint32_t>(palette.size());
  } else if (opts.grey) {
    table = grey_table(opts.grey->levels);
    result.colours = opts.grey->levels;
  } else if (req.depth != 24) {
    Outcome<ColourTable> colours = picture_colours(source, req);
    if (!colours.ok()) return colours.failure();
    table = std::move(colours->entries);
    result.colours = colours->colours;
  }
  if (!opts.pal.empty()) table = palette_table(std::move(table), result.bits);
  result.table = table;

  std::vector<std::string> paths{opts.out};
  if (!opts.pal.empty()) paths.push_back(opts.pal);
  std::optional<PendingFile> depfile;
  if (opts.depfile) {
    std::vector<std::string> read{req.path};
    if (!opts.palette.empty()) read.push_back(opts.palette);
    Outcome<PendingFile> made = make_depfile(*opts.depfile, paths, read);
    if (!made.ok()) return made.failure();
    depfile = std::move(made.value());
    paths.push_back(depfile->path);
  }
  const SetLock lock(paths);
  OutFile bmp, pal, dep;
  if (Status ok = open_output(lock, bmp, opts.out); !ok.ok()) return ok.failure();
  BmpWriter writer(bmp, result.width, result.height, result.bits, table);
  if (Status written = write_rows(source, opts, table, palette, writer, result.moved);
      !written.ok())
    return written.failure();
  result.flattened = source.flattened();
  std::vector<OutFile*> set{&bmp};
  if (!opts.pal.empty()) {
    if (Status ok = open_output(lock, pal, opts.pal); !ok.ok()) return ok.failure();
    std::string name = std::filesystem::path(opts.out).filename().string();
    for (size_t at; (at = name.find("*/")) != std::string::npos;) name.replace(at, 2, "*_/");
    pal.write(pal_text(table, "the colours of \"" + name + "\", index 0 first"));
    set.push_back(&pal);
  }
  if (depfile) {
    if (Status ok = open_output(lock, dep, depfile->path); !ok.ok()) return ok.failure();
    dep.write(depfile->content);
    set.push_back(&dep);
  }
  if (Status committed = commit_outputs(set, paths); !committed.ok()) return committed.failure();
  return result;
}

}  // namespace tralk::importer
