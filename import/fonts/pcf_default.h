// The default character of a PCF font: the code its encoding table names
// for characters the font lacks. FreeType draws it as glyph 0 but does not
// say whether the font names one (without one, glyph 0 is a copy of the
// font's first glyph, a real character), so the table is read here.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

namespace tralk::importer {

// The default character of the PCF font in data, when it names one that it
// has a glyph for; none for a font that names none, or for bytes that are
// no PCF font.
std::optional<uint32_t> pcf_default_char(const uint8_t* data, size_t size);

}  // namespace tralk::importer
