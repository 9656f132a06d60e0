#include "import/fonts/font_import.h"

#include <algorithm>
#include <filesystem>
#include <utility>

#include "base/text.h"
#include "cli/arg_reader.h"
#include "import/fonts/cell_layout.h"
#include "import/fonts/code_selection.h"
#include "import/fonts/cp_text.h"
#include "import/fonts/font_face.h"
#include "import/fonts/glyph_ink.h"
#include "import/fonts/missing_glyph.h"
#include "import/fonts/named_glyphs.h"
#include "import/fonts/names_header.h"
#include "import/fonts/report_text.h"
#include "import/fonts/symbol_pack.h"

namespace tralk::importer {

namespace {

constexpr size_t kMaxSymbols = 0xFFFF;
// An image holds a font of at most this many pixel bytes.
constexpr uint64_t kMaxFontBytes = 0xFFFFFFFF;

// The code a font's own symbol for missing characters is added under.
constexpr uint16_t kReplacementCode = 0xFFFD;

// The glyph found for a wanted code.
struct Found {
  WantedCode wanted;
  size_t font = 0;  // 0: the font, 1 on: the fallbacks
  FT_UInt glyph = 0;
  bool added = false;  // added as the default character (Work::added_what says what it is)
  std::string names;   // the glyph names it was taken by, if any
};

// Everything the stages hand on.
struct Work {
  std::vector<FontFace> fonts;
  std::vector<WantedCode> wanted;
  std::vector<Found> found;
  std::vector<uint16_t> missing;
  std::vector<GlyphInk> glyphs;
  std::vector<uint8_t> levels;  // the glyphs' ink levels
  CellLayout layout;
  uint16_t defchar = 0;
  std::string added_what;         // the font's symbol added as the default character, if any
  bool boxed = false;             // that symbol, too large, drawn as a box (missing_glyph.h)
  std::vector<NamedGlyph> named;  // the glyphs taken by name, in the order given
  std::string names_header;       // the text of --names-header
  std::string defchar_words;      // after the default character's code in the report
  std::string outliers_line;      // the glyphs that make every symbol larger, if any
};

// The font, then the fallbacks, each FILE or FILE:FACE. A fallback is used
// at the font's size, --size or its strike: symbols of two heights would
// make every symbol as high as the larger.
Status open_fonts(FT_Library library, const FontOptions& opts, Work& work) {
  Outcome<FontFace> first = open_font_face(library, opts.font, opts.face, opts.size, opts.encoding);
  if (!first.ok()) return first.failure();
  work.fonts.push_back(std::move(first.value()));
  const uint32_t size = work.fonts[0].pixel_size;
  for (const std::string& f : opts.fallbacks) {
    const FontSource source = parse_font_source(f);
    Outcome<FontFace> font = open_font_face(library, source.path, source.face, size, opts.encoding,
                                            opts.size ? nullptr : &opts.font);
    if (!font.ok()) return font.failure();
    work.fonts.push_back(std::move(font.value()));
  }
  return {};
}

// The first font that has a glyph for each code; the rest are missing.
void find_glyphs(Work& work) {
  work.found.reserve(work.wanted.size());
  for (const WantedCode& w : work.wanted) {
    bool found = false;
    for (size_t f = 0; w.lookup && f < work.fonts.size() && !found; ++f) {
      const FT_UInt glyph = font_glyph(work.fonts[f], *w.lookup);
      // Glyph 0 is the font's "missing character" box, never a symbol.
      if (glyph != 0) {
        work.found.push_back({w, f, glyph, false, {}});
        found = true;
      }
    }
    if (!found) work.missing.push_back(w.code);
  }
}

// "0x41", or "glyph \"cog\"": what selected a code.
std::string selected_for(const Found& f) {
  if (!f.names.empty()) return "glyph " + in_quotes(f.names);
  const uint32_t source = f.wanted.lookup.value_or(f.wanted.code);
  return format_code_run(source, source);
}

// The glyphs taken by name join those of the codes selected, in code
// order; a code selected both ways must give one glyph.
Status add_named_glyphs(const FontOptions& opts, Work& work) {
  std::vector<IconName> icons = opts.names;
  icons.insert(icons.end(), opts.file_names.begin(), opts.file_names.end());
  if (icons.empty()) return {};
  Outcome<std::vector<NamedGlyph>> named = find_named_glyphs(work.fonts, icons);
  if (!named.ok()) return named.failure();
  for (const NamedGlyph& g : named.value()) {
    const auto at =
        std::lower_bound(work.found.begin(), work.found.end(), g.code,
                         [](const Found& f, uint16_t code) { return f.wanted.code < code; });
    const bool missing = std::binary_search(work.missing.begin(), work.missing.end(), g.code);
    if (missing || (at != work.found.end() && at->wanted.code == g.code &&
                    (at->font != g.font || at->glyph != g.glyph)))
      return cli::usage_error("code " + format_code_run(g.code, g.code) +
                              " is selected twice, for " +
                              (missing ? format_code_run(g.code, g.code) : selected_for(*at)) +
                              " and for glyph " + in_quotes(g.name));
    if (at != work.found.end() && at->wanted.code == g.code) {
      at->names += (at->names.empty() ? "" : ", ") + g.name;
      continue;
    }
    work.found.insert(at, Found{{g.code, std::nullopt}, g.font, g.glyph, false, g.name});
  }
  work.named = std::move(named.value());
  return {};
}

// The text of --names-header, made before anything is rendered: two names
// of one macro stop the import at once.
Status make_names_header(const FontOptions& opts, Work& work) {
  if (!opts.names_header || work.named.empty()) return {};
  Outcome<std::string> text = names_header_text(
      work.named, *opts.names_header, std::filesystem::path(opts.out).filename().string());
  if (!text.ok()) return text.failure();
  work.names_header = std::move(text.value());
  return {};
}

Status check_found(const FontOptions& opts, Work& work, ImportResult& result) {
  if (!work.missing.empty()) {
    const std::string text = plural(work.missing.size(), "code has", "codes have") +
                             " no glyph in " + (work.fonts.size() == 1 ? "the font" : "any font");
    if (opts.missing == MissingCodes::error)
      return Failure{Fault::not_found, text + ": " + code_runs(work.missing)};
    result.warnings.push_back(text + " and " + (work.missing.size() == 1 ? "was" : "were") +
                              " skipped: " + code_runs(work.missing));
  }
  if (work.found.empty())
    return Failure{Fault::not_found,
                   std::string("no glyph at all: ") +
                       (work.fonts.size() == 1 ? "the font has" : "the fonts have") +
                       " none of the codes selected"};
  return {};
}

Status check_count(const Work& work) {
  if (work.found.size() > kMaxSymbols)
    return Failure{Fault::too_large, std::to_string(work.found.size()) +
                                         " symbols selected; a font holds at most 65535"};
  return {};
}

// The least bytes the symbols can take, from the glyphs rendered so far:
// the rows and the widest symbol only grow as more are rendered. A size
// whose symbols cannot fit an image is refused as soon as this shows it,
// not after rendering thousands of glyphs.
class LeastBytes {
 public:
  LeastBytes(const CellRules& rules, unsigned bpp, size_t symbols)
      : rules_(rules), bpp_(bpp), symbols_(symbols) {
    if (rules.height == CellHeight::font) {
      top_ = -int64_t{rules.font_ascent};
      bottom_ = rules.font_descent;
    }
    if (rules.fixed_width) widest_ = *rules.fixed_width;
  }

  void add(const GlyphInk& g) {
    if (rules_.height == CellHeight::ink && g.has_ink()) {
      top_ = std::min<int64_t>(top_, g.top);
      bottom_ = std::max<int64_t>(bottom_, int64_t{g.top} + g.height);
    }
    widest_ = std::max(widest_, symbol_cell(g, rules_).width);
  }

  uint64_t rows() const { return bottom_ > top_ ? static_cast<uint64_t>(bottom_ - top_) : 1; }
  uint64_t each() const { return (uint64_t{widest_} * bpp_ + 7) / 8 * rows(); }
  uint64_t total() const { return each() * symbols_; }
  uint32_t widest() const { return widest_; }

 private:
  CellRules rules_;
  unsigned bpp_;
  size_t symbols_;
  int64_t top_ = INT64_MAX / 2, bottom_ = INT64_MIN / 2;
  uint32_t widest_ = 1;
};

Failure too_many_bytes(const FontOptions& opts, const Work& work, const LeastBytes& least) {
  return Failure{Fault::too_large,
                 "at " + std::to_string(work.fonts[0].pixel_size) + " px the " +
                     std::to_string(work.found.size()) + " symbols would take more than " +
                     std::to_string(kMaxFontBytes) + " bytes, all that an image holds (" +
                     std::to_string(least.each()) +
                     " bytes each at least: " + std::to_string(least.rows()) + " rows, " +
                     std::to_string(least.widest()) + " pixels wide, " + std::to_string(opts.bpp) +
                     (opts.bpp == 1 ? " bit" : " bits") + " per pixel); a smaller size, fewer " +
                     "codes, or fewer bits per pixel"};
}

CellRules cell_rules(const FontOptions& opts, const Work& work) {
  return {opts.height, opts.fixed_width, work.fonts[0].ascent, work.fonts[0].descent};
}

// Room for the ink of every glyph, reserved at once (the pages are touched
// only as they fill): about an em each, so that the block seldom moves as
// it grows, up to a bound.
size_t levels_room(size_t glyphs, uint32_t pixel_size, unsigned bpp) {
  constexpr uint64_t kMostReserved = uint64_t{64} << 20;
  const uint64_t em = (uint64_t{pixel_size} * bpp + 7) / 8 * pixel_size + kBitRowSlack;
  return static_cast<size_t>(std::min(em * glyphs, kMostReserved));
}

Status render_all(FT_Library library, const FontOptions& opts, Work& work) {
  const CellRules rules = cell_rules(opts, work);
  LeastBytes least(rules, opts.bpp, work.found.size());
  if (least.total() > kMaxFontBytes) return too_many_bytes(opts, work, least);
  work.glyphs.reserve(work.found.size());
  work.levels.reserve(levels_room(work.found.size(), work.fonts[0].pixel_size, opts.bpp));
  for (const Found& f : work.found) {
    const FontFace& font = work.fonts[f.font];
    const RenderSettings settings{opts.bpp, opts.hinting, glyph_side_limit(font.pixel_size)};
    Outcome<GlyphInk> glyph =
        render_glyph(library, font.face.get(), f.glyph, settings, work.levels);
    if (!glyph.ok())
      return Failure{glyph.code(), "cannot render the glyph of " + hex4(f.wanted.code) +
                                       " in font " + in_quotes(font.path) + ": " + glyph.error()};
    // The default character added never makes the symbols larger.
    if (!f.added) least.add(glyph.value());
    if (least.total() > kMaxFontBytes) return too_many_bytes(opts, work, least);
    work.glyphs.push_back(std::move(glyph.value()));
  }
  return {};
}

// "2 glyphs make every symbol 32 rows high and 64 bytes where the others
// need 18 rows and 36 bytes: ...", with the way out.
std::string outliers_line(const Outliers& o, const FontOptions& opts, const Work& work) {
  const bool taller = o.rest_rows < o.rows, wider = o.rest_width < o.width;
  std::string with, without;
  if (taller) {
    with = std::to_string(o.rows) + " rows high";
    without = std::to_string(o.rest_rows) + " rows";
  }
  if (wider) {
    with += (taller ? ", " : "") + std::to_string(o.width) + " pixels wide";
    without += (taller ? ", " : "") + std::to_string(o.rest_width) + " pixels";
  }
  std::vector<uint16_t> codes;
  for (const size_t i : o.glyphs) codes.push_back(work.found[i].wanted.code);
  const bool one = codes.size() == 1;
  std::string way = one ? "leave it out" : "leave them out";
  if (taller && opts.height == CellHeight::ink)
    way = "--height font takes the font's " +
          std::to_string(work.fonts[0].ascent + work.fonts[0].descent) +
          " rows and clips what lies beyond, or " + way;
  return plural(codes.size(), "glyph makes", "glyphs make") + " every symbol " + with + " and " +
         std::to_string(o.bytes) + " bytes where the others need " + without + " and " +
         std::to_string(o.rest_bytes) + " bytes: " + code_runs(codes) + "; " + way;
}

uint32_t widest(const CellLayout& layout) {
  uint32_t w = 1;
  for (const SymbolCell& c : layout.cells) w = std::max(w, c.width);
  return w;
}

// The default character added never makes the symbols larger: where the
// font's own symbol for missing characters would make them higher or wider
// than the selected glyphs need (or lose ink in their cell), a box is drawn
// in that cell instead, as wide as the font's own symbol or the widest
// selected one, whichever is narrower.
void fit_added_default(const FontOptions& opts, Work& work) {
  const auto added =
      std::find_if(work.found.begin(), work.found.end(), [](const Found& f) { return f.added; });
  if (added == work.found.end()) return;
  const size_t i = static_cast<size_t>(added - work.found.begin());
  const CellRules rules = cell_rules(opts, work);
  std::vector<GlyphInk> selected = work.glyphs;
  selected.erase(selected.begin() + static_cast<std::ptrdiff_t>(i));
  const Outcome<CellLayout> without = lay_out_cells(selected, rules);
  // The selected glyphs alone cannot be laid out: lay_out says why.
  if (!without.ok()) return;
  const uint32_t room = widest(without.value());
  const Outcome<CellLayout> with = lay_out_cells(work.glyphs, rules);
  if (with.ok() && with->height == without->height && with->ascent == without->ascent &&
      with->cells[i].width <= room &&
      std::find(with->clipped.begin(), with->clipped.end(), i) == with->clipped.end())
    return;
  const uint32_t width = with.ok() ? std::min(with->cells[i].width, room) : room;
  work.glyphs[i] = draw_box(width, without.value(), opts.bpp, work.levels);
  work.boxed = true;
  work.defchar_words = ", a box added under U+FFFD (the font's " + work.added_what +
                       " would make every symbol larger)";
}

Status lay_out(const FontOptions& opts, Work& work, ImportResult& result) {
  const CellRules rules = cell_rules(opts, work);
  Outcome<CellLayout> layout = lay_out_cells(work.glyphs, rules);
  if (!layout.ok()) return layout.failure();
  work.layout = std::move(layout.value());
  const uint64_t bytes = packed_size(work.layout, opts.bpp);
  if (bytes > kMaxFontBytes)
    return Failure{Fault::too_large, "the symbols would take " + std::to_string(bytes) +
                                         " bytes, more than an image can hold"};
  if (const std::optional<Outliers> o = find_outliers(work.glyphs, work.layout, rules, opts.bpp))
    work.outliers_line = outliers_line(*o, opts, work);
  if (!work.layout.clipped.empty()) {
    std::vector<uint16_t> codes;
    for (const size_t i : work.layout.clipped) codes.push_back(work.found[i].wanted.code);
    result.warnings.push_back(plural(codes.size(), "glyph loses", "glyphs lose") + " ink outside " +
                              (opts.fixed_width ? "the fixed width" : "the font's height") +
                              ", clipped: " + code_runs(codes));
  }
  return {};
}

bool has_code(const Work& work, uint16_t code) {
  return std::any_of(work.found.begin(), work.found.end(),
                     [code](const Found& f) { return f.wanted.code == code; });
}

// Adds the font's symbol for missing characters under U+FFFD, in code order.
void add_default_symbol(Work& work, FT_UInt glyph, std::optional<uint32_t> lookup,
                        const std::string& what) {
  const Found added{{kReplacementCode, lookup}, 0, glyph, true, {}};
  work.added_what = what;
  const auto at = std::find_if(work.found.begin(), work.found.end(),
                               [](const Found& f) { return f.wanted.code > kReplacementCode; });
  work.found.insert(at, added);
  work.defchar = kReplacementCode;
  work.defchar_words = ", the font's " + what + (lookup ? ", added" : " added under U+FFFD");
}

// Without --defchar or "?", the font's own symbol for missing characters:
// its U+FFFD, or its missing-glyph box or default character added under
// U+FFFD; the first code, with a warning, when it has none.
void choose_own_default(const FontOptions& opts, Work& work, ImportResult& result) {
  const FontFace& font = work.fonts[0];
  const bool unicode = opts.encoding.kind != cli::EncodingKind::native;
  const FT_UInt replacement = unicode ? font_glyph(font, kReplacementCode) : 0;
  if (replacement != 0 && has_code(work, kReplacementCode)) {
    work.defchar = kReplacementCode;
    work.defchar_words = ", the font's U+FFFD";
    return;
  }
  if (!has_code(work, kReplacementCode)) {
    if (replacement != 0) return add_default_symbol(work, replacement, kReplacementCode, "U+FFFD");
    if (const std::optional<MissingGlyph> own = missing_glyph(font))
      return add_default_symbol(work, own->glyph, std::nullopt, own->what);
  }
  work.defchar = work.found.front().wanted.code;
  work.defchar_words = ", the first code";
  result.warnings.push_back(
      "\"?\" is not among the symbols and the font has no symbol of its own "
      "for missing characters: the default character is the first code, " +
      hex4(work.defchar) + "; choose one with --defchar");
}

// --defchar (read and checked on the command line), or "?" when it is among
// the symbols, or the font's own symbol for missing characters.
Status choose_defchar(const FontOptions& opts, uint16_t given, Work& work, ImportResult& result) {
  if (opts.defchar) {
    if (!has_code(work, given))
      return Failure{Fault::not_found,
                     "the default character " + hex4(given) + " is not among the symbols"};
    work.defchar = given;
    return {};
  }
  const Outcome<uint16_t> question = parse_defchar("?", opts.encoding);
  if (question.ok() && has_code(work, question.value())) {
    work.defchar = question.value();
    return {};
  }
  // Without a codepage there is no default character to choose.
  if (!opts.no_cp) choose_own_default(opts, work, result);
  return {};
}

// What each symbol is: its code, the character looked up where that
// differs, and the fallback font it came from.
std::string symbol_note(const FontOptions& opts, const Found& f, const Work& work) {
  std::string note = hex4(f.wanted.code);
  if (opts.encoding.kind != cli::EncodingKind::native && f.wanted.lookup &&
      *f.wanted.lookup != f.wanted.code)
    note += " " + u_plus(*f.wanted.lookup);
  if (f.added)
    note += work.boxed ? " a box for missing characters" : " the font's " + work.added_what;
  if (!f.names.empty()) note += " " + in_quotes(f.names);
  if (f.font > 0) note += " from " + in_quotes(work.fonts[f.font].path);
  return note;
}

void compose(FT_Library library, const FontOptions& opts, Work& work, ImportResult& result) {
  SymFile& sym = result.sym;
  sym.path = opts.out;
  sym.form = {opts.bpp, opts.invert};
  SymTextInfo& info = sym.info;
  if (!opts.no_cp) info.cp_name = opts.cp_name;
  info.comments.push_back("Made by tralk-import from " + font_line(work.fonts[0], opts.face) +
                          ", FreeType " + ft_version(library));
  for (size_t i = 1; i < work.fonts.size(); ++i)
    info.comments.push_back("Fallback " + font_line(work.fonts[i], work.fonts[i].index));
  info.comments.push_back("Options: " + describe_options(opts));
  info.comments.push_back(shape_line(work.layout, symbol_bytes(work.layout, opts.bpp)) + ", " +
                          depth_words(opts.bpp, opts.invert));
  sym.note_ends.reserve(work.found.size());
  for (const Found& f : work.found) sym.add_note(symbol_note(opts, f, work));
  sym.glyphs = std::move(work.glyphs);
  sym.levels = std::move(work.levels);
  sym.layout = std::move(work.layout);

  result.report = info.comments;
  if (!work.outliers_line.empty()) result.report.push_back(work.outliers_line);
  if (opts.no_cp) return;
  std::vector<uint16_t> codes;
  for (const Found& f : work.found) codes.push_back(f.wanted.code);
  const std::vector<CpRange> ranges = cp_ranges(codes);
  const std::string cp_path =
      (std::filesystem::path(opts.out).parent_path() / opts.cp_name).string();
  result.files.emplace_back(cp_path, cp_text(ranges, work.defchar));
  result.report.push_back("Codepage " + in_quotes(opts.cp_name) + ": " +
                          plural(ranges.size(), "range", "ranges") + ", default character " +
                          hex4(work.defchar) + work.defchar_words);
  if (work.named.empty()) return;
  std::string line = plural(work.named.size(), "glyph", "glyphs") + " taken by name";
  if (opts.names_header) {
    result.files.emplace_back(*opts.names_header, work.names_header);
    line += "; " + in_quotes(*opts.names_header) +
            " defines ICON_<NAME> (its text) and ICON_<NAME>_CODE for each";
  }
  result.report.push_back(std::move(line));
}

}  // namespace

Outcome<ImportResult> import_font(FT_Library library, const FontOptions& opts) {
  Work work;
  Outcome<std::vector<WantedCode>> wanted =
      select_codes(opts.ranges, opts.symbols + opts.file_symbols, opts.encoding);
  if (!wanted.ok()) return wanted.failure();
  work.wanted = std::move(wanted.value());
  uint16_t defchar = 0;
  if (opts.defchar) {
    const Outcome<uint16_t> given = parse_defchar(*opts.defchar, opts.encoding);
    if (!given.ok()) return given.failure();
    defchar = given.value();
  }
  if (Status opened = open_fonts(library, opts, work); !opened.ok()) return opened.failure();
  find_glyphs(work);
  ImportResult result;
  Status made = add_named_glyphs(opts, work);
  if (made.ok()) made = make_names_header(opts, work);
  if (made.ok()) made = check_found(opts, work, result);
  if (made.ok()) made = choose_defchar(opts, defchar, work, result);
  if (made.ok()) made = check_count(work);
  if (made.ok()) made = render_all(library, opts, work);
  if (made.ok()) {
    fit_added_default(opts, work);
    made = lay_out(opts, work, result);
  }
  if (!made.ok()) return made.failure();
  compose(library, opts, work, result);
  return result;
}

}  // namespace tralk::importer
