#include "output/write_failure.h"

#include "base/console.h"

void report_write_failure(const std::string& path, const std::string& reason) {
  con_printf("\n Error could write to: \"%s\"", path.c_str());
  if (!reason.empty()) con_printf("\n %s", reason.c_str());
  con_error_line(path, 0, "could not write" + (reason.empty() ? std::string() : ": " + reason));
}
