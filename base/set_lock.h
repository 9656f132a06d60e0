// The turn of one run at a set of output files (the three files of an
// image, a font's .sym and .cp, one picture). A run holds it from before it
// makes its first temporary until the set is replaced, so that runs writing
// the same set never mix their files: the one that comes second waits. On
// taking it, a run first finishes what an interrupted run left of the set
// (a journal: the set is completed, or undone where that fails) and removes
// the temporaries earlier runs left for these targets.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "base/outcome.h"

class SetLock {
 public:
  // targets as the outputs will be opened (symbolic links are followed); the
  // lock and the journal are named after the first.
  explicit SetLock(const std::vector<std::string>& targets);
  ~SetLock();
  SetLock(const SetLock&) = delete;
  SetLock& operator=(const SetLock&) = delete;

  // A failure (with the system's reason) when the lock cannot be taken: the
  // folder is missing or cannot be written, say.
  const Status& status() const { return status_; }

 private:
  std::string path_;
  intptr_t lock_ = -1;
  Status status_;
};
