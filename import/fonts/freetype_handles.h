// FreeType's library and face objects as owned handles, the library set up
// so that nothing outside this program (FREETYPE_PROPERTIES in the
// environment, a build's defaults) changes how glyphs come out, and
// FreeType's error codes as words.
#pragma once

#include <ft2build.h>
#include FT_FREETYPE_H

#include <memory>
#include <string>

#include "base/outcome.h"
#include "import/fonts/font_file.h"

namespace tralk::importer {

struct FtLibraryDone {
  void operator()(FT_Library library) const { FT_Done_FreeType(library); }
};
using FtLibrary = std::unique_ptr<FT_LibraryRec_, FtLibraryDone>;

struct FtFaceDone {
  void operator()(FT_Face face) const { FT_Done_Face(face); }
};

// A face read from a font file's bytes in memory, which it keeps for as
// long as FreeType may read them (the face is done before the bytes go).
class FtFace {
 public:
  FtFace() = default;
  FtFace(std::shared_ptr<const FontFile> file, FT_Face face)
      : file_(std::move(file)), face_(face) {}
  FT_Face get() const { return face_.get(); }
  FT_Face operator->() const { return face_.get(); }
  const FontFile& file() const { return *file_; }

 private:
  std::shared_ptr<const FontFile> file_;
  std::unique_ptr<FT_FaceRec_, FtFaceDone> face_;
};

// A new library with every module property that FREETYPE_PROPERTIES can set
// set explicitly; a failure, with the reason, when that cannot be done.
Outcome<FtLibrary> ft_open_library();

// Face index of a font file read into memory; a failure with FreeType's
// reason.
Outcome<FtFace> ft_open_face(FT_Library library, std::shared_ptr<const FontFile> file, long index);

// FreeType's words for an error code ("cannot open resource").
std::string ft_error_text(FT_Error error);

// What a FreeType error code means for this program: a file that cannot be
// opened, a format it does not know, memory that ran out, or a damaged font.
Fault ft_fault(FT_Error error);

// The failure of FreeType error code error, its words after context.
Failure ft_failure(FT_Error error, const std::string& context);

// "2.12.1".
std::string ft_version(FT_Library library);

}  // namespace tralk::importer
