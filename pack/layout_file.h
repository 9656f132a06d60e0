// The layout file: where each image of a chip lies, so that the next run
// can keep each image that still fits where it was (an update then writes
// only what changed). Text, one image a line, in the order of their
// offsets:
//
//   # tralk-pack layout of "chip.bin": offset, size in bytes, image
//   0x00000000 50904 ui.bin
//   0x00010000 20000 icons.bin
//
// Lines starting with "#" and empty lines are comments; the image's file
// name (without its folder) runs to the end of the line and may hold blanks.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "base/outcome.h"
#include "pack/chip_layout.h"

namespace tralk::pack {

// Offsets and sizes in a layout stay within 32-bit addresses.
constexpr uint64_t kLayoutLimit = uint64_t{1} << 32;

// The entries of a layout file's text; a Fault::format failure naming the
// line ("line 3: ...") for anything else.
Outcome<std::vector<LayoutEntry>> parse_layout(std::string_view text);

// The text of the layout of chip_file (named in its first line), its
// entries in the order of their offsets.
std::string layout_text(const std::string& chip_file, std::vector<LayoutEntry> entries);

}  // namespace tralk::pack
