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

Status open_output(const SetLock& lock, OutFile& out, const std::string& path) {
  std::error_code ec;
  if (fs::is_directory(path, ec)) return cannot("write", path, "it is a folder");
  if (!out.open(lock, path, true)) return cannot("write", path, out.reason());
  return {};
}

Status commit_outputs(std::span<OutFile* const> set, const std::vector<std::string>& paths) {
  for (size_t i = 0; i < set.size(); ++i)
    if (!set[i]->finish()) return cannot("write", paths[i], set[i]->reason());
  const size_t failed = commit_all(set);
  if (failed == set.size()) return {};
  return cannot("replace", paths[failed], set[failed]->reason());
}

Status write_file_set(const std::vector<PendingFile>& files) {
  std::vector<std::string> paths;
  for (const PendingFile& f : files) paths.push_back(f.path);
  SetLock lock(paths);
  std::vector<std::unique_ptr<OutFile>> outs;
  std::vector<OutFile*> set;
  for (const PendingFile& f : files) {
    outs.push_back(std::make_unique<OutFile>());
    OutFile& out = *outs.back();
    if (Status opened = open_output(lock, out, f.path); !opened.ok()) return opened;
    out.write(f.content);
    if (!out.finish()) return cannot("write", f.path, out.reason());
    set.push_back(&out);
  }
  return commit_outputs(set, paths);
}
