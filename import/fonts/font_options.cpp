#include "import/fonts/font_options.h"

#include <algorithm>
#include <filesystem>
#include <string_view>

#include "cli/arg_reader.h"

namespace {

const char kHelp[] =
    "Usage: tralk-import font FONTFILE [OPTIONS] -o OUT.sym\n"
    "       tralk-import font FONTFILE --list\n"
    "\n"
    "Turns a font that FreeType reads (TrueType, OpenType, BDF, PCF, also .pcf.gz)\n"
    "into a tralk symbol font OUT.sym and its codepage OUT.cp.\n"
    "\n"
    "Font:\n"
    "  --face N          face N of a font collection (default 0)\n"
    "  --size PX         pixels per em; for a bitmap font the strike of that size\n"
    "                    (needed for scalable fonts; a bitmap font of one strike\n"
    "                    uses it)\n"
    "  --fallback FILE   a font that fills codes the fonts before it lack\n"
    "                    (repeatable; face 0, same size)\n"
    "  --list            print the font's faces, strikes, charmaps and glyph count;\n"
    "                    writes nothing\n"
    "\n"
    "Characters (default 0x20-0x7E):\n"
    "  -r LIST           codes and runs, comma-separated, repeatable: 0x20-0x7E,\n"
    "                    U+0400-U+045F, 65; a run above 0xFFFF must be remapped:\n"
    "                    0x1F600-0x1F64F=>0xE000\n"
    "  --symbols TEXT    the characters of TEXT (UTF-8)\n"
    "  --encoding E      unicode (default): codes are Unicode values; a code page\n"
    "                    iconv knows (CP1251, ISO-8859-2, KOI8-R...): codes 0-255\n"
    "                    are its bytes; native: the codes of the font's first\n"
    "                    charmap, a bitmap font's own codes (--list shows it)\n"
    "  --missing M       warn (default): codes no font has are skipped and listed;\n"
    "                    error: they stop the run\n"
    "  --defchar C       the codepage's default character: a character or a code\n"
    "                    (default \"?\" when selected, else the first code)\n"
    "\n"
    "Pixels:\n"
    "  --bpp N           1 (default): b&w symbols; 2, 4 or 8: grey levels, 0 black\n"
    "  --invert          with --bpp 2, 4 or 8: light ink on black\n"
    "  --hinting H       native (default), light or none\n"
    "  --height H        ink (default): the rows the selected glyphs' ink takes;\n"
    "                    font: the font's ascent and descent, ink beyond is clipped\n"
    "  --width W         advance (default): each glyph's advance, widened to hold\n"
    "                    all its ink; fixed=N: every symbol N pixels wide\n"
    "\n"
    "Output:\n"
    "  -o OUT.sym        the symbol font\n"
    "  --cp NAME         the codepage file's name, beside OUT.sym (default: OUT's\n"
    "                    base name; .cp is added)\n"
    "  --no-cp           write no codepage\n"
    "  -h, --help        print this help and exit\n"
    "\n"
    "Exit status: 0 when the files were written (warnings included), 1 for a font\n"
    "or output problem, 2 for a bad command line. After an error no file is left.\n";

// Reads the value of an option that takes one of a few words.
template <typename T>
bool choice(ArgReader& args, std::string_view name,
            std::initializer_list<std::pair<const char*, T>> words, T& out, std::string& error) {
  std::string text;
  if (!args.value(name, text, error)) return false;
  std::string known;
  for (const auto& [word, value] : words) {
    if (text == word) {
      out = value;
      return true;
    }
    known += known.empty() ? word : std::string(", ") + word;
  }
  error = "option " + std::string(name) + " takes " + known + ", not \"" + text + "\"";
  return false;
}

bool read_width(ArgReader& args, FontOptions& opts, std::string& error) {
  std::string text;
  if (!args.value("--width", text, error)) return false;
  uint32_t n = 0;
  if (text == "advance") {
    opts.fixed_width.reset();
  } else if (text.rfind("fixed=", 0) == 0 && parse_number(text.substr(6), n) && n >= 1 &&
             n <= kMaxFixedWidth) {
    opts.fixed_width = n;
  } else {
    error = "option --width takes advance or fixed=N (N from 1 to 65535), not \"" + text + "\"";
    return false;
  }
  return true;
}

bool read_bpp(ArgReader& args, FontOptions& opts, std::string& error) {
  uint32_t n = 0;
  if (!args.number("--bpp", 1, 8, n, error)) return false;
  if (n != 1 && n != 2 && n != 4 && n != 8) {
    error = "option --bpp takes 1, 2, 4 or 8, not \"" + std::to_string(n) + "\"";
    return false;
  }
  opts.bpp = n;
  return true;
}

bool read_value_option(std::string_view arg, ArgReader& args, FontOptions& opts,
                       std::string& error) {
  std::string text;
  if (arg == "-o") return args.value(arg, opts.out, error);
  if (arg == "--cp") return args.value(arg, opts.cp_name, error);
  if (arg == "--symbols") {
    if (!args.value(arg, text, error)) return false;
    opts.symbols += text;
    return true;
  }
  if (arg == "--defchar") {
    if (!args.value(arg, text, error)) return false;
    opts.defchar = text;
    return true;
  }
  if (arg == "--fallback") {
    if (!args.value(arg, text, error)) return false;
    opts.fallbacks.push_back(text);
    return true;
  }
  if (arg == "-r") return args.value(arg, text, error) && parse_ranges(text, opts.ranges, error);
  if (arg == "--encoding")
    return args.value(arg, text, error) && parse_encoding(text, opts.encoding, error);
  if (arg == "--face") return args.number(arg, 0, 0xFFFF, opts.face, error);
  if (arg == "--size") {
    uint32_t n = 0;
    if (!args.number(arg, 1, kMaxPixelSize, n, error)) return false;
    opts.size = n;
    return true;
  }
  if (arg == "--bpp") return read_bpp(args, opts, error);
  if (arg == "--width") return read_width(args, opts, error);
  if (arg == "--hinting")
    return choice<Hinting>(
        args, arg,
        {{"native", Hinting::native}, {"light", Hinting::light}, {"none", Hinting::none}},
        opts.hinting, error);
  if (arg == "--height")
    return choice<CellHeight>(args, arg, {{"ink", CellHeight::ink}, {"font", CellHeight::font}},
                              opts.height, error);
  if (arg == "--missing")
    return choice<MissingCodes>(args, arg,
                                {{"warn", MissingCodes::warn}, {"error", MissingCodes::error}},
                                opts.missing, error);
  error = "unknown option \"" + std::string(arg) + "\"";
  return false;
}

bool read_option(std::string_view arg, ArgReader& args, FontOptions& opts, std::string& error) {
  if (arg == "-h" || arg == "--help") {
    opts.help = true;
  } else if (arg == "--list") {
    opts.list = true;
  } else if (arg == "--invert") {
    opts.invert = true;
  } else if (arg == "--no-cp") {
    opts.no_cp = true;
  } else {
    return read_value_option(arg, args, opts, error);
  }
  return true;
}

// The codepage file's name: as given with ".cp" added, or OUT's base name.
// The name goes on the .sym file's first line as "CP<name>", which the
// .sym reader looks for beside the .sym file.
bool settle_cp_name(FontOptions& opts, std::string& error) {
  const bool given = !opts.cp_name.empty();
  if (!given) opts.cp_name = std::filesystem::path(opts.out).stem().string();
  const bool control = std::any_of(opts.cp_name.begin(), opts.cp_name.end(),
                                   [](char c) { return static_cast<unsigned char>(c) < 0x20; });
  if (control || opts.cp_name.find_first_of("/>") != std::string::npos) {
    error = std::string(given ? "--cp takes" : "the codepage is named after the output: give") +
            " a file name without a folder, \">\" or control characters, not \"" + opts.cp_name +
            "\"" + (given ? "" : " (--cp NAME)");
    return false;
  }
  if (!ends_with_ignoring_case(opts.cp_name, ".cp")) opts.cp_name += ".cp";
  return true;
}

bool check_combination(FontOptions& opts, std::string& error) {
  if (opts.help) return true;
  if (opts.font.empty())
    error = "no font file given";
  else if (opts.list)
    return true;
  else if (opts.out.empty())
    error = "no output file given (-o OUT.sym)";
  else if (!ends_with_ignoring_case(opts.out, ".sym") ||
           std::filesystem::path(opts.out).stem().empty())
    error = "the output file \"" + opts.out + "\" must be named NAME.sym";
  else if (opts.invert && opts.bpp == 1)
    error = "--invert needs --bpp 2, 4 or 8";
  else if (opts.no_cp && !opts.cp_name.empty())
    error = "--cp and --no-cp cannot be used together";
  else if (opts.encoding.kind == EncodingKind::native && !opts.symbols.empty())
    error = "--symbols needs --encoding unicode or a code page";
  if (!error.empty()) return false;
  if (opts.ranges.empty() && opts.symbols.empty()) opts.ranges.push_back({0x20, 0x7E, 0x20});
  return opts.no_cp || settle_cp_name(opts, error);
}

const char* hinting_name(Hinting h) {
  switch (h) {
    case Hinting::native:
      return "native";
    case Hinting::light:
      return "light";
    case Hinting::none:
      break;
  }
  return "none";
}

std::string ranges_text(const std::vector<CodeRange>& ranges) {
  std::string out;
  for (const CodeRange& r : ranges) {
    if (!out.empty()) out += ',';
    out += format_code_run(r.first, r.last);
    if (r.to != r.first) out += "=>" + format_code_run(r.to, r.to);
  }
  return out;
}

}  // namespace

bool parse_font_options(int argc, const char* const* argv, FontOptions& opts, std::string& error) {
  opts = FontOptions{};
  error.clear();
  ArgReader args(argc, argv);
  const bool read = read_command_line(
      args, [&](std::string_view arg, ArgReader& a) { return read_option(arg, a, opts, error); },
      [&](std::string_view arg) {
        if (opts.font.empty()) {
          opts.font = arg;
          return true;
        }
        error = "more than one font file given (\"" + opts.font + "\" and \"" + std::string(arg) +
                "\"); add fonts with --fallback";
        return false;
      });
  return read && check_combination(opts, error);
}

std::string describe_options(const FontOptions& opts) {
  std::string out;
  if (opts.face) out += "--face " + std::to_string(opts.face) + " ";
  if (opts.size) out += "--size " + std::to_string(*opts.size) + " ";
  if (!opts.ranges.empty()) out += "-r " + ranges_text(opts.ranges) + " ";
  if (!opts.symbols.empty()) out += "--symbols \"" + opts.symbols + "\" ";
  out += "--encoding " + opts.encoding.name() + " --bpp " + std::to_string(opts.bpp);
  if (opts.invert) out += " --invert";
  out += std::string(" --hinting ") + hinting_name(opts.hinting);
  out += opts.height == CellHeight::ink ? " --height ink" : " --height font";
  out += opts.fixed_width ? " --width fixed=" + std::to_string(*opts.fixed_width)
                          : std::string(" --width advance");
  for (const std::string& f : opts.fallbacks) out += " --fallback \"" + f + "\"";
  if (opts.missing == MissingCodes::error) out += " --missing error";
  if (opts.defchar) out += " --defchar \"" + *opts.defchar + "\"";
  return out;
}

const char* font_help() {
  return kHelp;
}
