#include "driver/config_lines.h"

const char* ConfigLines::firstname() {
  scan_.drop_pushback();
  scan_.set_linemode(false);
  return scan_.name();
}

const char* ConfigLines::linearg() {
  // The name before was ended by its line end.
  if (scan_.newlines() == 1) return nullptr;
  scan_.drop_pushback();
  scan_.set_linemode(true);
  const char* name = scan_.name();
  scan_.set_linemode(false);
  return name && name[0] != '\0' ? name : nullptr;
}
