// Checks on the C names of the fonts of one image: each becomes an
// identifier of the generated source, so it must be unique there and must
// not be a keyword of the language.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "driver/fontlist.h"

// True for the keywords of C (C11 and C23).
bool c_keyword(std::string_view name);

// The identifier that a font named name (with a codepage structure when
// has_codepage) would define a second time in the source of list: the name
// itself, or the "_cp" name of a codepage structure. None when it clashes
// with nothing.
std::optional<std::string> clashing_identifier(const FONTLIST& list, const std::string& name,
                                               bool has_codepage);
