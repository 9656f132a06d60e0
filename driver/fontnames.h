// The C names of the fonts of one image: made from a template or the file's
// name, and checked, since each becomes an identifier of the generated
// source: unique there, and no keyword of the language.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <unordered_set>

// The C name of a font: from the template (with "*" and "?" taking
// characters of the path's identifier) or, without a template, the path's
// identifier; with a template but no path, the template unchanged.
std::string make_fontname(const std::optional<std::string>& tmpl,
                          const std::optional<std::string>& path);

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
