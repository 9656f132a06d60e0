#include "pack/hex_records.h"

#include <algorithm>
#include <array>

namespace tralk::pack {

namespace {

constexpr size_t kRecordBytes = 16;

// Two hexadecimal digits of each byte, looked up rather than formatted:
// a chip's HEX file has millions of them.
constexpr std::array<char, 512> make_digits() {
  std::array<char, 512> d{};
  constexpr char hex[] = "0123456789ABCDEF";
  for (unsigned b = 0; b < 256; ++b) {
    d[2 * b] = hex[b >> 4];
    d[2 * b + 1] = hex[b & 0xF];
  }
  return d;
}
constexpr std::array<char, 512> kDigits = make_digits();

// A record being made in a fixed buffer, its checksum summed as it grows.
class Record {
 public:
  explicit Record(char mark) { line_[n_++] = mark; }
  void digit(char c) { line_[n_++] = c; }
  void byte(uint8_t b) {
    line_[n_++] = kDigits[2 * b];
    line_[n_++] = kDigits[2 * b + 1];
    sum_ += b;
  }
  void bytes(const uint8_t* p, size_t n) {
    for (size_t i = 0; i < n; ++i) byte(p[i]);
  }
  void be16(uint32_t v) {
    byte(static_cast<uint8_t>(v >> 8));
    byte(static_cast<uint8_t>(v));
  }
  void be32(uint32_t v) {
    be16(v >> 16);
    be16(v & 0xFFFF);
  }
  uint8_t sum() const { return sum_; }
  void finish(std::string& out, uint8_t checksum) {
    byte(checksum);
    line_[n_++] = '\n';
    out.append(line_.data(), n_);
  }

 private:
  std::array<char, 160> line_;  // the longest record, S0, takes 139
  size_t n_ = 0;
  uint8_t sum_ = 0;
};

}  // namespace

void HexWriter::data(std::string& out, uint64_t address, const uint8_t* bytes, size_t n) {
  while (n > 0) {
    const auto page = static_cast<int64_t>(address >> 16);
    if (page != page_) {
      Record r(':');
      r.byte(2);
      r.be16(0);
      r.byte(4);
      r.be16(static_cast<uint32_t>(page));
      r.finish(out, static_cast<uint8_t>(0u - r.sum()));
      page_ = page;
    }
    const size_t room = static_cast<size_t>(0x10000 - (address & 0xFFFF));
    const size_t take = std::min({n, kRecordBytes, room});
    Record r(':');
    r.byte(static_cast<uint8_t>(take));
    r.be16(static_cast<uint32_t>(address & 0xFFFF));
    r.byte(0);
    r.bytes(bytes, take);
    r.finish(out, static_cast<uint8_t>(0u - r.sum()));
    address += take;
    bytes += take;
    n -= take;
  }
}

void HexWriter::end(std::string& out) {
  out += ":00000001FF\n";
}

void SrecWriter::begin(std::string& out, std::string_view name) {
  const size_t n = std::min<size_t>(name.size(), 64);
  Record r('S');
  r.digit('0');
  r.byte(static_cast<uint8_t>(n + 3));
  r.be16(0);
  r.bytes(reinterpret_cast<const uint8_t*>(name.data()), n);
  r.finish(out, static_cast<uint8_t>(~r.sum()));
}

void SrecWriter::data(std::string& out, uint64_t address, const uint8_t* bytes, size_t n) {
  while (n > 0) {
    const size_t take = std::min(n, kRecordBytes);
    Record r('S');
    r.digit('3');
    r.byte(static_cast<uint8_t>(take + 5));
    r.be32(static_cast<uint32_t>(address));
    r.bytes(bytes, take);
    r.finish(out, static_cast<uint8_t>(~r.sum()));
    address += take;
    bytes += take;
    n -= take;
  }
}

void SrecWriter::end(std::string& out, uint32_t start) {
  Record r('S');
  r.digit('7');
  r.byte(5);
  r.be32(start);
  r.finish(out, static_cast<uint8_t>(~r.sum()));
}

}  // namespace tralk::pack
