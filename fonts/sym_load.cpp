#include "fonts/sym_load.h"

#include <array>
#include <cstdio>
#include <new>
#include <string_view>

#include "driver/console.h"
#include "driver/fileio.h"
#include "driver/path.h"
#include "fonts/cp_load.h"
#include "fonts/textscan.h"

namespace {

constexpr uint16_t kMaxSymbols = 65535;

// Names given by markers on the first line of the file.
struct Markers {
  std::optional<std::string> cp;
  std::optional<std::string> pal;
};

// The text after the first occurrence of marker, up to the next ">" or the
// end of the line.
std::optional<std::string> find_marker(std::string_view line, std::string_view marker) {
  const auto at = line.find(marker);
  if (at == std::string_view::npos) return std::nullopt;
  const std::string_view rest = line.substr(at + marker.size());
  return std::string(rest.substr(0, rest.find('>')));
}

Markers read_markers(std::FILE* file, bool want_pal) {
  const char* line = lex_readline(file);
  Markers m;
  if (!line) return m;
  m.cp = find_marker(line, "CP<");
  if (want_pal) m.pal = find_marker(line, "PAL<");
  return m;
}

// A symbol header as written: two values (b&w form) or four (colour form).
struct Header {
  std::array<uint16_t, 4> v{};
  unsigned count = 0;

  bool colour() const { return count == 4; }
  uint16_t width() const { return colour() ? v[2] : v[0]; }
  uint16_t height() const { return colour() ? v[3] : v[1]; }
  // The first value tells the forms apart: only 0 may start a colour
  // header, and a b&w header cannot start with 0.
  bool tells_its_form() const { return colour() == (v[0] == 0); }
};

// The body of a .sym file: a bare list of symbols
//   "{" "{" header "}" "," "{" pixel bytes "}" "}"
// separated by commas, all of one header form, height and byte count.
class SymParser {
 public:
  // False on a syntax error; numsym() is then the number of symbols
  // completed before the faulty one.
  bool parse() {
    if (!scan_expect('{')) return false;
    for (;;) {
      if (!parse_symbol()) return false;
      if (lex_skip() != ',') return true;
      const int c = lex_skip();
      if (c == -1) return true;  // a trailing comma at the end of the file
      if (c != '{') return false;
    }
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
    if (numsym_ == kMaxSymbols) return false;
    Header h;
    if (!scan_expect('{') || !parse_header(h) || !h.tells_its_form()) return false;
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
    if (!scan_expect(',') || !scan_expect('{') || !parse_pixels(count) || !scan_expect('}'))
      return false;
    if (first) {
      symbytes_ = count;
    } else if (count != symbytes_) {
      return false;
    }
    ++numsym_;
    return true;
  }

  // Called after the header's opening brace; consumes its closing brace.
  static bool parse_header(Header& h) {
    if (!scan_u16(h.v[0]) || !scan_expect(',') || !scan_u16(h.v[1])) return false;
    const int c = lex_skip();
    if (c == '}') {
      h.count = 2;
      return true;
    }
    if (c != ',' || !scan_u16(h.v[2]) || !scan_expect(',') || !scan_u16(h.v[3]) ||
        !scan_expect('}'))
      return false;
    h.count = 4;
    return true;
  }

  void store_header(const Header& h) {
    const size_t at = data_.size();
    data_.resize(at + 2 * h.count);
    for (unsigned i = 0; i < h.count; ++i) sym_set_header(data_.data() + at, i, h.v[i]);
  }

  // Called after the list's opening brace; consumes the character that ends
  // the list (its closing brace, normally).
  bool parse_pixels(uint32_t& count) {
    do {
      uint8_t byte = 0;
      if (!scan_u8(byte)) return false;
      data_.push_back(byte);
      ++count;
    } while (scan_list_goes_on());
    return true;
  }

  std::vector<uint8_t> data_;
  uint64_t width_sum_ = 0;
  uint16_t numsym_ = 0;
  uint32_t symbytes_ = 0;
  bool colour_ = false;
  uint16_t height_ = 0;
};

// The codepage stands beside the .sym file, whatever directory its marker
// names.
std::unique_ptr<CPTABLE> load_codepage(const char* sym_path, const std::string& cpname) {
  const std::optional<std::string> cp_path = path_setname(sym_path, cpname);
  return cp_path ? cp_load(cp_path->c_str()) : nullptr;
}

// Prints the message of a failure and returns none.
SymFontPtr read_font(const char* path, bool want_pal, Markers& markers) {
  FilePtr file = file_open(path, "rb");
  if (!file) {
    con_printf("\n Open error");
    return nullptr;
  }
  markers = read_markers(file.get(), want_pal);
  std::rewind(file.get());
  auto font = std::make_unique<SYMFONT>();
  SymParser parser;
  {
    LexSession lex(file.get());
    if (!parser.parse()) {
      con_printf("\n Syntax error detected on symbol %u", static_cast<unsigned>(parser.numsym()));
      return nullptr;
    }
  }
  // The lexer serves one stream at a time: the codepage is read only once
  // this file is done with.
  file.reset();
  parser.fill(*font);
  if (markers.cp) {
    font->codepage = load_codepage(path, *markers.cp);
    if (!font->codepage) {
      con_printf("\n Error loading codepage specificed");
      return nullptr;
    }
  }
  return font;
}

}  // namespace

SymFontPtr sym_load(const char* path, std::optional<std::string>* cpname_out,
                    std::optional<std::string>* palname_out) {
  if (cpname_out) cpname_out->reset();
  if (palname_out) palname_out->reset();
  if (!path) return nullptr;
  try {
    Markers markers;
    if (auto font = read_font(path, palname_out != nullptr, markers)) {
      if (cpname_out) *cpname_out = std::move(markers.cp);
      if (palname_out) *palname_out = std::move(markers.pal);
      return font;
    }
  } catch (const std::bad_alloc&) {
    con_printf("\n Heap error");
  }
  con_printf(" in sym file \"%s\"", path);
  return nullptr;
}
