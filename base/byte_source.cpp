#include "base/byte_source.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>

size_t MemorySource::read(uint8_t* buf, size_t n) {
  const size_t step = std::min(n, bytes_.size() - at_);
  if (step > 0) std::memcpy(buf, bytes_.data() + at_, step);
  at_ += step;
  return step;
}

Outcome<FileSource> FileSource::open(const std::string& path) {
  errno = 0;
  FilePtr file = file_open(path.c_str(), "rb");
  if (!file) return Failure{errno == ENOENT ? Fault::not_found : Fault::io, errno_text()};
  std::error_code ec;
  const uint64_t size = std::filesystem::file_size(path, ec);
  return FileSource(std::move(file), ec ? 0 : size);
}

size_t FileSource::read(uint8_t* buf, size_t n) {
  return std::fread(buf, 1, n, file_.get());
}

bool FileSource::rewind() {
  std::clearerr(file_.get());
  return std::fseek(file_.get(), 0, SEEK_SET) == 0;
}
