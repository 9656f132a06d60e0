#include "base/make_rule.h"

#include <algorithm>

#include "base/platform.h"

std::string make_escaped(std::string_view path) {
  std::string out;
  size_t backslashes = 0;  // right before the current character
  for (size_t i = 0; i < path.size(); ++i) {
    const char c = path[i];
    if (c == ' ') out.append(backslashes + 1, '\\');
    if (c == '#') out += '\\';
    if (c == '$') out += '$';
    if (c == ':' && !(kPathHasDrive && i == 1)) out += '\\';
    out += c;
    backslashes = c == '\\' ? backslashes + 1 : 0;
  }
  return out;
}

const std::string* make_unwritable(const std::vector<std::string>& targets,
                                   const std::vector<std::string>& prereqs) {
  for (const auto* list : {&targets, &prereqs}) {
    for (const std::string& path : *list) {
      if (std::any_of(path.begin(), path.end(),
                      [](char c) { return static_cast<unsigned char>(c) < 0x20; }))
        return &path;
    }
  }
  return nullptr;
}

std::string make_rule(const std::vector<std::string>& targets,
                      const std::vector<std::string>& prereqs) {
  std::string text;
  if (targets.empty()) return text;
  for (const std::string& t : targets) text += (text.empty() ? "" : " ") + make_escaped(t);
  text += ":";
  for (size_t i = 0; i < prereqs.size(); ++i)
    text += (i == 0 ? " " : " \\\n ") + make_escaped(prereqs[i]);
  return text + "\n";
}

Outcome<PendingFile> make_depfile(const std::string& path, const std::vector<std::string>& targets,
                                  const std::vector<std::string>& prereqs) {
  std::vector<std::string> full[2];
  const std::vector<std::string>* given[2] = {&targets, &prereqs};
  for (int i = 0; i < 2; ++i) {
    for (const std::string& name : *given[i]) {
      std::optional<std::string> resolved = plat_full_path(name);
      if (!resolved) return Failure{Fault::unsupported, "cannot resolve the name \"" + name + "\""};
      full[i].push_back(std::move(*resolved));
    }
  }
  if (const std::string* bad = make_unwritable(full[0], full[1]))
    return Failure{Fault::unsupported, "a dependency file cannot name \"" + *bad + "\""};
  return PendingFile{path, make_rule(full[0], full[1])};
}
