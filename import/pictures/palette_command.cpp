#include "import/pictures/palette_command.h"

#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "base/console.h"
#include "base/file_set.h"
#include "base/text.h"
#include "cli/exit_status.h"
#include "import/pictures/colour_table.h"
#include "import/pictures/median_cut.h"
#include "import/pictures/pal_text.h"
#include "import/pictures/palette_options.h"
#include "import/pictures/picture_read.h"

namespace tralk::importer {

namespace {

using Histogram = std::unordered_map<uint32_t, uint64_t>;

// Adds the pixels of one picture to the count of each colour.
Status count_colours(const std::string& path, RGBTRIPLET background, Histogram& counts) {
  PictureRequest req;
  req.path = path;
  req.background = background;
  req.depth = 8;  // the pictures of palette mode
  Outcome<std::unique_ptr<PictureSource>> source = open_picture(req);
  if (!source.ok()) return source.failure();
  const uint32_t width = source.value()->width();
  return for_each_row(*source.value(), false, [&](uint32_t, const uint8_t* rgb) {
    for (uint32_t x = 0; x < width; ++x, rgb += 3) ++counts[colour_value({rgb[0], rgb[1], rgb[2]})];
  });
}

}  // namespace

int run_palette_command(int argc, const char* const* argv) {
  const Outcome<PaletteOptions> parsed = parse_palette_options(argc, argv);
  if (!parsed.ok()) return cli::report_import_failure("palette", parsed.failure());
  const PaletteOptions& opts = parsed.value();
  if (opts.help) {
    con_printf("%s", palette_help().c_str());
    return cli::kImportDone;
  }
  Histogram counts;
  for (const std::string& path : opts.pictures)
    if (Status read = count_colours(path, opts.background, counts); !read.ok())
      return cli::report_import_failure("palette", read.failure());
  std::vector<WeightedColour> colours;
  for (const auto& [value, pixels] : counts) colours.push_back({value, pixels});
  const bool exact = colours.size() <= opts.colours;
  const std::vector<RGBTRIPLET> palette = median_cut(std::move(colours), opts.colours);
  const std::string pictures =
      std::to_string(opts.pictures.size()) + (opts.pictures.size() == 1 ? " picture" : " pictures");
  const std::string about =
      exact ? "every colour of " + pictures
            : "median cut of the " + std::to_string(counts.size()) + " colours of " + pictures;
  if (Status written = write_file_set({{opts.out, pal_text(palette, about)}}); !written.ok())
    return cli::report_import_failure("palette", written.failure());
  if (!opts.quiet)
    con_printf("Wrote %s: %zu colours, %s\n", in_quotes(opts.out).c_str(), palette.size(),
               about.c_str());
  return cli::kImportDone;
}

}  // namespace tralk::importer
