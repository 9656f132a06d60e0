// How tralk-import and its subcommands end.
#pragma once

#include "base/outcome.h"

namespace tralk::cli {

constexpr int kImportDone = 0;    // the files were written (or the listing printed)
constexpr int kImportFailed = 1;  // an input or output problem; no file was left
constexpr int kImportUsage = 2;   // a bad command line

// The exit status of a failure: a bad command line, or any other problem.
constexpr int import_exit_status(Fault code) {
  return code == Fault::usage ? kImportUsage : kImportFailed;
}

}  // namespace tralk::cli
