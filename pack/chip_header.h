// The C header of a chip: the chip's size, fill and CRC-32, and each image's
// offset, size and CRC-32 under the name tralk gives it (UI for ui.bin).
// UI_SIZE and UI_CRC32 are written token for token as tralk writes them in
// ui.h, so that a source may include both headers.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tralk::pack {

struct HeaderImage {
  std::string file;  // as given
  std::string name;  // UI
  uint64_t offset = 0;
  uint64_t size = 0;
  uint32_t crc = 0;
};

struct HeaderChip {
  std::string file;  // the chip's file name, without its folder
  std::string name;  // CHIP for chip.bin
  uint64_t size = 0;
  uint8_t fill = 0xFF;
  uint32_t crc = 0;
  std::optional<uint64_t> base;  // with --base: the chip's address, and each image's
};

std::string chip_header_text(const HeaderChip& chip, const std::vector<HeaderImage>& images);

}  // namespace tralk::pack
