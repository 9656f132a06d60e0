// Output files that appear under their names only when complete.
#include "base/outfile.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <set>
#include <vector>

#include "base/fileio.h"
#include "base/interrupt.h"
#include "base/platform.h"
#include "base/set_journal.h"
#include "base/temp_names.h"

namespace {

// Several names are tried: a run killed long ago may have left one of the
// same number.
constexpr int kTempAttempts = 64;
// Bytes gathered before they go to the file in one call.
constexpr size_t kBufferSize = size_t{1} << 20;

// A file the run made and removes: registered until it is removed.
void remove_temp(std::string& path) {
  if (path.empty()) return;
  plat_remove(path);
  keep_on_interrupt(path);
  path.clear();
}

bool same_bytes(const std::string& a, const std::string& b) {
  std::error_code ec_a, ec_b;
  if (std::filesystem::file_size(a, ec_a) != std::filesystem::file_size(b, ec_b) || ec_a || ec_b)
    return false;
  std::ifstream fa(a, std::ios::binary), fb(b, std::ios::binary);
  if (!fa || !fb) return false;
  std::vector<char> ba(size_t{1} << 16), bb(ba.size());
  for (;;) {
    fa.read(ba.data(), static_cast<std::streamsize>(ba.size()));
    fb.read(bb.data(), static_cast<std::streamsize>(bb.size()));
    if (fa.gcount() != fb.gcount()) return false;
    if (std::memcmp(ba.data(), bb.data(), static_cast<size_t>(fa.gcount())) != 0) return false;
    if (fa.gcount() == 0 || !fa) return fa.eof() && fb.eof();
  }
}

}  // namespace

OutFile::~OutFile() {
  if (fd_ >= 0) plat_close(fd_);
  remove_temp(temp_);
  remove_temp(backup_);
}

bool OutFile::open(const SetLock& lock, const std::string& path, bool binary) {
  if (fd_ >= 0 || !temp_.empty()) return false;
  target_ = plat_final_path(path);
  ok_ = false;
  reason_ = lock.status().error();
  if (!lock.status().ok()) return false;
  // The temporary file is always a new one, never someone else's file.
  for (int attempt = 0; attempt < kTempAttempts; ++attempt) {
    std::string temp = temp_path(target_, "new", new_temp_id());
    InterruptHold hold;
    errno = 0;
    fd_ = plat_create_new(temp, binary);
    if (fd_ >= 0) {
      remove_on_interrupt(temp);
      temp_ = std::move(temp);
      ok_ = true;
      return true;
    }
    if (errno != EEXIST) break;
  }
  reason_ = errno_text();
  return false;
}

void OutFile::fail() {
  if (!ok_) return;
  ok_ = false;
  reason_ = errno_text();
}

void OutFile::flush() {
  if (ok_ && !buffer_.empty()) {
    errno = 0;
    if (!plat_write(fd_, buffer_.data(), buffer_.size())) fail();
  }
  buffer_.clear();
}

void OutFile::write(std::string_view data) {
  if (fd_ < 0 || !ok_ || data.empty()) return;
  // A large piece goes to the file as it is: copying megabytes of a font's
  // text into the buffer first cost more than writing them.
  if (data.size() >= kBufferSize) {
    flush();
    errno = 0;
    if (ok_ && !plat_write(fd_, data.data(), data.size())) fail();
    return;
  }
  buffer_.append(data);
  if (buffer_.size() >= kBufferSize) flush();
}

void OutFile::seek(uint64_t offset) {
  if (fd_ < 0 || !ok_) return;
  flush();
  errno = 0;
  if (ok_ && !plat_seek(fd_, offset)) fail();
}

bool OutFile::finish() {
  if (fd_ < 0) return ok_ && !temp_.empty();
  flush();
  unchanged_ = ok_ && same_bytes(temp_, target_);
  errno = 0;
  // What stays as it is needs no second name, nor its new bytes on the disk.
  if (ok_ && !unchanged_ && !plat_sync(fd_)) fail();
  plat_copy_mode(target_, fd_);
  errno = 0;
  if (!plat_close(fd_)) fail();
  fd_ = -1;
  if (!ok_ || unchanged_ || !plat_file_exists(target_)) return ok_;
  for (int attempt = 0; attempt < kTempAttempts && backup_.empty(); ++attempt) {
    std::string backup = temp_path(target_, "old", new_temp_id());
    InterruptHold hold;
    errno = 0;
    if (plat_link_file(target_, backup)) {
      remove_on_interrupt(backup);
      backup_ = std::move(backup);
    } else if (errno != EEXIST) {
      break;
    }
  }
  if (backup_.empty()) fail();
  return ok_;
}

bool OutFile::commit() {
  finish();
  OutFile* self[] = {this};
  return commit_all(self) == 1;
}

namespace {

// Replaces the changed files of a complete set whose first target (the one
// its lock and journal are named after) is first_target; the index of the
// one that failed, or set.size().
size_t replace_changed(const std::vector<Replacement>& set, const std::string& first_target) {
  std::set<std::string> folders;
  for (const Replacement& r : set) folders.insert(path_folder(r.target));
  // One file needs no journal: its rename happens whole or not at all.
  std::string journal;
  if (set.size() > 1) {
    // The temporaries' names must reach the disk before the journal that
    // names them; the journal's folder is synced with it.
    const std::string first_folder = path_folder(set.front().target);
    for (const std::string& folder : folders)
      if (folder != first_folder) plat_sync_dir(folder);
    journal = journal_path(first_target);
    errno = 0;
    if (!write_journal(journal, set).ok()) return 0;
  }
  const size_t failed = replace_set(set);
  const int err = errno;
  for (const std::string& folder : folders) plat_sync_dir(folder);
  if (!journal.empty()) plat_remove(journal);
  errno = err;
  return failed;
}

}  // namespace

size_t commit_all(std::span<OutFile* const> files) {
  const size_t n = files.size();
  size_t failed = n;
  for (size_t i = 0; i < n && failed == n; ++i) {
    const OutFile& f = *files[i];
    if (f.fd_ >= 0 || !f.ok_ || f.temp_.empty()) failed = i;
  }
  if (failed == n) {
    std::vector<OutFile*> changed;
    std::vector<Replacement> set;
    for (OutFile* f : files) {
      if (f->unchanged_) continue;
      changed.push_back(f);
      set.push_back({f->temp_, f->target_, f->backup_});
    }
    InterruptHold hold;
    const size_t at = set.empty() ? 0 : replace_changed(set, files[0]->target_);
    if (at < set.size()) {
      OutFile* f = changed[at];
      f->reason_ = errno_text();
      for (size_t i = 0; i < n; ++i)
        if (files[i] == f) failed = i;
    } else {
      for (OutFile* f : changed) {
        keep_on_interrupt(f->temp_);
        f->temp_.clear();
      }
    }
  }
  for (OutFile* f : files) {
    remove_temp(f->temp_);
    remove_temp(f->backup_);
    f->ok_ = false;
  }
  return failed;
}
