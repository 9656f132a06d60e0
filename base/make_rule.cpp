#include "base/make_rule.h"

#include "base/platform.h"
#include "base/text.h"

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

std::optional<char> depfile_unreadable(std::string_view path) {
  static constexpr std::string_view kSpecial = "\"&';<=>?^`|*%[]";
  for (char c : path) {
    const auto u = static_cast<unsigned char>(c);
    if (u < 0x20 || u == 0x7F || kSpecial.find(c) != std::string_view::npos) return c;
  }
  if (!path.empty() && (path.back() == ')' || path.back() == '\\')) return path.back();
  return std::nullopt;
}

std::string character_words(char c) {
  const auto u = static_cast<unsigned char>(c);
  if (u < 0x20 || u == 0x7F) return "0x" + hex_upper(u, 2);
  return std::string("\"") + c + "\"";
}

const std::string* make_unwritable(const std::vector<std::string>& targets,
                                   const std::vector<std::string>& prereqs) {
  for (const auto* list : {&targets, &prereqs}) {
    for (const std::string& path : *list)
      if (depfile_unreadable(path)) return &path;
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
    return Failure{Fault::unsupported,
                   "a dependency file cannot name \"" + *bad + "\": make or ninja would not read " +
                       character_words(*depfile_unreadable(*bad)) + " as part of it"};
  return PendingFile{path, make_rule(full[0], full[1])};
}
