// How tralk-import and its subcommands end.
#pragma once

#include "base/console.h"
#include "base/outcome.h"

namespace tralk::cli {

constexpr int kImportDone = 0;    // the files were written (or the listing printed)
constexpr int kImportFailed = 1;  // an input or output problem; no file was left
constexpr int kImportUsage = 2;   // a bad command line

// The exit status of a failure: a bad command line, or any other problem.
constexpr int import_exit_status(Fault code) {
  return code == Fault::usage ? kImportUsage : kImportFailed;
}

// Prints a failure of a subcommand ("font", "picture", "palette") as its
// message, "tralk-import font: TEXT", and gives its exit status.
inline int report_import_failure(const char* subcommand, const Failure& failure) {
  con_printf("tralk-import %s: %s\n", subcommand, failure.text.c_str());
  return import_exit_status(failure.code);
}

}  // namespace tralk::cli
