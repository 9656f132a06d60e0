// "tralk-import font": imports a font into a .sym file and its codepage, or
// lists what a font file holds.
#pragma once

namespace tralk::importer {

// Runs the subcommand on the arguments after "font"; returns the exit
// status. Every message is printed through con_printf.
int run_font_command(int argc, const char* const* argv);

}  // namespace tralk::importer
