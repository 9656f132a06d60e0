// The importer program, tralk-import: subcommands that turn what users have
// (fonts, pictures) into tralk's input files.
#pragma once

// Exit statuses.
constexpr int kImportDone = 0;    // the files were written (or the listing printed)
constexpr int kImportFailed = 1;  // an input or output problem; no file was left
constexpr int kImportUsage = 2;   // a bad command line

// Runs the importer on the arguments after the program name; returns the
// exit status.
int run_import(int argc, const char* const* argv);
