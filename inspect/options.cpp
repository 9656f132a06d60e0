#include "inspect/options.h"

#include <optional>
#include <string_view>
#include <utility>

#include "base/byte_size.h"
#include "base/text.h"
#include "cli/arg_reader.h"
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
    "Exit status: 0 for a sound image, 1 when a problem was found in it (or, with\n"
    "--strings, any finding; with --compare, a byte that differs), 2 for a bad\n"
    "command line or a file that cannot be read or written.\n";

using cli::append;
using cli::Given;
using cli::OptionArg;
using cli::set_flag;
using cli::store;
using cli::store_number;

Outcome<cli::Encoding> parse_font_encoding(std::string_view name) {
  Outcome<cli::Encoding> encoding = cli::parse_encoding(name);
  if (!encoding.ok()) return encoding.failure();
  if (encoding->kind == cli::EncodingKind::native)
    return cli::usage_error("--encoding takes unicode or a code page, not native");
  return encoding;
}

Status read_encoding(InspectOptions& opts, const OptionArg& arg) {
  Outcome<cli::Encoding> encoding = parse_font_encoding(arg.value());
  if (!encoding.ok()) return encoding.failure();
  opts.encoding = std::move(encoding.value());
  return {};
}

// --font F or F:E.
Status read_font(InspectOptions& opts, const OptionArg& arg) {
  const std::string text(arg.value());
  FontChoice choice;
  const size_t colon = text.find(':');
  choice.given = text.substr(0, colon);
  if (colon != std::string::npos) {
    if (colon + 1 == text.size())
      return cli::usage_error("--font " + in_quotes(text) + " names no encoding after the colon");
    Outcome<cli::Encoding> encoding = parse_font_encoding(std::string_view(text).substr(colon + 1));
    if (!encoding.ok()) return encoding.failure();
    choice.encoding = std::move(encoding.value());
  }
  choice.number = cli::parse_number(choice.given);
  if (opts.fonts.empty()) {
    if (choice.number)
      opts.font = *choice.number;
    else
      opts.font_name = choice.given;
  }
  opts.fonts.push_back(std::move(choice));
  return {};
}

Status read_show(InspectOptions& opts, const OptionArg& arg) {
  const Outcome<uint32_t> n = cli::number_value(arg);
  if (!n.ok()) return n.failure();
  opts.show = n.value();
  return {};
}

Status read_scale(InspectOptions& opts, const OptionArg& arg) {
  const Outcome<uint32_t> n = cli::number_value(arg);
  if (!n.ok()) return n.failure();
  if (n.value() < 1 || n.value() > kSheetMaxScale)
    return cli::usage_error(strf("--scale must be 1 to %u", kSheetMaxScale));
  opts.scale = n.value();
  return {};
}

Status read_image(InspectOptions& opts, std::string_view arg) {
  if (!opts.image.empty())
    return cli::usage_error(strf("more than one image file given (\"%s\" and \"%.*s\")",
                                 opts.image.c_str(), int(arg.size()), arg.data()));
  opts.image = arg;
  return {};
}

const cli::OptionTable<InspectOptions> kOptions(
    cli::Syntax::mixed,
    {{"Options:",
      {{"--show",
        "N",
        Given::once,
        {"draw the symbols of font block N (numbered from 0, as in the",
         "table) in the terminal, each with its own width: b&w and grey",
         "levels as text art, colours as 24-bit ANSI colour blocks"},
        read_show},
       {"--png",
        "FILE",
        Given::once,
        {"write a contact sheet of all symbols as a PNG picture: one row",
         "per font (a font of more than 32 symbols goes on in further",
         "rows), b&w as black on white, greys as greys, colours in colour"},
        store<&InspectOptions::png>},
       {"--font",
        "F[:E]",
        Given::repeatable,
        {"with --png, --text or --strings: only font block F, a number",
         "or a font name (names come from the image's C source beside",
         "it, IMAGE.c, when it matches the image); F:E reads that",
         "font's codes in encoding E, as --encoding does; with --strings",
         "it may be given more than once, each font checked"},
        read_font},
       {"--scale",
        "K",
        Given::once,
        {"with --png: draw each pixel as K x K pixels (1 to 64); by default",
         "the tallest font is made about 48 pixels high (K at most 8)"},
        read_scale},
       {"--pal",
        "FILE",
        Given::once,
        {"read the 2-, 4- and 8-bit pixels of pictures (blocks of one",
         "symbol without a codepage) as indices into this .pal palette"},
        store<&InspectOptions::pal>},
       {"--grey",
        nullptr,
        Given::once,
        {"read 8-bit pixels as grey levels instead of 3-3-2 colour (with",
         "--pal, those of fonts)"},
        set_flag<&InspectOptions::grey>},
       {"--text",
        "TEXT",
        Given::once,
        {"with --font: draw TEXT (UTF-8) in that font as a display",
         "would, in the terminal (one line per pixel row, as --show",
         "draws) or with --png as a picture instead of the contact",
         "sheet: each character through the font's codepage, one it",
         "lacks as its default character, symbols side by side; a line", "feed starts a new line"},
        store<&InspectOptions::text>},
       {"--strings",
        "FILE",
        Given::repeatable,
        {"check the strings of FILE, one language (a translation",
         "catalogue: .po, .mo, .ts, XLIFF, JSON, ARB; or UTF-8 text, a",
         "string a line), against every font with a codepage or the",
         "--font ones:", "the characters a font lacks or its code page cannot hold, each",
         "with the strings it is in, and strings that do not fit; exit",
         "status 1 on any finding. May be given more than once; with",
         "--png the strings are drawn in each font into one picture"},
        append<&InspectOptions::strings>},
       {"--json",
        "FILE",
        Given::once,
        {"with --strings: also write the findings as JSON into FILE; -",
         "writes them to standard output instead of the text"},
        store<&InspectOptions::json>},
       {"--quiet",
        nullptr,
        Given::once,
        {"with --strings: print only the findings and the image's",
         "problems, one a line as compilers print errors (FILE:LINE:", "error: ...)"},
        set_flag<&InspectOptions::quiet>},
       {"--max-width",
        "PIXELS",
        Given::once,
        {"with --strings: report each string wider than PIXELS in a",
         "font checked (a limit that a catalogue sets on a string comes", "first)"},
        store_number<&InspectOptions::max_width, 1, 65535>},
       {"--max-lines",
        "N",
        Given::once,
        {"with --strings: report each string of more than N lines (a",
         "string breaks only where it holds a line break)"},
        store_number<&InspectOptions::max_lines, 1, 65535>},
       {"--line-height",
        "PIXELS",
        Given::once,
        {"with --strings or --text: from the top of one line to the",
         "next; by default the font's rows"},
        store_number<&InspectOptions::line_height, 1, 65535>},
       {"--spacing",
        "N",
        Given::once,
        {"with --strings or --text: pixels the display adds between two",
         "symbols of a line (default 0, as tralk writes every font)"},
        store_number<&InspectOptions::spacing, 0, 255>},
       {"--encoding",
        "E",
        Given::once,
        {"with --text or --strings: what the codepage's codes are:",
         "unicode (default) or the bytes of a code page iconv knows",
         "(CP1251, KOI8-R...); --font F:E for one font"},
        read_encoding},
       {"--version",
        nullptr,
        Given::once,
        {"print the version and exit"},
        set_flag<&InspectOptions::version>},
       {"-h, --help",
        nullptr,
        Given::once,
        {"print this help and exit"},
        set_flag<&InspectOptions::help>}}},
     {"A dump of a chip (the image followed by erased bytes, or among others):",
      {{"--at",
        "AT",
        Given::once,
        {"inspect the image at offset AT of the dump (bytes, 0x..., KiB,",
         "MiB), or, with --chip, the image of that name (UI or ui.bin)"},
        store<&InspectOptions::at>},
       {"--chip",
        "FILE",
        Given::once,
        {"the chip's header that tralk-pack wrote: the image's offset,",
         "size and CRC-32, the next image's offset and the fill"},
        store<&InspectOptions::chip>},
       {"--compare",
        "FILE",
        Given::once,
        {"say whether the dump holds exactly the image FILE and, if not,",
         "where the first difference falls (exit status 1); with the",
         "header beside FILE, check the CRC-32 too"},
        store<&InspectOptions::compare>}}}});

// Why the options cannot be used together; none when they can.
std::optional<std::string> combination_problem(const InspectOptions& opts) {
  if (opts.help || opts.version) return std::nullopt;
  if (opts.image.empty()) return "no image file given";
  const bool font = !opts.fonts.empty();
  const bool strings = !opts.strings.empty();
  if (font && opts.png.empty() && !opts.text && !strings)
    return "--font needs --png, --text or --strings";
  if (opts.fonts.size() > 1 && !strings)
    return "--font can be given more than once only with --strings";
  if (opts.text && !font) return "--text needs --font";
  if (strings && opts.text) return "--text and --strings cannot be used together";
  if (opts.encoding && !opts.text && !strings) return "--encoding needs --text or --strings";
  for (const auto& [given, name] : {std::pair{!opts.json.empty(), "--json"},
                                    {opts.quiet, "--quiet"},
                                    {opts.max_width.has_value(), "--max-width"},
                                    {opts.max_lines.has_value(), "--max-lines"}})
    if (given && !strings) return std::string(name) + " needs --strings";
  for (const auto& [given, name] : {std::pair{opts.line_height.has_value(), "--line-height"},
                                    {opts.spacing.has_value(), "--spacing"}})
    if (given && !strings && !opts.text) return std::string(name) + " needs --text or --strings";
  for (const FontChoice& choice : opts.fonts)
    if (choice.encoding && !opts.text && !strings)
      return "an encoding after --font needs --text or --strings";
  if (!opts.json.empty() && opts.json == opts.png) return "--json and --png name the same file";
  if (opts.scale && opts.png.empty()) return "--scale needs --png";
  if (opts.chip && !opts.at) return "--chip needs --at";
  if (opts.at && !opts.chip && !parse_byte_size(*opts.at))
    return "--at " + in_quotes(*opts.at) + " is no offset; an image's name needs --chip";
  return std::nullopt;
}

}  // namespace

Outcome<InspectOptions> parse_options(int argc, const char* const* argv) {
  InspectOptions opts;
  if (Status read = kOptions.read(argc, argv, opts, read_image); !read.ok())
    return cli::usage_error(cli::usage_text(read.failure(), argv));
  if (std::optional<std::string> problem = combination_problem(opts))
    return cli::usage_error(std::move(*problem));
  return opts;
}

std::string inspect_help() {
  return kHelpHead + kOptions.help(2, 15) + kHelpTail;
}

const cli::OptionTable<InspectOptions>& inspect_option_table() {
  return kOptions;
}

}  // namespace tralk::inspector
