// The command line of "tralk-import font".
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "base/outcome.h"
#include "cli/charset.h"
#include "cli/option_table.h"
#include "import/fonts/code_ranges.h"
#include "import/fonts/icon_names.h"

namespace tralk::importer {

enum class Hinting { native, light, none };
enum class CellHeight { ink, font };
enum class MissingCodes { warn, error };

// Limits of the numbers taken, so that no option can ask for more than a
// symbol header holds.
constexpr uint32_t kMaxPixelSize = 1000;
constexpr uint32_t kMaxFixedWidth = 0xFFFF;

struct FontOptions {
  std::string font;                        // FONTFILE
  std::vector<std::string> fallbacks;      // --fallback, in order
  uint32_t face = 0;                       // --face
  std::optional<uint32_t> size;            // --size, pixels
  std::vector<CodeRange> ranges;           // -r; 0x20-0x7E when neither -r nor --symbols
  std::string symbols;                     // --symbols, UTF-8 as given
  std::vector<std::string> symbols_files;  // --symbols-file, in order
  std::string file_symbols;  // the characters of the symbols files, read before the import
  cli::Encoding encoding;    // --encoding
  unsigned bpp = 1;          // --bpp: 1, 2, 4 or 8
  bool invert = false;       // --invert: ink light on dark
  Hinting hinting = Hinting::native;
  CellHeight height = CellHeight::ink;
  std::optional<uint32_t> fixed_width;  // --width fixed=N
  MissingCodes missing = MissingCodes::warn;
  std::optional<std::string> defchar;  // --defchar, as given
  std::string out;                     // -o
  std::string cp_name;                 // --cp, or OUT's base name
  bool no_cp = false;                  // --no-cp
  std::optional<std::string> depfile;  // --depfile
  bool list = false;                   // --list
  bool quiet = false;                  // --quiet
  bool help = false;                   // --help

  // Icons by name.
  std::vector<IconName> names;              // --names, in order
  std::vector<std::string> names_files;     // --names-file, in order
  std::vector<IconName> file_names;         // their lines, read before the import
  std::optional<std::string> names_header;  // --names-header
};

// Reads the arguments after "font". A usage failure, with the reason, for a
// bad command line.
Outcome<FontOptions> parse_font_options(int argc, const char* const* argv);

// The options that shape the output, as a command line would give them:
// recorded in the .sym file.
std::string describe_options(const FontOptions& opts);

// The --help text of "tralk-import font", and the table it is printed from.
std::string font_help();
const cli::OptionTable<FontOptions>& font_option_table();

}  // namespace tralk::importer
