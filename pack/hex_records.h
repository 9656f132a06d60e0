// Intel HEX and Motorola S-record text of runs of bytes at 32-bit addresses:
// what a device programmer takes to put bytes at an address.
//
// Intel HEX: data records (type 00) of at most 16 bytes that never cross a
// 64 KiB boundary, an extended linear address record (type 04) before the
// first record of each 64 KiB page, an end-of-file record (type 01).
// Motorola: a header record S0 holding a name, data records S3 (32-bit
// addresses) of at most 16 bytes, and a termination record S7 with the
// start address. Upper-case digits, each line ending in LF, on every host.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace tralk::pack {

class HexWriter {
 public:
  // Appends the records of n bytes at address to out; address + n is at
  // most 4GiB.
  void data(std::string& out, uint64_t address, const uint8_t* bytes, size_t n);
  // Appends the end-of-file record.
  static void end(std::string& out);

 private:
  int64_t page_ = -1;  // the upper 16 bits of the address of the last record
};

class SrecWriter {
 public:
  // Appends the header record, holding name (at most 64 of its bytes).
  static void begin(std::string& out, std::string_view name);
  static void data(std::string& out, uint64_t address, const uint8_t* bytes, size_t n);
  // Appends the termination record, with start as its address.
  static void end(std::string& out, uint32_t start);
};

// Bytes of text a data record takes at most, per byte of data, for
// reserving room: 16 bytes make a line of at most 47 characters.
constexpr size_t kRecordTextPerByte = 3;

}  // namespace tralk::pack
