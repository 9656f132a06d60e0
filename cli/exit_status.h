// How tralk-import and its subcommands end.
#pragma once

constexpr int kImportDone = 0;    // the files were written (or the listing printed)
constexpr int kImportFailed = 1;  // an input or output problem; no file was left
constexpr int kImportUsage = 2;   // a bad command line
