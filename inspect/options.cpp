#include "inspect/options.h"

#include <charconv>
#include <cstring>
#include <string_view>

#include "base/text.h"
#include "cli/arg_reader.h"
#include "inspect/png_sheet.h"

namespace {

const char kHelp[] =
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
    "\n"
    "Options:\n"
    "  --show N     draw the symbols of font block N (numbered from 0, as in the\n"
    "               table) in the terminal, each with its own width: b&w and grey\n"
    "               levels as text art, colours as 24-bit ANSI colour blocks\n"
    "  --png FILE   write a contact sheet of all symbols as a PNG picture: one row\n"
    "               per font (a font of more than 32 symbols goes on in further\n"
    "               rows), b&w as black on white, greys as greys, colours in colour\n"
    "  --font N     with --png: only font block N\n"
    "  --scale K    with --png: draw each pixel as K x K pixels (1 to 64); by default\n"
    "               the tallest font is made about 48 pixels high (K at most 8)\n"
    "  --pal FILE   read 2-, 4- and 8-bit pixels as indices into this .pal palette\n"
    "  --grey       read 8-bit pixels as grey levels instead of 3-3-2 colour\n"
    "  --text TEXT  with --png and --font: draw TEXT (UTF-8) in that font as a\n"
    "               display would, instead of the contact sheet: each character\n"
    "               through the font's codepage, one it lacks as its default\n"
    "               character, symbols side by side; a line feed starts a new line\n"
    "  --encoding E with --text: what the codepage's codes are: unicode (default)\n"
    "               or the bytes of a code page iconv knows (CP1251, KOI8-R...)\n"
    "  -h, --help   print this help and exit\n"
    "\n"
    "The image does not record what its pixel values mean. They are read by their\n"
    "bits per pixel (numbits):\n"
    "  0 or 1   b&w, a set bit is ink (black)\n"
    "  2, 4     grey levels, 0 being black; palette indices with --pal\n"
    "  8        3-3-2 colour; grey levels with --grey, palette indices with --pal\n"
    "  16       5-6-5 colour\n"
    "  24       8-8-8 colour: red, green, blue bytes\n"
    "Palette indices beyond the palette are drawn black.\n"
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

bool read_option(std::string_view arg, ArgReader& args, InspectOptions& opts, std::string& error) {
  uint32_t n = 0;
  if (arg == "-h" || arg == "--help") {
    opts.help = true;
  } else if (arg == "--grey") {
    opts.grey = true;
  } else if (arg == "--png") {
    return args.value(arg, opts.png, error);
  } else if (arg == "--pal") {
    return args.value(arg, opts.pal, error);
  } else if (arg == "--text") {
    std::string text;
    if (!args.value(arg, text, error)) return false;
    opts.text = text;
  } else if (arg == "--encoding") {
    std::string name;
    Encoding encoding;
    if (!args.value(arg, name, error) || !parse_encoding(name, encoding, error)) return false;
    if (encoding.kind == EncodingKind::native) {
      error = "--encoding takes unicode or a code page, not native";
      return false;
    }
    opts.encoding = std::move(encoding);
  } else if (arg == "--show" || arg == "--font") {
    if (!args.number(arg, n, error)) return false;
    (arg == "--show" ? opts.show : opts.font) = n;
  } else if (arg == "--scale") {
    if (!args.number(arg, opts.scale, error)) return false;
    if (opts.scale < 1 || opts.scale > kSheetMaxScale) {
      error = strf("--scale must be 1 to %u", kSheetMaxScale);
      return false;
    }
  } else {
    error = strf("unknown option \"%.*s\"", int(arg.size()), arg.data());
    return false;
  }
  return true;
}

bool check_combination(const InspectOptions& opts, std::string& error) {
  if (opts.help) return true;
  if (opts.image.empty())
    error = "no image file given";
  else if (opts.font && opts.png.empty())
    error = "--font needs --png";
  else if (opts.text && (opts.png.empty() || !opts.font))
    error = "--text needs --png and --font";
  else if (opts.encoding && !opts.text)
    error = "--encoding needs --text";
  else if (opts.scale && opts.png.empty())
    error = "--scale needs --png";
  else if (opts.grey && !opts.pal.empty())
    error = "--grey and --pal cannot be used together";
  return error.empty();
}

}  // namespace

bool parse_options(int argc, const char* const* argv, InspectOptions& opts, std::string& error) {
  opts = InspectOptions{};
  error.clear();
  ArgReader args(argc, argv);
  const bool read = read_command_line(
      args, [&](std::string_view arg, ArgReader& a) { return read_option(arg, a, opts, error); },
      [&](std::string_view arg) {
        if (opts.image.empty()) {
          opts.image = arg;
          return true;
        }
        error = strf("more than one image file given (\"%s\" and \"%.*s\")", opts.image.c_str(),
                     int(arg.size()), arg.data());
        return false;
      });
  return read && check_combination(opts, error);
}

const char* inspect_help() {
  return kHelp;
}
