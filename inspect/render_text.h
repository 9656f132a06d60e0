// The inspector's texts: the table of font blocks, the list of problems and
// the symbols of one font drawn in the terminal.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "inspect/image_reader.h"
#include "inspect/pixel_colour.h"
#include "inspect/text_picture.h"

namespace tralk::inspector {

// The table of font blocks of the image called name, its codepages and the
// total of the block sizes; with names (one per font), a last column of the
// fonts' names.
std::string format_table(const InspectResult& result, const std::string& name,
                         const std::vector<std::string>* names = nullptr);

// Every problem with the storage index of its block, or a line saying there
// is none; with but (why the run fails all the same: strings that do not
// pass, a dump that is not the image compared), a line saying both, so that
// the last line never reads as a pass when the status is 1.
std::string format_problems(const InspectResult& result, const char* but = nullptr);

// The symbols of font block n (n below result.fonts.size()), each with its
// own width: b&w and grey levels as text art, colours as 24-bit ANSI colour
// blocks.
std::string render_font_text(const InspectResult& result, size_t n, const ReadingOptions& opts);

// Lines of symbols of font f drawn in the terminal as --show draws one
// symbol: one terminal line per pixel row, the symbols of a line side by
// side at their own widths with spacing blank columns between two, rows a
// symbol lacks as blanks; a line height above the font's rows adds blank
// lines after each line of symbols but the last.
std::string render_symbol_lines(const FontRecord& f, const std::vector<std::vector<size_t>>& lines,
                                const ReadingOptions& opts, const TextSpacing& spacing = {});

}  // namespace tralk::inspector
