// "tralk-import picture": turns a PNG or BMP picture into an uncompressed
// BMP picture that tralk reads.
#pragma once

namespace tralk::importer {

// Runs the subcommand on the arguments after "picture"; returns the exit
// status. Every message is printed through con_printf.
int run_picture_command(int argc, const char* const* argv);

}  // namespace tralk::importer
