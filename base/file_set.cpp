#include "base/file_set.h"

#include <filesystem>
#include <memory>

#include "base/outfile.h"
#include "base/set_lock.h"
#include "base/text.h"

namespace fs = std::filesystem;

namespace {

Failure cannot(const char* what, const std::string& path, const std::string& reason) {
  return Failure{Fault::io, std::string("cannot ") + what + " " + in_quotes(path) + ": " + reason};
}

}  // namespace

Status write_file_set(const std::vector<PendingFile>& files) {
  std::vector<std::string> paths;
  for (const PendingFile& f : files) paths.push_back(f.path);
  SetLock lock(paths);
  std::vector<std::unique_ptr<OutFile>> outs;
  std::vector<OutFile*> set;
  for (const PendingFile& f : files) {
    std::error_code ec;
    if (fs::is_directory(f.path, ec)) return cannot("write", f.path, "it is a folder");
    outs.push_back(std::make_unique<OutFile>());
    OutFile& out = *outs.back();
    if (!out.open(lock, f.path, true)) return cannot("write", f.path, out.reason());
    out.write(f.content);
    if (!out.finish()) return cannot("write", f.path, out.reason());
    set.push_back(&out);
  }
  const size_t failed = commit_all(set);
  if (failed == set.size()) return {};
  return cannot("replace", files[failed].path, set[failed]->reason());
}
