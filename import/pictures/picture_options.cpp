#include "import/pictures/picture_options.h"

#include <filesystem>
#include <optional>
#include <string_view>
#include <utility>

#include "base/text.h"
#include "cli/arg_reader.h"

namespace tralk::importer {

namespace {

const char kHelpHead[] =
    "Usage: tralk-import picture PICTURE [OPTIONS] -o OUT.bmp\n"
    "\n"
    "Turns a PNG picture (every colour type and bit depth, interlaced or not,\n"
    "with transparency) or a BMP picture into an uncompressed BMP picture that\n"
    "tralk reads, transparency flattened onto a background colour.\n"
    "\n";

const char kHelpTail[] =
    "\n"
    "Exit status: 0 when the picture was written, 1 for a picture or output\n"
    "problem, 2 for a bad command line. After an error no file is left.\n";

}  // namespace

std::optional<RGBTRIPLET> parse_colour(std::string_view text) {
  if (!text.empty() && text[0] == '#') text.remove_prefix(1);
  if (text.size() != 6) return std::nullopt;
  uint8_t bytes[3];
  for (size_t i = 0; i < 3; ++i) {
    const unsigned high = digit_value(text[2 * i]), low = digit_value(text[2 * i + 1]);
    if (high >= 16 || low >= 16) return std::nullopt;
    bytes[i] = static_cast<uint8_t>(high * 16 + low);
  }
  return RGBTRIPLET{bytes[0], bytes[1], bytes[2]};
}

namespace {

std::optional<Dither> parse_dither(std::string_view text) {
  if (text == "none") return Dither::none;
  if (text == "ordered") return Dither::ordered;
  if (text == "floyd-steinberg") return Dither::floyd_steinberg;
  return std::nullopt;
}

using cli::Given;
using cli::OptionArg;
using cli::set_flag;
using cli::store;

// The options that make the picture b&w or grey levels.
GreyReduction& grey_of(PictureOptions& opts) {
  return opts.grey ? *opts.grey : opts.grey.emplace();
}

Status read_invert(PictureOptions& opts, const OptionArg&) {
  grey_of(opts).invert = true;
  return {};
}

Status read_threshold(PictureOptions& opts, const OptionArg& arg) {
  const Outcome<uint32_t> n = cli::number_value(arg, 0, 255);
  if (!n.ok()) return n.failure();
  grey_of(opts).threshold = n.value();
  opts.threshold_given = true;
  return {};
}

Status read_dither(PictureOptions& opts, const OptionArg& arg) {
  const std::optional<Dither> dither = parse_dither(arg.value());
  if (!dither)
    return cli::usage_error("option --dither takes none, ordered or floyd-steinberg, not " +
                            in_quotes(arg.value()));
  grey_of(opts).dither = *dither;
  return {};
}

Status read_background(PictureOptions& opts, const OptionArg& arg) {
  const std::optional<RGBTRIPLET> colour = parse_colour(arg.value());
  if (!colour)
    return cli::usage_error("option --background takes a colour as six hex digits RRGGBB, not " +
                            in_quotes(arg.value()));
  opts.request.background = *colour;
  return {};
}

Status read_depth(PictureOptions& opts, const OptionArg& arg) {
  const std::optional<uint32_t> n = cli::parse_number(arg.value());
  if (!n || (*n != 1 && *n != 2 && *n != 4 && *n != 8 && *n != 24))
    return cli::usage_error("option --depth takes 1, 2, 4, 8 or 24, not " + in_quotes(arg.value()));
  opts.request.depth = *n;
  return {};
}

Status read_picture_operand(PictureOptions& opts, std::string_view arg) {
  if (!opts.request.path.empty())
    return cli::usage_error("more than one picture given (" + in_quotes(opts.request.path) +
                            " and " + in_quotes(arg) + ")");
  opts.request.path = arg;
  return {};
}

const cli::OptionTable<PictureOptions> kOptions(
    cli::Syntax::mixed,
    {{nullptr,
      {{"-o", "OUT.bmp", Given::once, {"the picture to write"}, store<&PictureOptions::out>},
       {"--background",
        "RRGGBB",
        Given::once,
        {"the colour under transparent pixels, six hex digits", "(default FFFFFF, white)"},
        read_background},
       {"--depth",
        "N",
        Given::once,
        {"24 (default): 24-bit colour; 1, 4 or 8: a colour",
         "table of the picture's colours, when they are at most",
         "2, 16 or 256, for tralk's palette mode; at 1 bit the",
         "darker colour is ink; 2: 4 grey levels (below)"},
        read_depth},
       {"--dither",
        "D",
        Given::once,
        {"none, ordered or floyd-steinberg: the picture becomes",
         "b&w at --depth 1, 4 grey levels at --depth 2 (tralk's",
         "GREYMODE 4) or 16 at --depth 4 (GREYMODE 16), by the",
         "brightness (76 R + 150 G + 30 B) / 256; default none"},
        read_dither},
       {"--threshold",
        "N",
        Given::once,
        {"at --depth 1: brightness N (0 to 255, default 128) and",
         "above is paper, below it ink; makes the picture b&w"},
        read_threshold},
       {"--invert",
        nullptr,
        Given::once,
        {"the lighter colour is ink (grey levels turned over);",
         "makes the picture b&w or grey levels"},
        read_invert},
       {"--pal",
        "OUT.pal",
        Given::once,
        {"also write the picture's colour table as the palette",
         "that keeps its colours in tralk's palette mode", "(--depth 2, 4 or 8)"},
        store<&PictureOptions::pal>},
       {"--palette",
        "IN.pal",
        Given::once,
        {"write the picture in the colours of a palette (from",
         "tralk-import palette), each pixel the nearest of them",
         "(--depth 4 or 8; --dither floyd-steinberg diffuses the", "error of each colour)"},
        store<&PictureOptions::palette>},
       {"--depfile",
        "FILE",
        Given::once,
        {"also write a Make dependency file naming the picture", "written and the picture read"},
        store<&PictureOptions::depfile>},
       {"--quiet",
        nullptr,
        Given::once,
        {"print nothing but errors (for builds)"},
        set_flag<&PictureOptions::quiet>},
       {"-h, --help",
        nullptr,
        Given::once,
        {"print this help and exit"},
        set_flag<&PictureOptions::help>}}}});

Status check_combination(PictureOptions& opts) {
  if (opts.help) return {};
  if (opts.request.path.empty()) return cli::usage_error("no picture given");
  if (opts.out.empty()) return cli::usage_error("no output file given (-o OUT.bmp)");
  if (!cli::ends_with_ignoring_case(opts.out, ".bmp") ||
      std::filesystem::path(opts.out).stem().empty())
    return cli::usage_error("the output file " + in_quotes(opts.out) + " must be named NAME.bmp");
  const unsigned depth = opts.request.depth;
  if (!opts.palette.empty() && depth != 4 && depth != 8)
    return cli::usage_error(
        "--palette takes --depth 4 or 8, the pictures tralk's palette mode reads");
  if (!opts.palette.empty() && opts.grey) {
    // Of the grey-level options, the palette takes dithering by diffusion.
    if (opts.grey->invert || opts.threshold_given || opts.grey->dither == Dither::ordered)
      return cli::usage_error(
          "--palette takes --dither none or floyd-steinberg, and neither --threshold nor "
          "--invert");
    opts.palette_dither = opts.grey->dither;
    opts.grey.reset();
  }
  if (depth == 2 && !opts.grey) opts.grey.emplace();
  if (opts.grey && depth != 1 && depth != 2 && depth != 4)
    return cli::usage_error("--dither, --threshold and --invert take --depth 1, 2 or 4");
  if (opts.threshold_given && depth != 1)
    return cli::usage_error("--threshold takes --depth 1 only (b&w)");
  if (opts.grey) opts.grey->levels = depth == 1 ? 2 : depth == 2 ? 4 : 16;
  if (opts.pal.empty()) return {};
  if (depth != 2 && depth != 4 && depth != 8)
    return cli::usage_error(
        "--pal takes --depth 2, 4 or 8, the pictures tralk's palette mode reads");
  if (!cli::ends_with_ignoring_case(opts.pal, ".pal") ||
      std::filesystem::path(opts.pal).stem().empty())
    return cli::usage_error("the palette file " + in_quotes(opts.pal) + " must be named NAME.pal");
  return {};
}

}  // namespace

Outcome<PictureOptions> parse_picture_options(int argc, const char* const* argv) {
  PictureOptions opts;
  if (Status read = kOptions.read(argc, argv, opts, read_picture_operand); !read.ok())
    return cli::usage_error(cli::usage_text(read.failure(), argv));
  if (Status checked = check_combination(opts); !checked.ok()) return checked.failure();
  return opts;
}

std::string picture_help() {
  return kHelpHead + kOptions.help(2, 23) + kHelpTail;
}

const cli::OptionTable<PictureOptions>& picture_option_table() {
  return kOptions;
}

}  // namespace tralk::importer
