#include "base/file_set.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <memory>

#include "base/outfile.h"

namespace fs = std::filesystem;

namespace {

std::string quoted(const std::string& s) {
  return "\"" + s + "\"";
}

std::string reason() {
  return std::strerror(errno ? errno : EIO);
}

}  // namespace

Status write_file_set(const std::vector<PendingFile>& files) {
  std::vector<std::unique_ptr<OutFile>> outs;
  std::vector<OutFile*> set;
  for (const PendingFile& f : files) {
    std::error_code ec;
    if (fs::is_directory(f.path, ec)) {
      return Failure{Fault::io, "cannot write " + quoted(f.path) + ": it is a folder"};
    }
    outs.push_back(std::make_unique<OutFile>());
    OutFile& out = *outs.back();
    errno = 0;
    if (!out.open(f.path, true)) {
      return Failure{Fault::io, "cannot write " + quoted(f.path) + ": " + reason()};
    }
    out.write(f.content);
    errno = 0;
    if (!out.finish()) {
      return Failure{Fault::io, "cannot write " + quoted(f.path) + ": " + reason()};
    }
    set.push_back(&out);
  }
  errno = 0;
  const size_t failed = commit_all(set);
  if (failed == set.size()) return {};
  return Failure{Fault::io, "cannot replace " + quoted(files[failed].path) + ": " + reason()};
}
