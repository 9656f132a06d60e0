// The bytes of an input, read front to back: a block in memory, or a file.
// The readers of pictures take one, so that the programs hand them files and
// the tests and fuzzers hand them bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <span>
#include <string>

#include "base/fileio.h"
#include "base/outcome.h"

class ByteSource {
 public:
  virtual ~ByteSource() = default;
  // Reads up to n bytes into buf, from where the reading stands; fewer only
  // at the end of the input, or where it cannot be read further.
  virtual size_t read(uint8_t* buf, size_t n) = 0;
  // The bytes the input held when it was opened; 0 when that is not known
  // (a pipe, a device).
  virtual uint64_t size() const = 0;
  // Starts the reading again at the first byte; false when it cannot be.
  virtual bool rewind() = 0;
  // A read ended early because the input could not be read (errno says
  // why), not at its end.
  virtual bool failed() const = 0;
};

// Bytes in memory, which must outlive the source.
class MemorySource final : public ByteSource {
 public:
  explicit MemorySource(std::span<const uint8_t> bytes) : bytes_(bytes) {}
  size_t read(uint8_t* buf, size_t n) override;
  uint64_t size() const override { return bytes_.size(); }
  bool rewind() override {
    at_ = 0;
    return true;
  }
  bool failed() const override { return false; }

 private:
  std::span<const uint8_t> bytes_;
  size_t at_ = 0;
};

// A file, read in sequence.
class FileSource final : public ByteSource {
 public:
  // Opens the file at path; a failure (Fault::not_found or Fault::io, with
  // the system's words alone as its text) when it cannot be opened.
  static Outcome<FileSource> open(const std::string& path);

  size_t read(uint8_t* buf, size_t n) override;
  uint64_t size() const override { return size_; }
  bool rewind() override;
  bool failed() const override { return std::ferror(file_.get()) != 0; }

 private:
  FileSource(FilePtr file, uint64_t size) : file_(std::move(file)), size_(size) {}
  FilePtr file_;
  uint64_t size_ = 0;
};
