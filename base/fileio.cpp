#include "base/fileio.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>

std::string errno_text() {
  return std::strerror(errno ? errno : EIO);
}

FileBytes read_to_end(std::FILE* f, const char* path) {
  std::error_code ec;
  const uintmax_t claimed = std::filesystem::file_size(path, ec);
  FileBytes out;
  // One byte more than claimed, so that the end is found without growing.
  out.block = ByteBlock(ec ? 4096 : static_cast<size_t>(claimed) + 1);
  for (size_t n;
       (n = std::fread(out.block.data() + out.size, 1, out.block.size() - out.size, f)) > 0;) {
    out.size += n;
    if (out.size == out.block.size()) {
      ByteBlock larger(2 * out.block.size());
      std::memcpy(larger.data(), out.block.data(), out.size);
      out.block = std::move(larger);
    }
  }
  return out;
}

std::optional<FileBytes> read_input_file(const std::string& path) {
  const FilePtr f = file_open(path.c_str(), "rb");
  if (!f) return std::nullopt;
  return read_to_end(f.get(), path.c_str());
}

Outcome<FileBytes> read_whole_file(const std::string& path) {
  errno = 0;
  const FilePtr f = file_open(path.c_str(), "rb");
  if (!f) return Failure{errno == ENOENT ? Fault::not_found : Fault::io, errno_text()};
  errno = 0;
  FileBytes bytes = read_to_end(f.get(), path.c_str());
  if (std::ferror(f.get())) return Failure{Fault::io, errno_text()};
  return bytes;
}
