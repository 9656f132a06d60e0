#include "import/pictures/palette_options.h"

#include <filesystem>
#include <optional>
#include <string_view>
#include <utility>

#include "base/text.h"
#include "cli/arg_reader.h"
#include "import/pictures/picture_options.h"

namespace tralk::importer {

namespace {

const char kHelpHead[] =
    "Usage: tralk-import palette PICTURE... --colours N -o OUT.pal\n"
    "\n"
    "Writes one .pal palette for several PNG or BMP pictures, for tralk's palette\n"
    "mode: every colour of the pictures (transparency flattened) when they have at\n"
    "most N, otherwise N colours made by median cut, each the mean of the colours\n"
    "it stands for.\n"
    "\n";

const char kHelpTail[] =
    "\n"
    "Exit status: 0 when the palette was written, 1 for a picture or output\n"
    "problem, 2 for a bad command line. After an error no file is left.\n";

const std::vector<cli::OptionGroup> kGroups = {
    {nullptr,
     {{"--colours", "N", {"the palette's largest size, 1 to 256"}},
      {"-o", "OUT.pal", {"the palette to write"}},
      {"--background",
       "RRGGBB",
       {"the colour under transparent pixels, six hex digits", "(default FFFFFF, white)"}},
      {"--quiet", nullptr, {"print nothing but errors (for builds)"}},
      {"-h, --help", nullptr, {"print this help and exit"}}}},
};

Status read_option(std::string_view arg, cli::ArgReader& args, PaletteOptions& opts) {
  if (arg == "-h" || arg == "--help") {
    opts.help = true;
    return {};
  }
  if (arg == "--quiet") {
    opts.quiet = true;
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

}  // namespace

Outcome<PaletteOptions> parse_palette_options(int argc, const char* const* argv) {
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

std::string palette_help() {
  return kHelpHead + cli::options_help(kGroups, 2, 23) + kHelpTail;
}

std::span<const cli::OptionGroup> palette_option_groups() {
  return kGroups;
}

}  // namespace tralk::importer
