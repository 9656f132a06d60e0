// Checks on the C names of the fonts of one image: each becomes an
// identifier of the generated source, so it must be unique there and must
// not be a keyword of the language.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <unordered_set>

// True for the keywords of C (C11 and C23).
bool c_keyword(std::string_view name);

// The C identifiers that the structures of one image's fonts define: each
// font's name, and the "_cp" name of its codepage structure where it has one.
class ImageIdentifiers {
 public:
  // The identifier that a font named name (with a codepage structure when
  // has_codepage) would define a second time, or none; when none, the font's
  // identifiers are taken.
  std::optional<std::string> take(const std::string& name, bool has_codepage);
  void clear() { taken_.clear(); }

 private:
  std::unordered_set<std::string> taken_;
};
