// Fonts written by the tests, tralk-import run as a program, and its outputs
// read back through the generator's own readers and the inspector.
#pragma once

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <initializer_list>
#include <set>
#include <string>
#include <vector>

#include "base/console.h"
#include "driver/input_files.h"
#include "import/fonts/freetype_handles.h"
#include "inspect/image_reader.h"
#include "output/vmem.h"
#include "support/image_bytes.h"
#include "support/run_tralk.h"
#include "support/tempdir.h"

namespace import_test {

inline const char kDejaVuSans[] = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";

// A BDF font of 8-pixel strikes, ascent 6 and descent 2, in the charset
// registry and encoding given, holding the STARTCHAR ... ENDCHAR blocks of
// glyphs.
inline std::string bdf(const std::string& glyphs, const std::string& registry = "ISO10646",
                       const std::string& encoding = "1") {
  size_t count = 0;
  for (size_t at = 0; (at = glyphs.find("STARTCHAR", at)) != std::string::npos; ++at) ++count;
  return "STARTFONT 2.1\n"
         "FONT -test-tiny-medium-r-normal--8-80-75-75-c-50-" +
         registry + "-" + encoding +
         "\n"
         "SIZE 8 75 75\n"
         "FONTBOUNDINGBOX 8 10 -2 -2\n"
         "STARTPROPERTIES 7\n"
         "FAMILY_NAME \"Tiny\"\n"
         "WEIGHT_NAME \"Medium\"\n"
         "PIXEL_SIZE 8\n"
         "FONT_ASCENT 6\n"
         "FONT_DESCENT 2\n"
         "CHARSET_REGISTRY \"" +
         registry + "\"\nCHARSET_ENCODING \"" + encoding +
         "\"\n"
         "ENDPROPERTIES\n"
         "CHARS " +
         std::to_string(count) + "\n" + glyphs + "ENDFONT\n";
}

// Runs tralk-import in cwd with args passed through the shell as written;
// env is put before the command (variable assignments).
inline RunResult run_import(const std::filesystem::path& cwd, const std::string& args,
                            const std::string& env = "") {
  return run_command(cwd, env + " " + shell_quote(TRALK_IMPORT_EXE) + " " + args + " 2>&1");
}

// The names of the files in dir.
inline std::set<std::string> files_in(const std::filesystem::path& dir) {
  std::set<std::string> names;
  for (const auto& e : std::filesystem::directory_iterator(dir))
    names.insert(e.path().filename().string());
  return names;
}

// The FreeType version that the importer records.
inline std::string freetype_version() {
  const Outcome<tralk::importer::FtLibrary> library = tralk::importer::ft_open_library();
  return library.ok() ? tralk::importer::ft_version(library->get()) : "?";
}

// Reads sym_path back with the generator's .sym reader (its codepage
// included), builds an image of it with the generator's image writer and
// inspects that. Checks that nothing is refused and no problem found, and
// returns the font as the inspector read it.
inline tralk::inspector::FontRecord read_back(const std::string& sym_path) {
  con_capture_begin();
  std::optional<std::string> cpname;
  SymFontPtr font = load_font_file(sym_path, cpname);
  const std::string messages = con_capture_end();
  EXPECT_TRUE(font) << "the .sym reader refused " << sym_path << ":" << messages;
  if (!font) return {};
  const std::vector<uint8_t> image = image_of({font.get()});
  EXPECT_FALSE(image.empty());
  if (image.empty()) return {};
  const tralk::inspector::InspectResult r =
      tralk::inspector::inspect_image(image.data(), image.size());
  for (const tralk::inspector::Problem& p : r.problems)
    ADD_FAILURE() << sym_path << ": " << p.field << ": " << p.text;
  return r.fonts.empty() ? tralk::inspector::FontRecord{} : r.fonts[0];
}

// The bytes of values, each 0 to 255.
inline std::string bytes(std::initializer_list<int> values) {
  std::string s;
  for (int v : values) s += static_cast<char>(v);
  return s;
}

// Row by row, the pixel values of the first symbol of f.
inline std::vector<std::vector<uint32_t>> first_symbol_pixels(
    const tralk::inspector::FontRecord& f) {
  std::vector<std::vector<uint32_t>> rows(f.symheight, std::vector<uint32_t>(f.symwidth));
  for (uint32_t y = 0; y < f.symheight; ++y)
    for (uint32_t x = 0; x < f.symwidth; ++x) rows[y][x] = tralk::inspector::font_pixel(f, 0, x, y);
  return rows;
}

}  // namespace import_test
