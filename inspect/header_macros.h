// The numbers a generated header defines: tralk's NAME_SIZE and NAME_CRC32
// (with --checksum), tralk-pack's chip header with each image's
// NAME_OFFSET, NAME_SIZE and NAME_CRC32 and the chip's NAME_SIZE and
// NAME_FILL. Only "#define NAME NUMBER" lines are read, the number decimal
// or 0x..., anything after it (a comment) left alone.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tralk::inspector {

using HeaderMacros = std::map<std::string, uint64_t, std::less<>>;

HeaderMacros header_macros(std::string_view text);

// An image of a chip header.
struct ChipEntry {
  std::string name;  // UI
  uint64_t offset = 0;
  uint64_t size = 0;
  std::optional<uint32_t> crc;
};

// The images of a chip header (every NAME with NAME_OFFSET and NAME_SIZE),
// in the order of their offsets.
std::vector<ChipEntry> chip_entries(const HeaderMacros& macros);

// The value of the chip's NAME_FILL, the one macro that ends so; 0xFF when
// there is none.
uint8_t chip_fill(const HeaderMacros& macros);

}  // namespace tralk::inspector
