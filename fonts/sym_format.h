// The markers of a .sym file's first line, shared by its reader
// (fonts/sym_load.cpp) and the importer's writer: "CP<name>" names the
// codepage beside the file, "PAL<name>" a palette; each name ends at ">" or
// at the end of the line.
#pragma once

#include <string_view>

constexpr std::string_view kSymCodepageMarker = "CP<";
constexpr std::string_view kSymPaletteMarker = "PAL<";
constexpr char kSymMarkerEnd = '>';
