// The body of a .sym file and the two ways of reading its tokens.
//
// SymParser<Tokens> checks the grammar and the rules between symbols and
// stores the symbols. LexTokens takes its tokens from the shared lexer and is
// the reference: its failures give the messages. ChunkTokens reads the file
// by large blocks straight into a scanner of its own, which keeps no shared
// state, so fonts of thousands of symbols parse several times faster. It only
// has to agree with the lexer on files that parse: on anything unusual (a
// lone "/", a number at the very end of the file, a value with the top bit
// set) it fails, and the caller parses the file again through the lexer.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <new>
#include <stdexcept>
#include <vector>

#include "fonts/symfont.h"
#include "fonts/textscan.h"

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

// Tokens from the shared lexer, which must have the file as its stream.
struct LexTokens {
  int skip() { return lex_skip(); }
  bool expect(int c) { return scan_expect(c); }
  bool u16(uint16_t& v) { return scan_u16(v); }
  bool u8(uint8_t& v) { return scan_u8(v); }
  ListStep list_step() { return scan_list_step(); }
  bool ended_in_comment() { return lex_comment_unclosed(); }
};

// Tokens scanned from the file's bytes read in blocks. Line ends and other
// control characters are blanks; comments are skipped as the lexer skips
// them.
class ChunkTokens {
 public:
  // block: bytes read at a time (tests make it small to cross many block
  // boundaries).
  explicit ChunkTokens(std::FILE* file, size_t block = kBlock)
      : file_(file), buf_(std::make_unique_for_overwrite<uint8_t[]>(block)), size_(block) {}

  // True when the file held something this scanner does not follow the
  // lexer on; a parse that succeeded must then be made again by the lexer.
  bool spoiled() const { return spoiled_; }

  // The next significant character, or -1 at the end of the file. A lone
  // "/" (which the lexer returns with the character after it given back)
  // spoils the scan and gives kLoneSlash.
  int skip() {
    for (;;) {
      int c = get();
      if (c < 0) return -1;
      if (c <= 32) continue;
      if (c != '/') return c;
      c = get();
      if (c == '/') {
        do {
          c = get();
        } while (c >= 0 && c != 10 && c != 13);
        if (c < 0) return -1;
      } else if (c == '*') {
        int prev = 0;  // the "*" of the opening does not close the comment
        for (;;) {
          c = get();
          if (c < 0) {
            ended_in_comment_ = true;
            return -1;
          }
          if (prev == '*' && c == '/') break;
          prev = c;
        }
      } else {
        if (c >= 0) unget();
        spoiled_ = true;
        return kLoneSlash;
      }
    }
  }

  bool expect(int c) { return skip() == c; }

  bool u16(uint16_t& v) {
    uint32_t n = 0;
    if (!number(n)) return false;
    v = static_cast<uint16_t>(n);
    return true;
  }

  bool u8(uint8_t& v) {
    uint32_t n = 0;
    if (!number(n)) return false;
    v = static_cast<uint8_t>(n);
    return true;
  }

  // What follows an element of a list (fonts/textscan.h).
  ListStep list_step() {
    return list_step_after(skip(), [this] {
      const int c = skip();
      if (c == '}' || c < 0) return false;
      unget();
      return true;
    });
  }

  bool ended_in_comment() const { return ended_in_comment_; }

  static constexpr int kLoneSlash = -2;
  static constexpr size_t kBlock = 64 * 1024;

 private:
  int get() {
    if (pos_ == end_ && !refill()) return -1;
    return buf_[pos_++];
  }
  // Gives back the byte that get() returned last.
  void unget() { --pos_; }

  bool refill() {
    end_ = std::fread(buf_.get(), 1, size_, file_);
    pos_ = 0;
    return end_ > 0;
  }

  // Digits and letters alternate at random in hexadecimal pixel data: a
  // table, since tests for each kind would be mispredicted.
  static constexpr std::array<int8_t, 256> kHexDigits = [] {
    std::array<int8_t, 256> t{};
    for (int c = 0; c < 256; ++c) {
      int v = -1;
      if (c >= '0' && c <= '9') v = c - '0';
      if (c >= 'a' && c <= 'f') v = c - 'a' + 10;
      if (c >= 'A' && c <= 'F') v = c - 'A' + 10;
      t[static_cast<size_t>(c)] = static_cast<int8_t>(v);
    }
    return t;
  }();

  static int hex_digit(int c) { return kHexDigits[static_cast<size_t>(c)]; }

  // A decimal or 0x-hexadecimal number below 2^31, as the lexer reads it;
  // false for anything else, the end of the file right after it included.
  bool number(uint32_t& value) {
    int c = skip();
    if (c < '0' || c > '9') return false;
    const int first = c;
    value = static_cast<uint32_t>(c - '0');
    c = get();
    if (c < 0) return false;
    if (c == 'x' || c == 'X') {
      if (first != '0') return false;  // "5x": the "x" is no token of the grammar
      c = get();
      for (int d; c >= 0 && (d = hex_digit(c)) >= 0; c = get())
        value = value * 16 + static_cast<uint32_t>(d);
    } else {
      for (; c >= '0' && c <= '9'; c = get()) value = value * 10 + static_cast<uint32_t>(c - '0');
    }
    if (c < 0 || value > 0x7FFFFFFFu) return false;
    unget();
    return true;
  }

  std::FILE* file_;
  std::unique_ptr<uint8_t[]> buf_;  // not cleared: many small fonts each make one
  size_t size_;
  size_t pos_ = 0;
  size_t end_ = 0;
  bool spoiled_ = false;
  bool ended_in_comment_ = false;
};

// The body of a .sym file: a bare list of symbols
//   "{" "{" header "}" "," "{" pixel bytes "}" "}"
// separated by commas, all of one header form, height and byte count.
template <class Tokens>
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
