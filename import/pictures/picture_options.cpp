#include "import/pictures/picture_options.h"

#include <filesystem>
#include <string_view>

#include "cli/arg_reader.h"

namespace {

const char kHelp[] =
    "Usage: tralk-import picture PICTURE [OPTIONS] -o OUT.bmp\n"
    "\n"
    "Turns a PNG picture (every colour type and bit depth, interlaced or not,\n"
    "with transparency) or a BMP picture into an uncompressed BMP picture that\n"
    "tralk reads, transparency flattened onto a background colour.\n"
    "\n"
    "  -o OUT.bmp           the picture to write\n"
    "  --background RRGGBB  the colour under transparent pixels, six hex digits\n"
    "                       (default FFFFFF, white)\n"
    "  --depth N            24 (default): 24-bit colour; 1, 4 or 8: a colour\n"
    "                       table of the picture's colours, when they are at most\n"
    "                       2, 16 or 256, for tralk's palette mode; at 1 bit the\n"
    "                       darker colour is ink\n"
    "  -h, --help           print this help and exit\n"
    "\n"
    "Exit status: 0 when the picture was written, 1 for a picture or output\n"
    "problem, 2 for a bad command line. After an error no file is left.\n";

int hex_digit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Six hex digits, red, green, blue; a leading "#" is allowed.
bool parse_colour(std::string_view text, RGBTRIPLET& c) {
  if (!text.empty() && text[0] == '#') text.remove_prefix(1);
  if (text.size() != 6) return false;
  uint8_t bytes[3];
  for (size_t i = 0; i < 3; ++i) {
    const int high = hex_digit(text[2 * i]), low = hex_digit(text[2 * i + 1]);
    if (high < 0 || low < 0) return false;
    bytes[i] = static_cast<uint8_t>(high * 16 + low);
  }
  c = {bytes[0], bytes[1], bytes[2]};
  return true;
}

bool read_option(std::string_view arg, ArgReader& args, PictureOptions& opts, std::string& error) {
  std::string text;
  if (arg == "-h" || arg == "--help") {
    opts.help = true;
    return true;
  }
  if (arg == "-o") return args.value(arg, opts.out, error);
  if (arg == "--background") {
    if (!args.value(arg, text, error)) return false;
    if (parse_colour(text, opts.request.background)) return true;
    error = "option --background takes a colour as six hex digits RRGGBB, not \"" + text + "\"";
    return false;
  }
  if (arg == "--depth") {
    if (!args.value(arg, text, error)) return false;
    uint32_t n = 0;
    if (parse_number(text, n) && (n == 1 || n == 4 || n == 8 || n == 24)) {
      opts.request.depth = n;
      return true;
    }
    error = "option --depth takes 1, 4, 8 or 24, not \"" + text + "\"";
    return false;
  }
  error = "unknown option \"" + std::string(arg) + "\"";
  return false;
}

bool check_combination(const PictureOptions& opts, std::string& error) {
  if (opts.help) return true;
  if (opts.request.path.empty())
    error = "no picture given";
  else if (opts.out.empty())
    error = "no output file given (-o OUT.bmp)";
  else if (!ends_with_ignoring_case(opts.out, ".bmp") ||
           std::filesystem::path(opts.out).stem().empty())
    error = "the output file \"" + opts.out + "\" must be named NAME.bmp";
  return error.empty();
}

}  // namespace

bool parse_picture_options(int argc, const char* const* argv, PictureOptions& opts,
                           std::string& error) {
  opts = PictureOptions{};
  error.clear();
  ArgReader args(argc, argv);
  const bool read = read_command_line(
      args, [&](std::string_view arg, ArgReader& a) { return read_option(arg, a, opts, error); },
      [&](std::string_view arg) {
        if (opts.request.path.empty()) {
          opts.request.path = arg;
          return true;
        }
        error = "more than one picture given (\"" + opts.request.path + "\" and \"" +
                std::string(arg) + "\")";
        return false;
      });
  return read && check_combination(opts, error);
}

const char* picture_help() {
  return kHelp;
}
