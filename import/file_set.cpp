#include "import/file_set.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <memory>

#include "driver/fileio.h"
#include "driver/platform.h"

namespace fs = std::filesystem;

namespace {

// Attempts at a free temporary name: another run may hold one.
constexpr unsigned kTempAttempts = 100;

std::string quoted(const std::string& s) {
  return "\"" + s + "\"";
}

// A temporary file that is removed unless it was renamed away.
class TempFile {
 public:
  TempFile() = default;
  TempFile(const TempFile&) = delete;
  TempFile& operator=(const TempFile&) = delete;
  ~TempFile() {
    if (!path_.empty()) std::remove(path_.c_str());
  }

  // Creates a new temporary beside target, holding content; false, with
  // errno's reason in error, on any failure.
  bool write(const std::string& target, const std::string& content, std::string& error);
  // Renames the temporary over target.
  bool publish(const std::string& target) {
    if (!plat_replace_file(path_, target)) return false;
    path_.clear();
    return true;
  }

 private:
  FilePtr create(const std::string& target);
  std::string path_;
};

FilePtr TempFile::create(const std::string& target) {
  static unsigned counter = 0;
  for (unsigned attempt = 0; attempt < kTempAttempts; ++attempt) {
    const std::string name =
        target + ".tmp" + std::to_string(::getpid()) + "-" + std::to_string(++counter);
    errno = 0;
    FilePtr file(plat_create_new(name, true));
    if (file) {
      path_ = name;
      return file;
    }
    if (errno != EEXIST) break;
  }
  return nullptr;
}

bool TempFile::write(const std::string& target, const std::string& content, std::string& error) {
  FilePtr file = create(target);
  bool ok = file != nullptr;
  if (ok) ok = std::fwrite(content.data(), 1, content.size(), file.get()) == content.size();
  if (ok) ok = std::fflush(file.get()) == 0;
  if (file && std::fclose(file.release()) != 0) ok = false;
  if (!ok) {
    error = std::strerror(errno ? errno : EIO);
    return false;
  }
  std::error_code ec;
  const fs::file_status old = fs::status(target, ec);
  if (!ec && fs::exists(old)) fs::permissions(path_, old.permissions(), ec);
  return true;
}

// Where the bytes of path go: the file a symbolic link names, else path.
std::string real_target(const std::string& path) {
  std::error_code ec;
  if (!fs::is_symlink(path, ec)) return path;
  const fs::path target = fs::weakly_canonical(path, ec);
  return ec ? path : target.string();
}

}  // namespace

bool write_file_set(const std::vector<PendingFile>& files, std::string& error) {
  std::vector<std::string> targets;
  std::vector<std::unique_ptr<TempFile>> temps;
  for (const PendingFile& f : files) {
    targets.push_back(real_target(f.path));
    std::error_code ec;
    if (fs::is_directory(targets.back(), ec)) {
      error = "cannot write " + quoted(f.path) + ": it is a folder";
      return false;
    }
    temps.push_back(std::make_unique<TempFile>());
    std::string reason;
    if (!temps.back()->write(targets.back(), f.content, reason)) {
      error = "cannot write " + quoted(f.path) + ": " + reason;
      return false;
    }
  }
  for (size_t i = 0; i < files.size(); ++i) {
    if (temps[i]->publish(targets[i])) continue;
    // Only a failure of the rename itself, after every file was written,
    // leaves an earlier target replaced; say so.
    error = "cannot replace " + quoted(files[i].path) + ": " + std::strerror(errno);
    if (i > 0) error += " (" + quoted(files[0].path) + " was replaced)";
    return false;
  }
  return true;
}
