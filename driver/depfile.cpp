#include "driver/depfile.h"

#include "base/console.h"
#include "base/make_rule.h"
#include "base/outfile.h"
#include "base/path.h"
#include "base/platform.h"
#include "base/set_lock.h"
#include "output/vfont.h"

void DepRecord::note(const std::string& path) {
  if (checked_ && !refused_ && depfile_unreadable(path)) refused_ = path;
}

void DepRecord::add_input(const std::string& path) {
  note(path);
  inputs_.add(path);
}

void DepRecord::add_outputs(const std::vector<std::string>& paths) {
  for (const std::string& path : paths) {
    note(path);
    outputs_.add(path);
  }
}

bool DepRecord::can_name(const std::string& path) const {
  const std::optional<char> c = depfile_unreadable(path);
  if (!c) return true;
  con_error_line(path, 0, "holds " + character_words(*c) + ": a dependency file cannot name it");
  con_printf("\n- File name \"%s\" holds %s: a dependency file cannot name it", path.c_str(),
             character_words(*c).c_str());
  return false;
}

void DepRecord::add_font(const std::string& sym_path, const std::optional<std::string>& cpname) {
  add_input(sym_path);
  if (!cpname) return;
  if (std::optional<std::string> cp_path = path_setname(sym_path, *cpname)) add_input(*cp_path);
}

bool DepRecord::write(const std::string& path) const {
  if (const std::string* bad = make_unwritable(outputs_.order, inputs_.order)) {
    con_printf("\n Error: a dependency file cannot name \"%s\"", bad->c_str());
    con_error_line(*bad, 0, "a dependency file cannot name it");
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
  file.write(make_rule(outputs_.order, inputs_.order));
  if (file.commit()) return true;
  report_write_failure(path, file.reason());
  return false;
}
