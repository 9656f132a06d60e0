#include "import/fonts/font_import.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>

#include "import/fonts/cell_layout.h"
#include "import/fonts/code_selection.h"
#include "import/fonts/cp_text.h"
#include "import/fonts/font_face.h"
#include "import/fonts/glyph_ink.h"
#include "import/fonts/report_text.h"
#include "import/fonts/sym_text.h"
#include "import/fonts/symbol_pack.h"

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

bool open_fonts(FT_Library library, const FontOptions& opts, Work& work, std::string& error) {
  std::vector<std::string> paths = {opts.font};
  paths.insert(paths.end(), opts.fallbacks.begin(), opts.fallbacks.end());
  for (size_t i = 0; i < paths.size(); ++i) {
    FontFace font;
    if (!open_font_face(library, paths[i], i == 0 ? opts.face : 0, opts.size, opts.encoding, font,
                        error))
      return false;
    work.fonts.push_back(std::move(font));
  }
  return true;
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

bool check_found(const FontOptions& opts, Work& work, ImportResult& result, std::string& error) {
  if (!work.missing.empty()) {
    const std::string text = plural(work.missing.size(), "code has", "codes have") +
                             " no glyph in " + (work.fonts.size() == 1 ? "the font" : "any font");
    if (opts.missing == MissingCodes::error) {
      error = text + ": " + code_runs(work.missing);
      return false;
    }
    result.warnings.push_back(text + " and " + (work.missing.size() == 1 ? "was" : "were") +
                              " skipped: " + code_runs(work.missing));
  }
  if (work.found.empty()) {
    error = std::string("no glyph at all: ") +
            (work.fonts.size() == 1 ? "the font has" : "the fonts have") +
            " none of the codes selected";
    return false;
  }
  if (work.found.size() > kMaxSymbols) {
    error = std::to_string(work.found.size()) + " symbols selected; a font holds at most 65535";
    return false;
  }
  return true;
}

bool render_all(FT_Library library, const FontOptions& opts, Work& work, std::string& error) {
  work.glyphs.resize(work.found.size());
  for (size_t i = 0; i < work.found.size(); ++i) {
    const Found& f = work.found[i];
    const FontFace& font = work.fonts[f.font];
    const RenderSettings settings{opts.bpp, opts.hinting, glyph_side_limit(font.pixel_size)};
    if (!render_glyph(library, font.face.get(), f.glyph, settings, work.glyphs[i], error)) {
      error = "cannot render the glyph of " + hex4(f.wanted.code) + " in font " +
              quoted(font.path) + ": " + error;
      return false;
    }
  }
  return true;
}

bool lay_out(const FontOptions& opts, Work& work, ImportResult& result, std::string& error) {
  const CellRules rules{opts.height, opts.fixed_width, work.fonts[0].ascent, work.fonts[0].descent};
  if (!lay_out_cells(work.glyphs, rules, work.layout, error)) return false;
  const uint64_t bytes = packed_size(work.layout, opts.bpp);
  if (bytes > kMaxFontBytes) {
    error =
        "the symbols would take " + std::to_string(bytes) + " bytes, more than an image can hold";
    return false;
  }
  if (!work.layout.clipped.empty()) {
    std::vector<uint16_t> codes;
    for (const size_t i : work.layout.clipped) codes.push_back(work.found[i].wanted.code);
    result.warnings.push_back(plural(codes.size(), "glyph loses", "glyphs lose") + " ink outside " +
                              (opts.fixed_width ? "the fixed width" : "the font's height") +
                              ", clipped: " + code_runs(codes));
  }
  return true;
}

bool has_code(const Work& work, uint16_t code) {
  return std::any_of(work.found.begin(), work.found.end(),
                     [code](const Found& f) { return f.wanted.code == code; });
}

// --defchar, or "?" when it is among the symbols, or the first code.
bool choose_defchar(const FontOptions& opts, Work& work, std::string& error) {
  uint16_t code = 0;
  if (opts.defchar) {
    if (!parse_defchar(*opts.defchar, opts.encoding, code, error)) return false;
    if (!has_code(work, code)) {
      error = "the default character " + hex4(code) + " is not among the symbols";
      return false;
    }
  } else {
    std::string ignored;
    if (!parse_defchar("?", opts.encoding, code, ignored) || !has_code(work, code))
      code = work.found.front().wanted.code;
  }
  work.defchar = code;
  return true;
}

// What each symbol is: its code, the character looked up where that
// differs, and the fallback font it came from.
std::string symbol_note(const FontOptions& opts, const Found& f, const Work& work) {
  std::string note = hex4(f.wanted.code);
  if (opts.encoding.kind != EncodingKind::native && f.wanted.lookup != f.wanted.code) {
    char buf[16];
    std::snprintf(buf, sizeof buf, " U+%04X", static_cast<unsigned>(*f.wanted.lookup));
    note += buf;
  }
  if (f.font > 0) note += " from " + quoted(work.fonts[f.font].path);
  return note;
}

void compose(FT_Library library, const FontOptions& opts, const Work& work, ImportResult& result) {
  const PackedSymbols symbols = pack_symbols(work.glyphs, work.layout, {opts.bpp, opts.invert});
  SymTextInfo info;
  if (!opts.no_cp) info.cp_name = opts.cp_name;
  info.comments.push_back("Made by tralk-import from " + font_line(work.fonts[0], opts.face) +
                          ", FreeType " + ft_version(library));
  for (size_t i = 1; i < work.fonts.size(); ++i)
    info.comments.push_back("Fallback " + font_line(work.fonts[i], 0));
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
  result.report.push_back("Codepage " + quoted(opts.cp_name) + ": " +
                          plural(ranges.size(), "range", "ranges") + ", default character " +
                          hex4(work.defchar));
}

}  // namespace

ImportStatus import_font(FT_Library library, const FontOptions& opts, ImportResult& result,
                         std::string& error) {
  result = ImportResult{};
  Work work;
  uint16_t ignored = 0;
  if (!select_codes(opts.ranges, opts.symbols, opts.encoding, work.wanted, error) ||
      (opts.defchar && !parse_defchar(*opts.defchar, opts.encoding, ignored, error)))
    return ImportStatus::usage;
  if (!open_fonts(library, opts, work, error)) return ImportStatus::failed;
  find_glyphs(work);
  if (!check_found(opts, work, result, error) || !choose_defchar(opts, work, error) ||
      !render_all(library, opts, work, error) || !lay_out(opts, work, result, error))
    return ImportStatus::failed;
  compose(library, opts, work, result);
  return ImportStatus::ok;
}
