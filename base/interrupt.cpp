#include "base/interrupt.h"

#include <algorithm>
#include <vector>

#include "base/platform.h"

namespace {

// Changed only while interruptions are held, so that the handler never sees
// it half changed.
std::vector<std::string>& registered() {
  static std::vector<std::string> paths;
  return paths;
}

// Runs in the interruption's handler: only removals, no allocation.
void remove_registered() {
  for (const std::string& path : registered()) plat_remove(path);
}

}  // namespace

InterruptHold::InterruptHold() {
  plat_catch_interrupts(remove_registered);
  plat_hold_interrupts();
}

InterruptHold::~InterruptHold() {
  plat_release_interrupts();
}

void remove_on_interrupt(const std::string& path) {
  InterruptHold hold;
  registered().push_back(path);
}

void keep_on_interrupt(const std::string& path) {
  InterruptHold hold;
  std::vector<std::string>& paths = registered();
  const auto it = std::find(paths.rbegin(), paths.rend(), path);
  if (it != paths.rend()) paths.erase(std::next(it).base());
}
