#include "import/fonts/font_options.h"

#include <algorithm>
#include <filesystem>
#include <string_view>
#include <utility>

#include "base/text.h"
#include "cli/arg_reader.h"

namespace tralk::importer {

namespace {

const char kHelpHead[] =
    "Usage: tralk-import font FONTFILE [OPTIONS] -o OUT.sym\n"
    "       tralk-import font FONTFILE --list\n"
    "\n"
    "Turns a font that FreeType reads (TrueType, OpenType, BDF, PCF, also .pcf.gz)\n"
    "or a console font (PSF1, PSF2, also .psf.gz) into a tralk symbol font OUT.sym\n"
    "and its codepage OUT.cp.\n"
    "\n";

const char kHelpTail[] =
    "\n"
    "Exit status: 0 when the files were written (warnings included), 1 for a font\n"
    "or output problem, 2 for a bad command line. After an error no file is left.\n";

using cli::append;
using cli::Given;
using cli::OptionArg;
using cli::set_flag;
using cli::store;
using cli::store_number;

// Takes the value of an option that is one of a few words.
template <typename T>
Status pick(const OptionArg& arg, std::initializer_list<std::pair<const char*, T>> words, T& out) {
  std::string known;
  for (const auto& [word, value] : words) {
    if (arg.value() == word) {
      out = value;
      return {};
    }
    known += known.empty() ? word : std::string(", ") + word;
  }
  return cli::usage_error("option " + std::string(arg.name) + " takes " + known + ", not " +
                          in_quotes(arg.value()));
}

Status read_hinting(FontOptions& opts, const OptionArg& arg) {
  return pick<Hinting>(
      arg, {{"native", Hinting::native}, {"light", Hinting::light}, {"none", Hinting::none}},
      opts.hinting);
}

Status read_height(FontOptions& opts, const OptionArg& arg) {
  return pick<CellHeight>(arg, {{"ink", CellHeight::ink}, {"font", CellHeight::font}}, opts.height);
}

Status read_missing(FontOptions& opts, const OptionArg& arg) {
  return pick<MissingCodes>(arg, {{"warn", MissingCodes::warn}, {"error", MissingCodes::error}},
                            opts.missing);
}

Status read_width(FontOptions& opts, const OptionArg& arg) {
  const std::string_view text = arg.value();
  if (text == "advance") return {};
  const std::optional<uint32_t> n =
      text.starts_with("fixed=") ? cli::parse_number(text.substr(6)) : std::nullopt;
  if (!n || *n < 1 || *n > kMaxFixedWidth)
    return cli::usage_error("option --width takes advance or fixed=N (N from 1 to 65535), not " +
                            in_quotes(text));
  opts.fixed_width = *n;
  return {};
}

Status read_bpp(FontOptions& opts, const OptionArg& arg) {
  const Outcome<uint32_t> n = cli::number_value(arg, 1, 8);
  if (!n.ok()) return n.failure();
  if (n.value() != 1 && n.value() != 2 && n.value() != 4 && n.value() != 8)
    return cli::usage_error("option --bpp takes 1, 2, 4 or 8, not " +
                            in_quotes(std::to_string(n.value())));
  opts.bpp = n.value();
  return {};
}

Status read_ranges(FontOptions& opts, const OptionArg& arg) {
  const Outcome<std::vector<CodeRange>> ranges = parse_ranges(arg.value());
  if (!ranges.ok()) return ranges.failure();
  opts.ranges.insert(opts.ranges.end(), ranges.value().begin(), ranges.value().end());
  return {};
}

Status read_symbols(FontOptions& opts, const OptionArg& arg) {
  opts.symbols += arg.value();
  return {};
}

Status read_names(FontOptions& opts, const OptionArg& arg) {
  const Outcome<std::vector<IconName>> names = parse_names_list(arg.value());
  if (!names.ok()) return names.failure();
  opts.names.insert(opts.names.end(), names->begin(), names->end());
  return {};
}

Status read_encoding(FontOptions& opts, const OptionArg& arg) {
  Outcome<cli::Encoding> encoding = cli::parse_encoding(arg.value());
  if (!encoding.ok()) return encoding.failure();
  opts.encoding = std::move(encoding.value());
  return {};
}

Status read_font(FontOptions& opts, std::string_view arg) {
  if (!opts.font.empty())
    return cli::usage_error("more than one font file given (" + in_quotes(opts.font) + " and " +
                            in_quotes(arg) + "); add fonts with --fallback");
  opts.font = arg;
  return {};
}

const cli::OptionTable<FontOptions> kOptions(
    cli::Syntax::mixed,
    {{"Font:",
      {{"--face",
        "N",
        Given::once,
        {"face N of a font collection (default 0)"},
        store_number<&FontOptions::face, 0, 0xFFFF>},
       {"--size",
        "PX",
        Given::once,
        {"pixels per em; for a bitmap font the strike of that size",
         "(needed for scalable fonts; a bitmap font of one strike", "uses it)"},
        store_number<&FontOptions::size, 1, kMaxPixelSize>},
       {"--fallback",
        "FILE[:FACE]",
        Given::repeatable,
        {"a font that fills codes the fonts before it lack",
         "(repeatable; face FACE of a collection, default 0), at", "the font's size"},
        append<&FontOptions::fallbacks>},
       {"--list",
        nullptr,
        Given::once,
        {"print the font's faces, strikes, charmaps, glyph count and",
         "whether it has glyph names; writes nothing"},
        set_flag<&FontOptions::list>}}},
     {"Characters (default 0x20-0x7E):",
      {{"-r",
        "LIST",
        Given::repeatable,
        {"codes and runs, comma-separated, repeatable: 0x20-0x7E,",
         "U+0400-U+045F, 65; a run above 0xFFFF must be remapped:", "0x1F600-0x1F64F=>0xE000"},
        read_ranges},
       {"--symbols",
        "TEXT",
        Given::repeatable,
        {"the characters of TEXT (UTF-8; repeatable)"},
        read_symbols},
       {"--symbols-file",
        "FILE",
        Given::repeatable,
        {"every character of the UTF-8 text file FILE, line ends and",
         "a byte order mark skipped (repeatable)"},
        append<&FontOptions::symbols_files>},
       {"--names",
        "LIST",
        Given::repeatable,
        {"glyphs by the font's own glyph names, comma-separated,",
         "each at its code in the font (repeatable): cog,wifi"},
        read_names},
       {"--names-file",
        "FILE",
        Given::repeatable,
        {"glyphs by the lines of FILE, \"name\" or \"name code\" (code",
         "hexadecimal), as icon sets' codepoints files (repeatable)"},
        append<&FontOptions::names_files>},
       {"--encoding",
        "E",
        Given::once,
        {"unicode (default): codes are Unicode values; a code page",
         "iconv knows (CP1251, ISO-8859-2, KOI8-R...): codes 0-255",
         "are its bytes; native: the codes of the font's first",
         "charmap, a bitmap font's own codes (--list shows it)"},
        read_encoding},
       {"--missing",
        "M",
        Given::once,
        {"warn (default): codes no font has are skipped and listed;", "error: they stop the run"},
        read_missing},
       {"--defchar",
        "C",
        Given::once,
        {"the codepage's default character: a character or a code",
         "(default \"?\" when selected, else the font's own U+FFFD,",
         "missing-glyph box or DEFAULT_CHAR, added under U+FFFD)"},
        store<&FontOptions::defchar>}}},
     {"Pixels:",
      {{"--bpp",
        "N",
        Given::once,
        {"1 (default): b&w symbols; 2, 4 or 8: grey levels, 0 black"},
        read_bpp},
       {"--invert",
        nullptr,
        Given::once,
        {"with --bpp 2, 4 or 8: light ink on black"},
        set_flag<&FontOptions::invert>},
       {"--hinting", "H", Given::once, {"native (default), light or none"}, read_hinting},
       {"--height",
        "H",
        Given::once,
        {"ink (default): the rows the selected glyphs' ink takes;",
         "font: the font's ascent and descent, ink beyond is clipped"},
        read_height},
       {"--width",
        "W",
        Given::once,
        {"advance (default): each glyph's advance, widened to hold",
         "all its ink; fixed=N: every symbol N pixels wide"},
        read_width}}},
     {"Output:",
      {{"-o", "OUT.sym", Given::once, {"the symbol font"}, store<&FontOptions::out>},
       {"--cp",
        "NAME",
        Given::once,
        {"the codepage file's name, beside OUT.sym (default: OUT's", "base name; .cp is added)"},
        store<&FontOptions::cp_name>},
       {"--no-cp", nullptr, Given::once, {"write no codepage"}, set_flag<&FontOptions::no_cp>},
       {"--names-header",
        "FILE.h",
        Given::once,
        {"also write a C header with each named glyph's UTF-8 text",
         "and code: ICON_WIFI and ICON_WIFI_CODE"},
        store<&FontOptions::names_header>},
       {"--depfile",
        "FILE",
        Given::once,
        {"also write a Make dependency file naming the files written",
         "and the files read (the fonts, the symbol and names files)"},
        store<&FontOptions::depfile>},
       {"--quiet",
        nullptr,
        Given::once,
        {"print nothing but warnings and errors (for builds)"},
        set_flag<&FontOptions::quiet>},
       {"-h, --help",
        nullptr,
        Given::once,
        {"print this help and exit"},
        set_flag<&FontOptions::help>}}}});

// The codepage file's name: as given with ".cp" added, or OUT's base name.
// The name goes on the .sym file's first line as "CP<name>", which the
// .sym reader looks for beside the .sym file.
Status settle_cp_name(FontOptions& opts) {
  const bool given = !opts.cp_name.empty();
  if (!given) opts.cp_name = std::filesystem::path(opts.out).stem().string();
  const bool control = std::any_of(opts.cp_name.begin(), opts.cp_name.end(),
                                   [](char c) { return static_cast<unsigned char>(c) < 0x20; });
  if (control || opts.cp_name.find_first_of("/>") != std::string::npos)
    return cli::usage_error(
        std::string(given ? "--cp takes" : "the codepage is named after the output: give") +
        " a file name without a folder, \">\" or control characters, not " +
        in_quotes(opts.cp_name) + (given ? "" : " (--cp NAME)"));
  if (!cli::ends_with_ignoring_case(opts.cp_name, ".cp")) opts.cp_name += ".cp";
  return {};
}

// Why the options of names cannot be used as given; none when they can.
std::optional<std::string> names_problem(const FontOptions& opts) {
  const bool names = !opts.names.empty() || !opts.names_files.empty();
  if (names && opts.encoding.kind != cli::EncodingKind::unicode)
    return std::string(opts.names.empty() ? "--names-file" : "--names") +
           " needs --encoding unicode: a glyph's code is its Unicode code";
  if (!opts.names_header) return std::nullopt;
  if (!names) return "--names-header needs --names or --names-file";
  if (opts.no_cp) return "--names-header and --no-cp cannot be used together";
  if (!cli::ends_with_ignoring_case(*opts.names_header, ".h") ||
      std::filesystem::path(*opts.names_header).stem().empty())
    return "the names header " + in_quotes(*opts.names_header) + " must be named NAME.h";
  return std::nullopt;
}

// Why the options cannot be used together; none when they can.
std::optional<std::string> combination_problem(const FontOptions& opts) {
  if (opts.font.empty()) return "no font file given";
  if (opts.list) return std::nullopt;
  if (opts.out.empty()) return "no output file given (-o OUT.sym)";
  if (!cli::ends_with_ignoring_case(opts.out, ".sym") ||
      std::filesystem::path(opts.out).stem().empty())
    return "the output file " + in_quotes(opts.out) + " must be named NAME.sym";
  if (opts.invert && opts.bpp == 1) return "--invert needs --bpp 2, 4 or 8";
  if (opts.no_cp && !opts.cp_name.empty()) return "--cp and --no-cp cannot be used together";
  if (opts.encoding.kind == cli::EncodingKind::native && !opts.symbols.empty())
    return "--symbols needs --encoding unicode or a code page";
  if (opts.encoding.kind == cli::EncodingKind::native && !opts.symbols_files.empty())
    return "--symbols-file needs --encoding unicode or a code page";
  return names_problem(opts);
}

Status check_combination(FontOptions& opts) {
  if (opts.help) return {};
  if (std::optional<std::string> problem = combination_problem(opts))
    return cli::usage_error(std::move(*problem));
  if (opts.list) return {};
  if (opts.ranges.empty() && opts.symbols.empty() && opts.symbols_files.empty() &&
      opts.names.empty() && opts.names_files.empty())
    opts.ranges.push_back({0x20, 0x7E, 0x20});
  return opts.no_cp ? Status{} : settle_cp_name(opts);
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

Outcome<FontOptions> parse_font_options(int argc, const char* const* argv) {
  FontOptions opts;
  if (Status read = kOptions.read(argc, argv, opts, read_font); !read.ok())
    return cli::usage_error(cli::usage_text(read.failure(), argv));
  if (Status checked = check_combination(opts); !checked.ok()) return checked.failure();
  return opts;
}

std::string describe_options(const FontOptions& opts) {
  std::string out;
  if (opts.face) out += "--face " + std::to_string(opts.face) + " ";
  if (opts.size) out += "--size " + std::to_string(*opts.size) + " ";
  if (!opts.ranges.empty()) out += "-r " + ranges_text(opts.ranges) + " ";
  if (!opts.symbols.empty()) out += "--symbols " + in_quotes(opts.symbols) + " ";
  for (const std::string& f : opts.symbols_files) out += "--symbols-file " + in_quotes(f) + " ";
  std::string listed;
  for (const IconName& n : opts.names) listed += (listed.empty() ? "" : ",") + n.name;
  if (!listed.empty()) out += "--names " + in_quotes(listed) + " ";
  for (const std::string& f : opts.names_files) out += "--names-file " + in_quotes(f) + " ";
  out += "--encoding " + opts.encoding.name() + " --bpp " + std::to_string(opts.bpp);
  if (opts.invert) out += " --invert";
  out += std::string(" --hinting ") + hinting_name(opts.hinting);
  out += opts.height == CellHeight::ink ? " --height ink" : " --height font";
  out += opts.fixed_width ? " --width fixed=" + std::to_string(*opts.fixed_width)
                          : std::string(" --width advance");
  for (const std::string& f : opts.fallbacks) out += " --fallback " + in_quotes(f);
  if (opts.missing == MissingCodes::error) out += " --missing error";
  if (opts.defchar) out += " --defchar " + in_quotes(*opts.defchar);
  return out;
}

std::string font_help() {
  return kHelpHead + kOptions.help(2, 20) + kHelpTail;
}

const cli::OptionTable<FontOptions>& font_option_table() {
  return kOptions;
}

}  // namespace tralk::importer
