// An output file that appears under its name only when complete.
#include "output/outfile.h"

#include <cerrno>
#include <chrono>
#include <cstdint>

#include "driver/platform.h"

namespace {

// Tries several names: another process (or another OutFile of this one) may
// hold a temporary file of the same target at the same time.
constexpr int kTempAttempts = 64;

std::string temp_name(const std::string& target, unsigned attempt) {
  static uint32_t counter = 0;
  const auto ticks =
      static_cast<uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count());
  const uint64_t mix = ticks * 0x9E3779B97F4A7C15ull + (++counter) * 0x100000001B3ull + attempt;
  static const char kDigits[] = "0123456789abcdefghijklmnopqrstuvwxyz";
  std::string name = target + ".tmp";
  uint64_t v = mix;
  for (int i = 0; i < 6; ++i) {
    name += kDigits[v % 36];
    v /= 36;
  }
  return name;
}

}  // namespace

OutFile::~OutFile() {
  if (file_) std::fclose(file_);
  if (!temp_.empty()) std::remove(temp_.c_str());
}

bool OutFile::open(const std::string& path, bool binary) {
  if (file_ || !temp_.empty()) return false;
  target_ = path;
  failed_ = false;
  // The temporary file is always a new one, never someone else's file.
  for (int attempt = 0; attempt < kTempAttempts; ++attempt) {
    std::string temp = temp_name(path, static_cast<unsigned>(attempt));
    errno = 0;
    file_ = plat_create_new(temp, binary);
    if (file_) {
      temp_ = std::move(temp);
      return true;
    }
    if (errno != EEXIST) break;
  }
  return false;
}

void OutFile::write(std::string_view data) {
  if (!file_ || failed_ || data.empty()) return;
  if (std::fwrite(data.data(), 1, data.size(), file_) != data.size()) failed_ = true;
}

bool OutFile::commit() {
  if (!file_) return false;
  if (std::fflush(file_) != 0 || std::ferror(file_)) failed_ = true;
  if (std::fclose(file_) != 0) failed_ = true;
  file_ = nullptr;
  if (!failed_ && plat_replace_file(temp_, target_)) {
    temp_.clear();
    return true;
  }
  std::remove(temp_.c_str());
  temp_.clear();
  return false;
}
