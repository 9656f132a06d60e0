// tralk-pack run as a program, images of given bytes, and the independent
// reader of its HEX and S-record files, for the chip tests.
#pragma once

#include <gtest/gtest.h>
#include <zlib.h>

#include <cstdint>
#include <filesystem>
#include <string>

#include "support/run_tralk.h"
#include "support/tempdir.h"

namespace pack_test {

// Runs tralk-pack in cwd; args pass through the shell as written.
inline RunResult run_pack(const std::filesystem::path& cwd, const std::string& args) {
  return run_command(cwd, shell_quote(TRALK_PACK_EXE) + " " + args + " 2>&1");
}

// n bytes that differ from image to image (seed) and from byte to byte.
inline std::string image_bytes(size_t n, unsigned seed) {
  std::string bytes(n, '\0');
  uint32_t x = 0x9E3779B9u * (seed + 1);
  for (char& b : bytes) {
    x = x * 1103515245u + 12345u;
    b = static_cast<char>(x >> 24);
  }
  return bytes;
}

inline uint32_t zlib_crc(const std::string& bytes) {
  return static_cast<uint32_t>(
      crc32(0, reinterpret_cast<const Bytef*>(bytes.data()), static_cast<uInt>(bytes.size())));
}

// The memory that hex (and srec, when given) describe from base for size
// bytes, as the Python reader beside these tests reads them; it fails the
// test, saying why, for a record that is not right.
inline std::string read_records(const TempDir& dir, const std::string& base,
                                const std::string& size, const std::string& hex,
                                const std::string& srec = "", std::string* srec_memory = nullptr) {
  std::string cmd = "python3 " + shell_quote(TRALK_PACK_TEST_DATA "/hex_reader.py") + " " + base +
                    " " + size + " " + shell_quote(hex) + " hex-memory.bin";
  if (!srec.empty()) cmd += " " + shell_quote(srec) + " srec-memory.bin";
  const RunResult r = run_command(dir.path(), cmd + " 2>&1");
  EXPECT_EQ(r.status, 0) << r.out;
  if (srec_memory) *srec_memory = TempDir::read(dir.path() / "srec-memory.bin");
  return TempDir::read(dir.path() / "hex-memory.bin");
}

}  // namespace pack_test
