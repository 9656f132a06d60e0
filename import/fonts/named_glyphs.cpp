#include "import/fonts/named_glyphs.h"

#include <algorithm>
#include <array>
#include <iterator>
#include <map>
#include <optional>
#include <set>
#include <string_view>
#include <tuple>
#include <unordered_map>

#include "base/text.h"
#include "import/fonts/code_ranges.h"

namespace tralk::importer {

namespace {

// Longer than any glyph name a font sensibly has; a name is cut to it.
constexpr size_t kNameRoom = 256;

// Letters to change, add or remove to make a into b (Levenshtein).
size_t edit_distance(std::string_view a, std::string_view b) {
  std::vector<size_t> row(b.size() + 1);
  for (size_t j = 0; j <= b.size(); ++j) row[j] = j;
  for (size_t i = 1; i <= a.size(); ++i) {
    size_t diagonal = row[0];
    row[0] = i;
    for (size_t j = 1; j <= b.size(); ++j) {
      const size_t above = row[j];
      row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (a[i - 1] == b[j - 1] ? 0 : 1)});
      diagonal = above;
    }
  }
  return row[b.size()];
}

}  // namespace

bool has_glyph_names(FT_Face face) {
  return FT_HAS_GLYPH_NAMES(face);
}

FT_UInt glyph_by_name(FT_Face face, const std::string& name) {
  if (!has_glyph_names(face)) return 0;
  return FT_Get_Name_Index(face, name.c_str());
}

std::optional<std::string> glyph_name(FT_Face face, FT_UInt index) {
  if (!has_glyph_names(face)) return std::nullopt;
  std::array<char, kNameRoom> buffer{};
  if (FT_Get_Glyph_Name(face, index, buffer.data(), buffer.size()) != FT_Err_Ok || buffer[0] == 0)
    return std::nullopt;
  return std::string(buffer.data());
}

std::vector<std::string> closest_names(const std::vector<FT_Face>& faces, const std::string& name,
                                       size_t count) {
  const std::string wanted = ascii_lower(name);
  // (distance, order found, name), the nearest kept.
  std::set<std::tuple<size_t, size_t, std::string>> nearest;
  std::set<std::string> seen;
  size_t order = 0;
  for (FT_Face face : faces)
    for (FT_Long g = 1; g < face->num_glyphs; ++g) {
      std::optional<std::string> other = glyph_name(face, static_cast<FT_UInt>(g));
      if (!other || !seen.insert(*other).second) continue;
      nearest.emplace(edit_distance(wanted, ascii_lower(*other)), order++, std::move(*other));
      if (nearest.size() > count) nearest.erase(std::prev(nearest.end()));
    }
  std::vector<std::string> names;
  for (const auto& entry : nearest) names.push_back(std::get<2>(entry));
  return names;
}

namespace {

constexpr size_t kClosestNames = 3;

// Where a failure about icon came from, before its words.
std::string from(const IconName& icon) {
  return icon.where.empty() ? "" : icon.where + ": ";
}

class NameFinder {
 public:
  explicit NameFinder(const std::vector<FontFace>& fonts)
      : fonts_(fonts), lowest_codes_(fonts.size()) {}

  Outcome<NamedGlyph> find(const IconName& icon) {
    for (size_t f = 0; f < fonts_.size(); ++f)
      if (const FT_UInt glyph = glyph_by_name(fonts_[f].face.get(), icon.name); glyph != 0)
        return by_name(icon, f, glyph);
    if (!icon.code) return unknown_name(icon);
    for (size_t f = 0; f < fonts_.size(); ++f)
      if (const FT_UInt glyph = font_glyph(fonts_[f], *icon.code); glyph != 0)
        return NamedGlyph{icon.name, *icon.code, f, glyph};
    return Failure{Fault::not_found, from(icon) + "no glyph is named " + in_quotes(icon.name) +
                                         " and none is at " + hex4(*icon.code) + " in " +
                                         (one_font() ? "the font" : "any font")};
  }

 private:
  bool one_font() const { return fonts_.size() == 1; }
  std::string font_words(size_t f) const { return "font " + in_quotes(fonts_[f].path); }

  // The glyph named, under the code given or its own.
  Outcome<NamedGlyph> by_name(const IconName& icon, size_t f, FT_UInt glyph) {
    const std::string named = "glyph " + in_quotes(icon.name) + " of " + font_words(f);
    if (icon.code) {
      const FT_UInt at = font_glyph(fonts_[f], *icon.code);
      if (at != 0 && at != glyph) {
        const std::optional<std::string> other = glyph_name(fonts_[f].face.get(), at);
        return Failure{Fault::not_found,
                       from(icon) + named + " is not its glyph at " + hex4(*icon.code) +
                           ", which is " +
                           (other ? in_quotes(*other) : "glyph " + std::to_string(at)) +
                           ": a names file of another version of the font?"};
      }
      return NamedGlyph{icon.name, *icon.code, f, glyph};
    }
    const std::string example = " in a names file, as in \"" + icon.name + " e000\"";
    const std::optional<uint32_t> code = lowest_code(f, glyph);
    if (!code)
      return Failure{Fault::not_found,
                     from(icon) + named + " has no code in its charmap: give it one" + example};
    if (*code > kMaxCpCode)
      return Failure{Fault::not_found, from(icon) + named + " is at " + u_plus(*code) +
                                           ", above 0xFFFF, the largest codepage code: give it "
                                           "a code up to 0xFFFF" +
                                           example};
    return NamedGlyph{icon.name, static_cast<uint16_t>(*code), f, glyph};
  }

  // A name no font has: the closest they have, or that they have none.
  Failure unknown_name(const IconName& icon) const {
    std::vector<FT_Face> named;
    for (const FontFace& font : fonts_)
      if (has_glyph_names(font.face.get())) named.push_back(font.face.get());
    if (named.empty())
      return Failure{Fault::not_found, from(icon) +
                                           (one_font() ? font_words(0) + " has no glyph names"
                                                       : std::string("no font has glyph names")) +
                                           ": give each icon its code, a names file line \"" +
                                           icon.name + " CODE\""};
    std::string text = from(icon) +
                       (one_font() ? font_words(0) + " has no glyph named "
                                   : std::string("no font has a glyph named ")) +
                       in_quotes(icon.name);
    const std::vector<std::string> closest = closest_names(named, icon.name, kClosestNames);
    if (closest.empty()) return Failure{Fault::not_found, text + "; its glyphs have no names"};
    text += one_font() ? "; the closest names it has: " : "; the closest names they have: ";
    for (size_t i = 0; i < closest.size(); ++i) text += (i ? ", " : "") + in_quotes(closest[i]);
    return Failure{Fault::not_found, text};
  }

  // The lowest code of glyph in font f's charmap; none where it has none.
  std::optional<uint32_t> lowest_code(size_t f, FT_UInt glyph) {
    std::optional<std::unordered_map<FT_UInt, uint32_t>>& codes = lowest_codes_[f];
    if (!codes) codes = charmap_codes(fonts_[f]);
    const auto at = codes->find(glyph);
    if (at == codes->end()) return std::nullopt;
    return at->second;
  }

  static std::unordered_map<FT_UInt, uint32_t> charmap_codes(const FontFace& font) {
    std::unordered_map<FT_UInt, uint32_t> codes;
    const auto add = [&codes](FT_UInt glyph, uint32_t code) {
      const auto [at, added] = codes.emplace(glyph, code);
      if (!added) at->second = std::min(at->second, code);
    };
    if (!font.charset.empty()) {
      for (const auto& [code, glyph] : font.unicode_glyphs) add(glyph, code);
      return codes;
    }
    FT_UInt glyph = 0;
    for (FT_ULong code = FT_Get_First_Char(font.face.get(), &glyph); glyph != 0;
         code = FT_Get_Next_Char(font.face.get(), code, &glyph))
      add(glyph, static_cast<uint32_t>(code));
    return codes;
  }

  const std::vector<FontFace>& fonts_;
  std::vector<std::optional<std::unordered_map<FT_UInt, uint32_t>>> lowest_codes_;
};

// The glyphs taken so far, by name and by code.
class Taken {
 public:
  // Takes g, or not when its name was given alike before; refuses a name
  // given twice with two meanings, and two names for one code and two
  // glyphs.
  Status take(NamedGlyph g, const IconName& icon) {
    if (const auto same = by_name_.find(g.name); same != by_name_.end()) {
      const NamedGlyph& t = glyphs_[same->second];
      if (t == g) return {};
      return Failure{Fault::format, from(icon) + "glyph name " + in_quotes(g.name) +
                                        " is given twice, for " + hex4(t.code) + " and for " +
                                        hex4(g.code)};
    }
    if (const auto same = by_code_.find(g.code); same != by_code_.end()) {
      const NamedGlyph& t = glyphs_[same->second];
      if (t.font != g.font || t.glyph != g.glyph)
        return Failure{Fault::format, from(icon) + in_quotes(t.name) + " and " + in_quotes(g.name) +
                                          " are given one code, " + hex4(g.code) +
                                          ", for two glyphs"};
    }
    by_name_.emplace(g.name, glyphs_.size());
    by_code_.emplace(g.code, glyphs_.size());
    glyphs_.push_back(std::move(g));
    return {};
  }
  std::vector<NamedGlyph>& glyphs() { return glyphs_; }

 private:
  std::vector<NamedGlyph> glyphs_;
  std::unordered_map<std::string, size_t> by_name_;
  std::map<uint16_t, size_t> by_code_;
};

}  // namespace

Outcome<std::vector<NamedGlyph>> find_named_glyphs(const std::vector<FontFace>& fonts,
                                                   const std::vector<IconName>& icons) {
  NameFinder finder(fonts);
  Taken taken;
  for (const IconName& icon : icons) {
    Outcome<NamedGlyph> g = finder.find(icon);
    if (!g.ok()) return g.failure();
    if (Status took = taken.take(std::move(g.value()), icon); !took.ok()) return took.failure();
  }
  return std::move(taken.glyphs());
}

}  // namespace tralk::importer
