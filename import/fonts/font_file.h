// A font file read whole into memory before FreeType sees it. FreeType
// would otherwise map the file, and a file that shrinks while it is read
// would kill the program with SIGBUS; from memory, what was read is what is
// imported. A console font (PSF1 or PSF2, gzipped or not), which FreeType
// has no reader for, is read here and handed on as the BDF font it is
// equivalent to.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "base/fileio.h"
#include "base/outcome.h"

namespace tralk::importer {

// What a console font holds, which its BDF form does not say: FreeType
// counts the characters of its Unicode table as glyphs.
struct ConsoleFontCounts {
  uint32_t glyphs = 0;
  bool has_table = false;
  size_t characters = 0;  // the table's characters, each once
  size_t sequences = 0;   // its character sequences, left out
};

struct FontFile {
  std::string path;
  FileBytes file;         // the bytes as read
  FileBytes unpacked;     // a gzipped file, unpacked
  std::string converted;  // a console font as BDF text
  std::string format;     // "PSF1", "PSF2"; empty: FreeType tells

  ConsoleFontCounts console;  // of a console font

  // The bytes FreeType reads.
  const uint8_t* data() const;
  size_t size() const;
  // The bytes as stored, unpacked where they were gzipped: what readers of
  // a font's own tables read.
  const uint8_t* plain_data() const;
  size_t plain_size() const;
};

// Reads the font file at path. A failure says that the file does not
// exist (Fault::not_found), cannot be read (with the system's reason), or
// is a console font that cannot be read (with the reason).
Outcome<std::shared_ptr<const FontFile>> read_font_file(const std::string& path);

}  // namespace tralk::importer
