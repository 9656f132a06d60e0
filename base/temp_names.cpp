#include "base/temp_names.h"

#include <cstdint>
#include <map>
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

// The names beginning ".tralk-" somewhere of each folder looked at, read
// when it was first looked at.
std::map<std::string, std::vector<std::string>>& folder_temps() {
  static std::map<std::string, std::vector<std::string>> folders;
  return folders;
}

const std::vector<std::string>& temps_in(const std::string& folder) {
  auto [it, added] = folder_temps().try_emplace(folder);
  if (added) {
    for (std::string& name : plat_list_dir(folder))
      if (name.find(".tralk-") != std::string::npos) it->second.push_back(std::move(name));
  }
  return it->second;
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

std::string journal_path(const std::string& target) {
  return stem(target) + ".tralk-set";
}

std::vector<std::string> leftover_temps(const std::string& target) {
  const std::string folder = path_folder(target);
  const std::string start = file_name(stem(target)) + ".tralk-";
  std::vector<std::string> found;
  for (const std::string& name : temps_in(folder)) {
    if (name.compare(0, start.size(), start) != 0) continue;
    const std::string_view kind = std::string_view(name).substr(start.size(), 4);
    if (kind == "new-" || kind == "old-") found.push_back(folder + name);
  }
  return found;
}
