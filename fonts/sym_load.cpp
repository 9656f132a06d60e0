#include "fonts/sym_load.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <memory>
#include <new>
#include <stdexcept>
#include <string_view>
#include <vector>

#include "fonts/sym_format.h"

namespace {

// The body of a .sym file: its grammar, the rules between its symbols, and
// the symbol data it makes.

constexpr uint16_t kSymMaxSymbols = 65535;

// A symbol header as written: two values (b&w form) or four (colour form).
struct SymHeader {
  std::array<uint16_t, 4> v{};
  unsigned count = 0;

  bool colour() const { return count == 4; }
  uint16_t width() const { return colour() ? v[2] : v[0]; }
  uint16_t height() const { return colour() ? v[3] : v[1]; }
  // The first value tells the forms apart: only 0 may start a colour
  // header, and a b&w header cannot start with 0.
  bool tells_its_form() const { return colour() == (v[0] == 0); }
  uint16_t depth() const { return colour() ? v[1] : 1; }
  // Pixel bytes the rows take: each row of the symbol's own width and depth
  // starts on a byte boundary; a font's longer byte count is padding.
  uint64_t row_bytes() const { return uint64_t{sym_rowbytes(width(), depth())} * height(); }
};

// The body of a .sym file: a bare list of symbols
//   "{" "{" header "}" "," "{" pixel bytes "}" "}"
// separated by commas, all of one header form, height and byte count.
class SymParser {
 public:
  explicit SymParser(Tokens& tokens) : t_(tokens) {}

  // Room for the symbol data of a large file of text_bytes bytes. A symbol
  // stores about a fifth of its text as written in hexadecimal and never
  // much more than half, so the block is not copied while it grows, and the
  // part the font does not fill is never touched and costs no memory. Small
  // fonts just grow: many of them would hold too much room between them. A
  // reservation that cannot be had only leaves the block to grow as it goes.
  void reserve_for(uint64_t text_bytes) {
    if (text_bytes < kReserveFrom) return;
    try {
      data_.reserve(static_cast<size_t>(std::min<uint64_t>(text_bytes / 2, data_.max_size())));
    } catch (const std::bad_alloc&) {
    } catch (const std::length_error&) {
    }
  }

  // False on a syntax error; numsym() is then the number of symbols
  // completed before the faulty one.
  bool parse() {
    if (!t_.expect('{')) return false;
    for (;;) {
      if (!parse_symbol()) return false;
      const int c = t_.skip();
      if (c == '{') return false;  // the next symbol follows without its comma
      if (c != ',') break;
      const int next = t_.skip();
      if (next == -1) break;  // a trailing comma at the end of the file
      if (next != '{') return false;
    }
    // A file that ends inside a comment has lost whatever the comment hid.
    return !t_.ended_in_comment();
  }

  uint16_t numsym() const { return numsym_; }

  // Moves the symbols into font, with the average width rounded half up.
  void fill(SYMFONT& font) {
    const uint64_t n = numsym_;
    font.symwidth = static_cast<uint16_t>((2 * width_sum_ + n) / (2 * n));
    font.symheight = height_;
    font.symbytes = symbytes_;
    font.numsym = numsym_;
    font.symdata = std::move(data_);
  }

 private:
  // Called after the symbol's opening brace.
  bool parse_symbol() {
    if (numsym_ == kSymMaxSymbols) return false;
    SymHeader h;
    if (!t_.expect('{') || !parse_header(h) || !h.tells_its_form() || !sym_valid_depth(h.depth()))
      return false;
    const bool first = numsym_ == 0;
    if (first) {
      colour_ = h.colour();
      height_ = h.height();
    } else if (h.colour() != colour_ || h.height() != height_) {
      return false;
    }
    store_header(h);
    width_sum_ += h.width();

    uint32_t count = 0;
    if (!t_.expect(',') || !t_.expect('{') || !parse_pixels(count) || !t_.expect('}')) return false;
    if (first) {
      symbytes_ = count;
    } else if (count != symbytes_) {
      return false;
    }
    if (h.row_bytes() > symbytes_) return false;
    ++numsym_;
    return true;
  }

  // Called after the header's opening brace; consumes its closing brace.
  bool parse_header(SymHeader& h) {
    if (!t_.u16(h.v[0]) || !t_.expect(',') || !t_.u16(h.v[1])) return false;
    const int c = t_.skip();
    if (c == '}') {
      h.count = 2;
      return true;
    }
    if (c != ',' || !t_.u16(h.v[2]) || !t_.expect(',') || !t_.u16(h.v[3]) || !t_.expect('}'))
      return false;
    h.count = 4;
    return true;
  }

  void store_header(const SymHeader& h) {
    const size_t at = data_.size();
    data_.resize(at + 2 * h.count);
    for (unsigned i = 0; i < h.count; ++i) sym_set_header(data_.data() + at, i, h.v[i]);
  }

  // Called after the list's opening brace; consumes the character that ends
  // the list (its closing brace, normally).
  bool parse_pixels(uint32_t& count) {
    ListStep step;
    do {
      uint8_t byte = 0;
      if (!t_.u8(byte)) return false;
      data_.push_back(byte);
      ++count;
      step = t_.list_step();
    } while (step == ListStep::next);
    return step == ListStep::end;
  }

  static constexpr uint64_t kReserveFrom = 1 << 20;

  Tokens& t_;
  SymbolBytes data_;
  uint64_t width_sum_ = 0;
  uint16_t numsym_ = 0;
  uint32_t symbytes_ = 0;
  bool colour_ = false;
  uint16_t height_ = 0;
};

// The text after the first occurrence of marker, up to the next ">" or the
// end of the line.
std::optional<std::string> find_marker(std::string_view line, std::string_view marker) {
  const auto at = line.find(marker);
  if (at == std::string_view::npos) return std::nullopt;
  const std::string_view rest = line.substr(at + marker.size());
  return std::string(rest.substr(0, rest.find(kSymMarkerEnd)));
}

// The first line, after a byte order mark, as far as a line read keeps it.
void read_markers(TextBytes text, SymLoaded& loaded) {
  Scanner<MemoryBytes> first(text_body(text));
  const std::string_view line = first.readline();
  loaded.cpname = find_marker(line, kSymCodepageMarker);
  loaded.palname = find_marker(line, kSymPaletteMarker);
}

}  // namespace

Outcome<SymLoaded> sym_load(TextBytes text) {
  try {
    SymLoaded loaded;
    loaded.font = std::make_unique<SYMFONT>();
    Tokens tokens(text);
    SymParser parser(tokens);
    parser.reserve_for(text.size());
    if (!parser.parse()) {
      Failure failed{Fault::format, ""};
      failed.at.item = parser.numsym();
      failed.at.line = tokens.line();
      return failed;
    }
    parser.fill(*loaded.font);
    read_markers(text, loaded);
    return loaded;
  } catch (const std::bad_alloc&) {
    return Failure{Fault::too_large, ""};
  }
}
