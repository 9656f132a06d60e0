// --strings: the lines of a text file (an application's UI strings) drawn in
// the fonts of an image, and the characters a font lacks, those that would
// fall to its default character on the display, listed per font.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "base/outcome.h"
#include "base/rgb_picture.h"
#include "inspect/image_reader.h"
#include "inspect/pixel_colour.h"

namespace tralk::inspector {

struct StringsCheck {
  std::string report;    // what is printed, line by line
  bool missing = false;  // some font lacks some character
  RgbPicture picture;    // the lines in each font, one font under the other
};

// Checks the lines of file_text (UTF-8; a byte order mark and line ends
// skipped, empty lines left out) against font block only, or every font with
// a codepage; names (one per font, or none) name them. Draws each font's
// lines as --text does, marking the symbols drawn for a missing character,
// at scale (0: picked per font). A failure when the text is not UTF-8
// (naming the line), when no font has a codepage, or when a picture cannot
// be drawn.
Outcome<StringsCheck> check_strings(const InspectResult& result,
                                    const std::vector<std::string>* names,
                                    std::optional<size_t> only, const std::string& file_name,
                                    const std::string& file_text, uint32_t scale,
                                    const ReadingOptions& opts);

}  // namespace tralk::inspector
