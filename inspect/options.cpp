#include "inspect/options.h"

#include <optional>
#include <string_view>
#include <utility>

#include "base/byte_size.h"
#include "base/text.h"
#include "cli/arg_reader.h"
#include "cli/option_help.h"
#include "inspect/png_sheet.h"

namespace tralk::inspector {

namespace {

const char kHelpHead[] =
    "Usage: tralk-inspect [OPTIONS] IMAGE.bin\n"
    "\n"
    "Lists the font blocks of a virtual font image written by tralk, checks their\n"
    "structure, and shows their symbols.\n"
    "\n"
    "Without options it prints a table of the font blocks: block number (#), storage\n"
    "index, block size, flags, numbits, symbol width and height, number of symbols,\n"
    "pixel bytes per symbol, codepage index, number of codepage ranges and symbol\n"
    "index; then every codepage in full and the total of the block sizes, which is\n"
    "the size tralk prints.\n"
    "\n";

const char kHelpTail[] =
    "\n"
    "The image does not record what its pixel values mean. They are read by their\n"
    "bits per pixel (numbits):\n"
    "  0 or 1   b&w, a set bit is ink (black)\n"
    "  2, 4     grey levels, 0 being black; a picture's are palette indices\n"
    "           with --pal\n"
    "  8        3-3-2 colour; grey levels with --grey; a picture's are palette\n"
    "           indices with --pal\n"
    "  16       5-6-5 colour\n"
    "  24       8-8-8 colour: red, green, blue bytes\n"
    "A picture is a block of one symbol without a codepage, as tralk makes of a\n"
    "picture; fonts keep their grey levels beside it. Palette indices beyond the\n"
    "palette are drawn black.\n"
    "\n"
    "Problems in the image (a block size that overruns the file or is not a\n"
    "multiple of 4, unknown flags, an index outside its block, non-zero reserved\n"
    "bytes or fill, a symbol whose rows need more bytes than the font's symbols\n"
    "have, a codepage range that runs backwards or past the symbols, a default\n"
    "character in no range...) are listed after the output, each with the storage\n"
    "index of its block. Each symbol's rows are as long as its own width needs;\n"
    "the bytes after them are padding.\n"
    "\n"
    "Exit status: 0 for a sound image, 1 when a problem was found in it, 2 for a\n"
    "bad command line or a file that cannot be read or written.\n";

const std::vector<cli::OptionGroup> kGroups = {
    {"Options:",
     {{"--show",
       "N",
       {"draw the symbols of font block N (numbered from 0, as in the",
        "table) in the terminal, each with its own width: b&w and grey",
        "levels as text art, colours as 24-bit ANSI colour blocks"}},
      {"--png",
       "FILE",
       {"write a contact sheet of all symbols as a PNG picture: one row",
        "per font (a font of more than 32 symbols goes on in further",
        "rows), b&w as black on white, greys as greys, colours in colour"}},
      {"--font",
       "F",
       {"with --png, --text or --strings: only font block F, a number",
        "or a font name (names come from the image's C source beside",
        "it, IMAGE.c, when it matches the image)"}},
      {"--scale",
       "K",
       {"with --png: draw each pixel as K x K pixels (1 to 64); by default",
        "the tallest font is made about 48 pixels high (K at most 8)"}},
      {"--pal",
       "FILE",
       {"read the 2-, 4- and 8-bit pixels of pictures (blocks of one",
        "symbol without a codepage) as indices into this .pal palette"}},
      {"--grey",
       nullptr,
       {"read 8-bit pixels as grey levels instead of 3-3-2 colour (with",
        "--pal, those of fonts)"}},
      {"--text",
       "TEXT",
       {"with --font: draw TEXT (UTF-8) in that font as a display",
        "would, in the terminal (one line per pixel row, as --show",
        "draws) or with --png as a picture instead of the contact",
        "sheet: each character through the font's codepage, one it",
        "lacks as its default character, symbols side by side; a line", "feed starts a new line"}},
      {"--strings",
       "FILE",
       {"with --png: draw every line of FILE (UTF-8) in every font",
        "with a codepage (or the --font one) into one picture, and list",
        "the characters that fall to a font's default character; exit",
        "status 1 when there is any"}},
      {"--encoding",
       "E",
       {"with --text: what the codepage's codes are: unicode (default)",
        "or the bytes of a code page iconv knows (CP1251, KOI8-R...)"}},
      {"-h, --help", nullptr, {"print this help and exit"}}}},
    {"A dump of a chip (the image followed by erased bytes, or among others):",
     {{"--at",
       "AT",
       {"inspect the image at offset AT of the dump (bytes, 0x..., KiB,",
        "MiB), or, with --chip, the image of that name (UI or ui.bin)"}},
      {"--chip",
       "FILE",
       {"the chip's header that tralk-pack wrote: the image's offset,",
        "size and CRC-32, the next image's offset and the fill"}},
      {"--compare",
       "FILE",
       {"say whether the dump holds exactly the image FILE and, if not,",
        "where the first difference falls (exit status 1); with the",
        "header beside FILE, check the CRC-32 too"}}}},
};

Status read_encoding(std::string_view arg, cli::ArgReader& args, InspectOptions& opts) {
  const Outcome<std::string> name = args.value(arg);
  if (!name.ok()) return name.failure();
  Outcome<cli::Encoding> encoding = cli::parse_encoding(name.value());
  if (!encoding.ok()) return encoding.failure();
  if (encoding->kind == cli::EncodingKind::native)
    return cli::usage_error("--encoding takes unicode or a code page, not native");
  opts.encoding = std::move(encoding.value());
  return {};
}

Status read_option(std::string_view arg, cli::ArgReader& args, InspectOptions& opts) {
  if (arg == "-h" || arg == "--help") {
    opts.help = true;
  } else if (arg == "--grey") {
    opts.grey = true;
  } else if (arg == "--png") {
    return args.value_into(arg, opts.png);
  } else if (arg == "--pal") {
    return args.value_into(arg, opts.pal);
  } else if (arg == "--text") {
    std::string text;
    if (Status read = args.value_into(arg, text); !read.ok()) return read;
    opts.text = text;
  } else if (arg == "--encoding") {
    return read_encoding(arg, args, opts);
  } else if (arg == "--font") {
    std::string text;
    if (Status read = args.value_into(arg, text); !read.ok()) return read;
    if (const std::optional<uint32_t> n = cli::parse_number(text))
      opts.font = *n;
    else
      opts.font_name = text;
  } else if (arg == "--strings") {
    std::string text;
    if (Status read = args.value_into(arg, text); !read.ok()) return read;
    opts.strings = text;
  } else if (arg == "--show") {
    const Outcome<uint32_t> n = args.number(arg);
    if (!n.ok()) return n.failure();
    opts.show = n.value();
  } else if (arg == "--scale") {
    const Outcome<uint32_t> n = args.number(arg);
    if (!n.ok()) return n.failure();
    if (n.value() < 1 || n.value() > kSheetMaxScale)
      return cli::usage_error(strf("--scale must be 1 to %u", kSheetMaxScale));
    opts.scale = n.value();
  } else if (arg == "--at" || arg == "--chip" || arg == "--compare") {
    std::string text;
    if (Status read = args.value_into(arg, text); !read.ok()) return read;
    (arg == "--at" ? opts.at : arg == "--chip" ? opts.chip : opts.compare) = text;
  } else {
    return cli::usage_error(strf("unknown option \"%.*s\"", int(arg.size()), arg.data()));
  }
  return {};
}

// Why the options cannot be used together; none when they can.
std::optional<std::string> combination_problem(const InspectOptions& opts) {
  if (opts.help) return std::nullopt;
  if (opts.image.empty()) return "no image file given";
  const bool font = opts.font || !opts.font_name.empty();
  if (font && opts.png.empty() && !opts.text) return "--font needs --png, --text or --strings";
  if (opts.text && !font) return "--text needs --font";
  if (opts.strings && opts.png.empty()) return "--strings needs --png";
  if (opts.strings && opts.text) return "--text and --strings cannot be used together";
  if (opts.encoding && !opts.text) return "--encoding needs --text";
  if (opts.scale && opts.png.empty()) return "--scale needs --png";
  if (opts.chip && !opts.at) return "--chip needs --at";
  if (opts.at && !opts.chip && !parse_byte_size(*opts.at))
    return "--at " + in_quotes(*opts.at) + " is no offset; an image's name needs --chip";
  return std::nullopt;
}

}  // namespace

Outcome<InspectOptions> parse_options(int argc, const char* const* argv) {
  InspectOptions opts;
  cli::ArgReader args(argc, argv);
  const Status read = cli::read_command_line(
      args, [&](std::string_view arg, cli::ArgReader& a) { return read_option(arg, a, opts); },
      [&](std::string_view arg) -> Status {
        if (!opts.image.empty())
          return cli::usage_error(strf("more than one image file given (\"%s\" and \"%.*s\")",
                                       opts.image.c_str(), int(arg.size()), arg.data()));
        opts.image = arg;
        return {};
      });
  if (!read.ok()) return read.failure();
  if (std::optional<std::string> problem = combination_problem(opts))
    return cli::usage_error(std::move(*problem));
  return opts;
}

std::string inspect_help() {
  return kHelpHead + cli::options_help(kGroups, 2, 15) + kHelpTail;
}

std::span<const cli::OptionGroup> inspect_option_groups() {
  return kGroups;
}

}  // namespace tralk::inspector
