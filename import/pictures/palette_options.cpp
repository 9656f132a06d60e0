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

using cli::Given;
using cli::OptionArg;

Status read_background(PaletteOptions& opts, const OptionArg& arg) {
  const std::optional<RGBTRIPLET> colour = parse_colour(arg.value());
  if (!colour)
    return cli::usage_error("option --background takes a colour as six hex digits RRGGBB, not " +
                            in_quotes(arg.value()));
  opts.background = *colour;
  return {};
}

Status read_palette_picture(PaletteOptions& opts, std::string_view arg) {
  opts.pictures.emplace_back(arg);
  return {};
}

const cli::OptionTable<PaletteOptions> kOptions(
    cli::Syntax::mixed,
    {{nullptr,
      {{"--colours",
        "N",
        Given::once,
        {"the palette's largest size, 1 to 256"},
        cli::store_number<&PaletteOptions::colours, 1, kMaxPaletteEntries>},
       {"-o", "OUT.pal", Given::once, {"the palette to write"}, cli::store<&PaletteOptions::out>},
       {"--background",
        "RRGGBB",
        Given::once,
        {"the colour under transparent pixels, six hex digits", "(default FFFFFF, white)"},
        read_background},
       {"--quiet",
        nullptr,
        Given::once,
        {"print nothing but errors (for builds)"},
        cli::set_flag<&PaletteOptions::quiet>},
       {"-h, --help",
        nullptr,
        Given::once,
        {"print this help and exit"},
        cli::set_flag<&PaletteOptions::help>}}}});

}  // namespace

Outcome<PaletteOptions> parse_palette_options(int argc, const char* const* argv) {
  PaletteOptions opts;
  if (Status read = kOptions.read(argc, argv, opts, read_palette_picture); !read.ok())
    return cli::usage_error(cli::usage_text(read.failure(), argv));
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
  return kHelpHead + kOptions.help(2, 23) + kHelpTail;
}

const cli::OptionTable<PaletteOptions>& palette_option_table() {
  return kOptions;
}

}  // namespace tralk::importer
