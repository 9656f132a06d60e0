// "tralk-import palette": one .pal palette for several pictures, for tralk's
// palette mode: every colour of the pictures when they have at most the
// number of colours asked for, otherwise that many by median cut
// (import/pictures/median_cut.h).
#pragma once

namespace tralk::importer {

// Runs "tralk-import palette" on the arguments after "palette"; returns the
// exit status.
int run_palette_command(int argc, const char* const* argv);

}  // namespace tralk::importer
