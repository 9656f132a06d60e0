#include "import/fonts/glyph_names.h"

#include <algorithm>
#include <array>
#include <iterator>
#include <set>
#include <string_view>
#include <tuple>

#include "base/text.h"

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

}  // namespace tralk::importer
