// The importer program, tralk-import: subcommands that turn what users have
// (fonts, pictures) into tralk's input files.
#pragma once

namespace tralk::importer {

// Runs the importer on the arguments after the program name; returns the
// exit status.
int run_import(int argc, const char* const* argv);

}  // namespace tralk::importer
