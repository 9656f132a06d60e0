#include "import/pictures/palette_command.h"

#include <filesystem>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "base/console.h"
#include "base/file_set.h"
#include "base/text.h"
#include "cli/arg_reader.h"
#include "cli/exit_status.h"
#include "import/pictures/colour_table.h"
#include "import/pictures/median_cut.h"
#include "import/pictures/pal_text.h"
#include "import/pictures/picture_options.h"
#include "import/pictures/picture_read.h"

namespace tralk::importer {

namespace {

const char kHelp[] =
    "Usage: tralk-import palette PICTURE... --colours N -o OUT.pal\n"
    "\n"
    "Writes one .pal palette for several PNG or BMP pictures, for tralk's palette\n"
    "mode: every colour of the pictures (transparency flattened) when they have at\n"
    "most N, otherwise N colours made by median cut, each the mean of the colours\n"
    "it stands for.\n"
    "\n"
    "  --colours N          the palette's largest size, 1 to 256\n"
    "  -o OUT.pal           the palette to write\n"
    "  --background RRGGBB  the colour under transparent pixels, six hex digits\n"
    "                       (default FFFFFF, white)\n"
    "  -h, --help           print this help and exit\n"
    "\n"
    "Exit status: 0 when the palette was written, 1 for a picture or output\n"
    "problem, 2 for a bad command line. After an error no file is left.\n";

struct PaletteOptions {
  std::vector<std::string> pictures;
  std::string out;
  unsigned colours = 0;
  RGBTRIPLET background{255, 255, 255};
  bool help = false;
};

int fail(const Failure& failure) {
  con_printf("tralk-import palette: %s\n", failure.text.c_str());
  return cli::import_exit_status(failure.code);
}

Status read_option(std::string_view arg, cli::ArgReader& args, PaletteOptions& opts) {
  if (arg == "-h" || arg == "--help") {
    opts.help = true;
    return {};
  }
  if (arg == "--colours") {
    const Outcome<uint32_t> n = args.number(arg, 1, kMaxPaletteEntries);
    if (!n.ok()) return n.failure();
    opts.colours = n.value();
    return {};
  }
  if (arg != "-o" && arg != "--background")
    return cli::usage_error("unknown option " + in_quotes(arg));
  Outcome<std::string> text = args.value(arg);
  if (!text.ok()) return text.failure();
  if (arg == "-o") {
    opts.out = std::move(text.value());
    return {};
  }
  const std::optional<RGBTRIPLET> colour = parse_colour(text.value());
  if (!colour)
    return cli::usage_error("option --background takes a colour as six hex digits RRGGBB, not " +
                            in_quotes(text.value()));
  opts.background = *colour;
  return {};
}

Outcome<PaletteOptions> parse_options(int argc, const char* const* argv) {
  PaletteOptions opts;
  cli::ArgReader args(argc, argv);
  const Status read = cli::read_command_line(
      args, [&](std::string_view arg, cli::ArgReader& a) { return read_option(arg, a, opts); },
      [&](std::string_view arg) -> Status {
        opts.pictures.emplace_back(arg);
        return {};
      });
  if (!read.ok()) return read.failure();
  if (opts.help) return opts;
  if (opts.pictures.empty()) return cli::usage_error("no picture given");
  if (opts.colours == 0) return cli::usage_error("no palette size given (--colours N)");
  if (opts.out.empty()) return cli::usage_error("no output file given (-o OUT.pal)");
  if (!cli::ends_with_ignoring_case(opts.out, ".pal") ||
      std::filesystem::path(opts.out).stem().empty())
    return cli::usage_error("the output file " + in_quotes(opts.out) + " must be named NAME.pal");
  return opts;
}

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
  const Outcome<PaletteOptions> parsed = parse_options(argc, argv);
  if (!parsed.ok()) return fail(parsed.failure());
  const PaletteOptions& opts = parsed.value();
  if (opts.help) {
    con_printf("%s", kHelp);
    return cli::kImportDone;
  }
  Histogram counts;
  for (const std::string& path : opts.pictures)
    if (Status read = count_colours(path, opts.background, counts); !read.ok())
      return fail(read.failure());
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
    return fail(written.failure());
  con_printf("Wrote %s: %zu colours, %s\n", in_quotes(opts.out).c_str(), palette.size(),
             about.c_str());
  return cli::kImportDone;
}

}  // namespace tralk::importer
