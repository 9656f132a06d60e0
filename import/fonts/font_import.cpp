#include "import/fonts/font_import.h"

#include <algorithm>
#include <filesystem>
#include <utility>

#include "base/text.h"
#include "import/fonts/cell_layout.h"
#include "import/fonts/code_selection.h"
#include "import/fonts/cp_text.h"
#include "import/fonts/font_face.h"
#include "import/fonts/glyph_ink.h"
#include "import/fonts/report_text.h"
#include "import/fonts/sym_text.h"
#include "import/fonts/symbol_pack.h"

namespace tralk::importer {

namespace {

constexpr size_t kMaxSymbols = 0xFFFF;
// An image holds a font of at most this many pixel bytes.
constexpr uint64_t kMaxFontBytes = 0xFFFFFFFF;

// The glyph found for a wanted code.
struct Found {
  WantedCode wanted;
  size_t font = 0;  // 0: the font, 1 on: the fallbacks
  FT_UInt glyph = 0;
};

// Everything the stages hand on.
struct Work {
  std::vector<FontFace> fonts;
  std::vector<WantedCode> wanted;
  std::vector<Found> found;
  std::vector<uint16_t> missing;
  std::vector<GlyphInk> glyphs;
  CellLayout layout;
  uint16_t defchar = 0;
};

// The font, then the fallbacks, each FILE or FILE:FACE.
Status open_fonts(FT_Library library, const FontOptions& opts, Work& work) {
  std::vector<FontSource> sources = {{opts.font, opts.face}};
  for (const std::string& f : opts.fallbacks) sources.push_back(parse_font_source(f));
  for (const FontSource& source : sources) {
    Outcome<FontFace> font =
        open_font_face(library, source.path, source.face, opts.size, opts.encoding);
    if (!font.ok()) return font.failure();
    work.fonts.push_back(std::move(font.value()));
  }
  return {};
}

// The first font that has a glyph for each code; the rest are missing.
void find_glyphs(Work& work) {
  for (const WantedCode& w : work.wanted) {
    bool found = false;
    for (size_t f = 0; w.lookup && f < work.fonts.size() && !found; ++f) {
      const FT_UInt glyph = font_glyph(work.fonts[f], *w.lookup);
      // Glyph 0 is the font's "missing character" box, never a symbol.
      if (glyph != 0) {
        work.found.push_back({w, f, glyph});
        found = true;
      }
    }
    if (!found) work.missing.push_back(w.code);
  }
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
  if (work.found.size() > kMaxSymbols)
    return Failure{Fault::too_large, std::to_string(work.found.size()) +
                                         " symbols selected; a font holds at most 65535"};
  return {};
}

Status render_all(FT_Library library, const FontOptions& opts, Work& work) {
  work.glyphs.reserve(work.found.size());
  for (const Found& f : work.found) {
    const FontFace& font = work.fonts[f.font];
    const RenderSettings settings{opts.bpp, opts.hinting, glyph_side_limit(font.pixel_size)};
    Outcome<GlyphInk> glyph = render_glyph(library, font.face.get(), f.glyph, settings);
    if (!glyph.ok())
      return Failure{glyph.code(), "cannot render the glyph of " + hex4(f.wanted.code) +
                                       " in font " + in_quotes(font.path) + ": " + glyph.error()};
    work.glyphs.push_back(std::move(glyph.value()));
  }
  return {};
}

Status lay_out(const FontOptions& opts, Work& work, ImportResult& result) {
  const CellRules rules{opts.height, opts.fixed_width, work.fonts[0].ascent, work.fonts[0].descent};
  Outcome<CellLayout> layout = lay_out_cells(work.glyphs, rules);
  if (!layout.ok()) return layout.failure();
  work.layout = std::move(layout.value());
  const uint64_t bytes = packed_size(work.layout, opts.bpp);
  if (bytes > kMaxFontBytes)
    return Failure{Fault::too_large, "the symbols would take " + std::to_string(bytes) +
                                         " bytes, more than an image can hold"};
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

// --defchar (read and checked on the command line), or "?" when it is among
// the symbols, or the first code.
Status choose_defchar(const FontOptions& opts, uint16_t given, Work& work) {
  if (opts.defchar) {
    if (!has_code(work, given))
      return Failure{Fault::not_found,
                     "the default character " + hex4(given) + " is not among the symbols"};
    work.defchar = given;
    return {};
  }
  const Outcome<uint16_t> question = parse_defchar("?", opts.encoding);
  work.defchar = question.ok() && has_code(work, question.value()) ? question.value()
                                                                   : work.found.front().wanted.code;
  return {};
}

// What each symbol is: its code, the character looked up where that
// differs, and the fallback font it came from.
std::string symbol_note(const FontOptions& opts, const Found& f, const Work& work) {
  std::string note = hex4(f.wanted.code);
  if (opts.encoding.kind != cli::EncodingKind::native && f.wanted.lookup != f.wanted.code)
    note += " " + u_plus(*f.wanted.lookup);
  if (f.font > 0) note += " from " + in_quotes(work.fonts[f.font].path);
  return note;
}

void compose(FT_Library library, const FontOptions& opts, const Work& work, ImportResult& result) {
  const PackedSymbols symbols = pack_symbols(work.glyphs, work.layout, {opts.bpp, opts.invert});
  SymTextInfo info;
  if (!opts.no_cp) info.cp_name = opts.cp_name;
  info.comments.push_back("Made by tralk-import from " + font_line(work.fonts[0], opts.face) +
                          ", FreeType " + ft_version(library));
  for (size_t i = 1; i < work.fonts.size(); ++i)
    info.comments.push_back("Fallback " + font_line(work.fonts[i], work.fonts[i].index));
  info.comments.push_back("Options: " + describe_options(opts));
  info.comments.push_back(shape_line(symbols, work.layout) + ", " +
                          depth_words(opts.bpp, opts.invert));
  for (const Found& f : work.found) info.notes.push_back(symbol_note(opts, f, work));

  result.report = info.comments;
  result.files.push_back({opts.out, sym_text(symbols, info)});
  if (opts.no_cp) return;
  std::vector<uint16_t> codes;
  for (const Found& f : work.found) codes.push_back(f.wanted.code);
  const std::vector<CpRange> ranges = cp_ranges(codes);
  const std::string cp_path =
      (std::filesystem::path(opts.out).parent_path() / opts.cp_name).string();
  result.files.push_back({cp_path, cp_text(ranges, work.defchar)});
  result.report.push_back("Codepage " + in_quotes(opts.cp_name) + ": " +
                          plural(ranges.size(), "range", "ranges") + ", default character " +
                          hex4(work.defchar));
}

}  // namespace

Outcome<ImportResult> import_font(FT_Library library, const FontOptions& opts) {
  Work work;
  Outcome<std::vector<WantedCode>> wanted = select_codes(opts.ranges, opts.symbols, opts.encoding);
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
  Status made = check_found(opts, work, result);
  if (made.ok()) made = choose_defchar(opts, defchar, work);
  if (made.ok()) made = render_all(library, opts, work);
  if (made.ok()) made = lay_out(opts, work, result);
  if (!made.ok()) return made.failure();
  compose(library, opts, work, result);
  return result;
}

}  // namespace tralk::importer
