#include "driver/depfile.h"

#include <algorithm>

#include "base/console.h"
#include "base/outfile.h"
#include "base/platform.h"
#include "base/set_lock.h"
#include "driver/path.h"
#include "output/write_failure.h"

namespace {

// Make has no way to write a line end or other control character in a name.
const std::string* first_unwritable(const std::vector<std::string>& a,
                                    const std::vector<std::string>& b) {
  for (const auto* list : {&a, &b}) {
    for (const std::string& path : *list) {
      if (std::any_of(path.begin(), path.end(),
                      [](char c) { return static_cast<unsigned char>(c) < 0x20; }))
        return &path;
    }
  }
  return nullptr;
}

// One rule: every target depends on every prerequisite. A run that wrote
// nothing has no rule.
std::string depfile_text(const std::vector<std::string>& targets,
                         const std::vector<std::string>& prereqs) {
  std::string text;
  if (targets.empty()) return text;
  for (const std::string& t : targets) text += (text.empty() ? "" : " ") + make_escaped(t);
  text += ":";
  for (size_t i = 0; i < prereqs.size(); ++i)
    text += (i == 0 ? " " : " \\\n ") + make_escaped(prereqs[i]);
  return text + "\n";
}

}  // namespace

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

void DepRecord::add_input(const std::string& path) {
  inputs_.add(path);
}

void DepRecord::add_outputs(const std::vector<std::string>& paths) {
  for (const std::string& path : paths) outputs_.add(path);
}

void DepRecord::add_font(const std::string& sym_path, const std::optional<std::string>& cpname) {
  add_input(sym_path);
  if (!cpname) return;
  if (std::optional<std::string> cp_path = path_setname(sym_path, *cpname)) add_input(*cp_path);
}

bool DepRecord::write(const std::string& path) const {
  if (const std::string* bad = first_unwritable(outputs_.order, inputs_.order)) {
    con_printf("\n Error: a dependency file cannot name \"%s\"", bad->c_str());
    return false;
  }
  SetLock lock({path});
  OutFile file;
  // Binary: build tools on every host read LF line ends.
  if (!file.open(lock, path, true)) {
    report_write_failure(path, file.reason());
    return false;
  }
  con_printf("\n Dependency file: \"%s\"", path.c_str());
  file.write(depfile_text(outputs_.order, inputs_.order));
  if (file.commit()) return true;
  report_write_failure(path, file.reason());
  return false;
}
