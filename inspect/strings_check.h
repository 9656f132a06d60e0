// --strings: an application's strings, one catalogue a language, checked
// against the fonts of an image as the display would draw them. What is
// found, string by string: a character that a font's encoding cannot hold,
// one that falls to the font's default character, a mark that the display
// would draw as a symbol of its own, and a string wider (or of more lines)
// than its limit, measured by the rule of inspect/text_picture.h.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "base/outcome.h"
#include "cli/charset.h"
#include "inspect/image_reader.h"
#include "inspect/text_picture.h"
#include "text/catalogue.h"

namespace tralk::inspector {

// A font that strings are checked against.
struct CheckedFont {
  size_t block = 0;
  std::optional<cli::Encoding> encoding;  // none: its codes are Unicode values
  std::string name;                       // from the C source beside the image; empty if none
  std::string label;                      // "font block 1 (Small8, CP1251)"
};

// The limits that strings are held to.
struct FitLimits {
  std::optional<uint32_t> max_width;  // pixels, for a string without a limit of its own
  std::optional<uint32_t> max_lines;
  TextSpacing spacing;
};

enum class FindingKind : uint8_t {
  undrawable,        // a mark with no composed form: sequence
  too_wide,          // wider than its limit: size, limit, unit
  not_in_code_page,  // the font's code page cannot hold character
  missing,           // character falls to the font's default character
  too_many_lines,    // size lines, height pixels high, limit lines
};

struct Finding {
  FindingKind kind = FindingKind::missing;
  size_t file = 0;    // the catalogue
  size_t string = 0;  // its string
  // The font (an index into the fonts checked), for what depends on one.
  std::optional<size_t> font;
  char32_t character = 0;
  std::u32string sequence;
  uint64_t size = 0;  // pixels or characters wide, or lines
  uint64_t height = 0;
  uint32_t limit = 0;
  text::WidthUnit unit = text::WidthUnit::pixel;
};

// What one catalogue holds.
struct FileSummary {
  size_t characters = 0;     // line breaks not counted
  bool fit_checked = false;  // a pixel or line limit applies to some string
};

struct StringsCheck {
  std::vector<FileSummary> files;  // one per catalogue
  // File by file: the strings' own findings (undrawable, too wide in
  // characters), then font by font the characters (not in the code page,
  // missing: each by code, the strings in order), then the strings that do
  // not fit (too wide, too many lines).
  std::vector<Finding> findings;
};

// Checks every string of every catalogue against each font. A failure when
// a font has no codepage.
Outcome<StringsCheck> check_strings(const InspectResult& result,
                                    const std::vector<text::Catalogue>& catalogues,
                                    const std::vector<CheckedFont>& fonts, const FitLimits& limits);

// The characters of a string's text (UTF-8 that the catalogue reader
// checked).
std::u32string string_chars(const text::DisplayString& s);

}  // namespace tralk::inspector
