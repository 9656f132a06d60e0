#include "base/temp_names.h"

#include <cstdint>
#include <string_view>

#include "base/platform.h"
#include "base/text.h"

namespace {

// The longest name file systems take, and the longest ".tralk-KIND-ID".
constexpr size_t kNameMax = 255;
constexpr size_t kSuffixMax = 40;

std::string file_name(const std::string& path) {
  return path.substr(path_folder(path).size());
}

// FNV-1a: a short, stable tag for a long name.
uint32_t name_hash(std::string_view name) {
  uint32_t h = 2166136261u;
  for (char c : name) h = (h ^ static_cast<uint8_t>(c)) * 16777619u;
  return h;
}

// What the temporary names of target start with, folder included.
std::string stem(const std::string& target) {
  const std::string name = file_name(target);
  if (name.size() + kSuffixMax <= kNameMax) return target;
  const std::string head = name.substr(0, kNameMax - kSuffixMax - 9);
  return path_folder(target) + head + "~" + hex_upper(name_hash(name), 8);
}

std::vector<std::string> with_prefix(const std::string& target,
                                     std::initializer_list<const char*> kinds) {
  const std::string folder = path_folder(target);
  const std::string start = file_name(stem(target)) + ".tralk-";
  std::vector<std::string> found;
  for (const std::string& name : plat_list_dir(folder)) {
    if (name.compare(0, start.size(), start) != 0) continue;
    for (const char* kind : kinds) {
      const std::string tail = std::string(kind) + "-";
      if (name.compare(start.size(), tail.size(), tail) == 0) found.push_back(folder + name);
    }
  }
  return found;
}

}  // namespace

std::string path_folder(const std::string& path) {
  const size_t sep = path.find_last_of(kPathSeparator == '/' ? "/" : "/\\");
  return sep == std::string::npos ? std::string() : path.substr(0, sep + 1);
}

std::string temp_path(const std::string& target, const char* kind, const std::string& id) {
  return stem(target) + ".tralk-" + kind + "-" + id;
}

std::string lock_path(const std::string& target) {
  return stem(target) + ".tralk-lock";
}

std::string new_temp_id() {
  static unsigned long counter = 0;
  return strf("%lx-%lx", plat_process_id(), ++counter);
}

std::vector<std::string> leftover_temps(const std::string& target) {
  return with_prefix(target, {"new", "old"});
}

std::vector<std::string> leftover_journals(const std::string& target) {
  return with_prefix(target, {"set"});
}
