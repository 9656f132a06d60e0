// The names of an image's fonts, read from the C source tralk wrote beside
// it (NAME.c for NAME.bin): one GFONTV structure per font block, in block
// order. The source is taken only when it matches the image: as many
// structures as blocks, each with its block's numbits, symbol width and
// height, number of symbols and symbol storage index. Anything else (no
// source, another image's, an edited one) gives no names, and the fonts go
// by their block numbers.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "base/outcome.h"
#include "inspect/image_reader.h"

namespace tralk::inspector {

// The C source beside the image file image_path.
std::string source_beside(const std::string& image_path);

// The font names in source (the text of a C source), one per font of
// result, when the source matches the image; none otherwise.
std::optional<std::vector<std::string>> font_names(const std::string& source,
                                                   const InspectResult& result);

// The block of the font named name (--font NAME) in names, those of the
// image at image_path; a failure naming the source when there are none or
// none is name.
Outcome<uint32_t> find_font(const std::string& name, const std::string& image_path,
                            const std::optional<std::vector<std::string>>& names);

// The failure for a block number n in an image of count blocks.
Failure no_font_block(uint32_t n, size_t count);

}  // namespace tralk::inspector
