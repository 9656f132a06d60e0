#include "base/set_journal.h"

#include <cerrno>
#include <fstream>
#include <iterator>

#include "base/platform.h"
#include "base/temp_names.h"

namespace {

// Each name ends with a zero byte (names may hold any other byte); a
// replacement is three names; the journal ends with "end" and a zero byte,
// so that a journal cut short is seen as such.
constexpr char kEnd[] = "end";

}  // namespace

Status write_journal(const std::string& path, const std::vector<Replacement>& set) {
  std::string text;
  for (const Replacement& r : set) {
    for (const std::string* name : {&r.temp, &r.target, &r.backup}) text.append(*name) += '\0';
  }
  text.append(kEnd) += '\0';
  errno = 0;
  const int fd = plat_create_new(path, true);
  bool ok = fd >= 0 && plat_write(fd, text.data(), text.size()) && plat_sync(fd);
  const int err = errno;
  if (fd >= 0) ok = plat_close(fd) && ok;
  if (!ok) {
    plat_remove(path);
    errno = err ? err : errno;
    return Failure{Fault::io, ""};
  }
  plat_sync_dir(path_folder(path));
  return {};
}

std::vector<Replacement> read_journal(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  const std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  std::vector<std::string> names;
  for (size_t at = 0; at < text.size();) {
    const size_t end = text.find('\0', at);
    if (end == std::string::npos) return {};
    names.push_back(text.substr(at, end - at));
    at = end + 1;
  }
  if (names.empty() || names.back() != kEnd || names.size() % 3 != 1) return {};
  std::vector<Replacement> set;
  for (size_t i = 0; i + 1 < names.size(); i += 3)
    set.push_back({names[i], names[i + 1], names[i + 2]});
  return set;
}

size_t replace_set(const std::vector<Replacement>& set, bool resuming) {
  size_t failed = set.size();
  for (size_t i = 0; i < set.size(); ++i) {
    const Replacement& r = set[i];
    if (resuming && !plat_file_exists(r.temp)) continue;
    if (!plat_replace_file(r.temp, r.target)) {
      failed = i;
      break;
    }
  }
  if (failed == set.size()) return failed;
  const int err = errno;
  // Back to the old set, in reverse.
  for (size_t i = failed; i-- > 0;) {
    const Replacement& r = set[i];
    if (r.backup.empty()) {
      plat_remove(r.target);
    } else {
      plat_replace_file(r.backup, r.target);
    }
  }
  errno = err;
  return failed;
}

void finish_journal(const std::string& path) {
  const std::vector<Replacement> set = read_journal(path);
  replace_set(set, true);
  for (const Replacement& r : set) {
    plat_remove(r.temp);
    if (!r.backup.empty()) plat_remove(r.backup);
  }
  for (const Replacement& r : set) plat_sync_dir(path_folder(r.target));
  plat_remove(path);
  plat_sync_dir(path_folder(path));
}
