// What an interrupted run leaves behind: nothing of its own. The files a
// run makes for a while (temporaries, lock files) are registered here and
// removed when the run is interrupted, before it ends as the interruption
// would have ended it; a set of files is replaced with interruptions held.
#pragma once

#include <string>

// Registers path for removal on interruption (and installs the handling on
// first use).
void remove_on_interrupt(const std::string& path);
// Forgets path: it has become a real file, or is gone.
void keep_on_interrupt(const std::string& path);

// Interruptions wait while one of these lives.
class InterruptHold {
 public:
  InterruptHold();
  ~InterruptHold();
  InterruptHold(const InterruptHold&) = delete;
  InterruptHold& operator=(const InterruptHold&) = delete;
};
