// tralk-pack's command line: a chip to pack (images, its size, alignment,
// base address, fill and the files to write) or two chips to compare sector
// by sector.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "base/outcome.h"
#include "cli/option_table.h"

namespace tralk::pack {

// An image operand, IMAGE.bin or IMAGE.bin@OFFSET.
struct ImageArg {
  std::string path;
  std::optional<uint64_t> offset;  // given after "@"
};

struct PackOptions {
  bool help = false;
  bool version = false;
  bool quiet = false;
  // Packing.
  std::vector<ImageArg> images;
  std::string output;  // -o
  std::optional<uint64_t> size;
  uint64_t align = 4;
  uint64_t base = 0;
  bool base_given = false;
  uint8_t fill = 0xFF;
  std::optional<std::string> header, hex, srec, layout, depfile;
  // Comparing (--diff OLD NEW).
  std::optional<std::string> diff_old, diff_new;
  std::optional<uint64_t> sector;
  std::optional<std::string> diff_hex;
};

// The largest chip: addresses are 32 bits in HEX and S-record files.
constexpr uint64_t kMaxChipSize = uint64_t{1} << 32;

// Reads the arguments after the program name; a usage failure, with the
// reason, for a bad command line.
Outcome<PackOptions> parse_pack_options(int argc, const char* const* argv);

// The --help text, and the table it is printed from.
std::string pack_help();
const cli::OptionTable<PackOptions>& pack_option_table();

}  // namespace tralk::pack
