#include "base/set_lock.h"

#include <cerrno>

#include "base/fileio.h"
#include "base/interrupt.h"
#include "base/platform.h"
#include "base/set_journal.h"
#include "base/temp_names.h"

SetLock::SetLock(const std::vector<std::string>& targets) {
  if (targets.empty()) return;
  const std::string first = plat_final_path(targets.front());
  path_ = lock_path(first);
  errno = 0;
  // Not held while waiting: an interruption then ends the wait. The file is
  // another run's until this one holds the lock.
  lock_ = plat_lock(path_);
  if (lock_ == -1) {
    status_ = Failure{Fault::io, errno_text()};
    return;
  }
  remove_on_interrupt(path_);
  if (const std::string journal = journal_path(first); plat_file_exists(journal)) {
    InterruptHold hold;
    finish_journal(journal);
  }
  for (const std::string& target : targets)
    for (const std::string& temp : leftover_temps(plat_final_path(target))) plat_remove(temp);
}

SetLock::~SetLock() {
  if (lock_ == -1) return;
  InterruptHold hold;
  plat_unlock(lock_, path_);
  keep_on_interrupt(path_);
}
