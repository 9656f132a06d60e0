// The configuration's inputs read from their files: fonts with their
// codepages, palettes and pictures. The readers (fonts/, bitmap/) say what
// failed and where; the words of tralk's messages for it are here.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "base/outcome.h"
#include "base/palette.h"
#include "bitmap/bmp_load.h"
#include "fonts/symfont.h"

// The .sym file at path, and the codepage its first line names, read from
// the .sym file's folder (its name through cpname). None after the
// failure's messages.
SymFontPtr load_font_file(const std::string& path, std::optional<std::string>& cpname);

// The .pal file at path; none after the failure's message (in --quiet's
// one-line form only when the failure is an error of the run).
PalTablePtr load_palette_file(const std::string& path, bool error = true);

// The picture at path, converted as bmp_load says (grey: grey mode is on);
// none after the failure's message, which continues the console's line.
std::optional<PictureFont> load_picture_file(const std::string& path, const RGBTRIPLET* palette,
                                             uint32_t n, bool grey);

// The messages of the failures, as printed.
std::string sym_failure_text(const Failure& failed, const std::string& path);
std::string cp_failure_text(const Failure& failed, const std::string& path);
std::string pal_failure_text(const Failure& failed, const std::string& path);
std::string picture_failure_text(const Failure& failed, bool grey, const std::string& path);
