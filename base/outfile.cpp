// Output files that appear under their names only when complete.
#include "base/outfile.h"

#include <cerrno>
#include <chrono>
#include <cstdint>
#include <vector>

#include "base/platform.h"

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

// A second name for the existing file target, under which its old content
// survives until the new one is in place; empty when target does not exist.
// False when it exists but no second name can be made (it is a folder, say):
// then it cannot be replaced either.
bool keep_old(const std::string& target, std::string& backup) {
  backup.clear();
  if (!plat_file_exists(target)) return true;
  for (int attempt = 0; attempt < kTempAttempts; ++attempt) {
    std::string name = temp_name(target, static_cast<unsigned>(attempt));
    errno = 0;
    if (plat_link_file(target, name)) {
      backup = std::move(name);
      return true;
    }
    if (errno != EEXIST) return false;
  }
  return false;
}

}  // namespace

OutFile::~OutFile() {
  if (file_) std::fclose(file_);
  if (!temp_.empty()) std::remove(temp_.c_str());
  if (!backup_.empty()) std::remove(backup_.c_str());
}

bool OutFile::open(const std::string& path, bool binary) {
  if (file_ || !temp_.empty()) return false;
  target_ = plat_final_path(path);
  ok_ = false;
  // The temporary file is always a new one, never someone else's file.
  for (int attempt = 0; attempt < kTempAttempts; ++attempt) {
    std::string temp = temp_name(target_, static_cast<unsigned>(attempt));
    errno = 0;
    file_ = plat_create_new(temp, binary);
    if (file_) {
      temp_ = std::move(temp);
      ok_ = true;
      return true;
    }
    if (errno != EEXIST) break;
  }
  return false;
}

void OutFile::write(std::string_view data) {
  if (!file_ || !ok_ || data.empty()) return;
  if (std::fwrite(data.data(), 1, data.size(), file_) != data.size()) ok_ = false;
}

bool OutFile::finish() {
  if (!file_) return ok_ && !temp_.empty();
  if (std::fflush(file_) != 0 || std::ferror(file_)) ok_ = false;
  plat_copy_mode(target_, file_);
  if (std::fclose(file_) != 0) ok_ = false;
  file_ = nullptr;
  if (ok_ && !keep_old(target_, backup_)) ok_ = false;
  return ok_;
}

bool OutFile::commit() {
  finish();
  OutFile* self[] = {this};
  return commit_all(self) == 1;
}

size_t commit_all(std::span<OutFile* const> files) {
  const size_t n = files.size();
  size_t failed = n;
  for (size_t i = 0; i < n && failed == n; ++i) {
    const OutFile& f = *files[i];
    if (f.file_ || !f.ok_ || f.temp_.empty()) failed = i;
  }
  size_t replaced = 0;
  for (; replaced < n && failed == n; ++replaced) {
    OutFile& f = *files[replaced];
    if (!plat_replace_file(f.temp_, f.target_)) {
      failed = replaced;
      break;
    }
    f.temp_.clear();
  }
  // Undo in reverse: each target gets its old content back, or goes when it
  // had none.
  for (size_t i = (failed == n ? 0 : replaced); i-- > 0;) {
    OutFile& f = *files[i];
    if (f.backup_.empty()) {
      std::remove(f.target_.c_str());
    } else if (plat_replace_file(f.backup_, f.target_)) {
      f.backup_.clear();
    }
  }
  for (OutFile* f : files) {
    if (!f->temp_.empty()) std::remove(f->temp_.c_str());
    if (!f->backup_.empty()) std::remove(f->backup_.c_str());
    f->temp_.clear();
    f->backup_.clear();
    f->ok_ = false;
  }
  return failed;
}
