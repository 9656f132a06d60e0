#include "import/fonts/font_file.h"

#include <filesystem>
#include <set>
#include <utility>

#include "base/text.h"
#include "cli/arg_reader.h"
#include "import/fonts/gzip_bytes.h"
#include "import/fonts/psf_font.h"

namespace tralk::importer {

namespace {

// "Lat2-Terminus16" for "/x/Lat2-Terminus16.psf.gz".
std::string font_stem(const std::string& path) {
  std::string name = std::filesystem::path(path).filename().string();
  for (const char* ext : {".gz", ".psfu", ".psf"})
    if (cli::ends_with_ignoring_case(name, ext)) name.resize(name.size() - std::string(ext).size());
  return name.empty() ? "PSF" : name;
}

Status read_console_font(FontFile& font, const uint8_t* data, size_t size) {
  const Outcome<PsfFont> psf = read_psf(data, size);
  if (!psf.ok())
    return Failure{psf.code(),
                   "cannot read console font " + in_quotes(font.path) + ": " + psf.error()};
  font.format = psf->version == 1 ? "PSF1" : "PSF2";
  std::set<char32_t> characters;
  for (const PsfChar& pc : psf->chars) characters.insert(pc.c);
  font.console = {psf->glyphs, psf->has_table, characters.size(), psf->sequences};
  font.converted = psf_as_bdf(psf.value(), font_stem(font.path));
  return {};
}

// A gzipped file (.pcf.gz, .psf.gz) is unpacked here, in one pass: FreeType
// would unpack it again on every backward seek of its reader.
Status look_inside(FontFile& font) {
  const uint8_t* data = font.file.data();
  size_t size = font.file.size;
  if (is_gzip(data, size)) {
    Outcome<FileBytes> unpacked = gunzip(data, size);
    if (!unpacked.ok())
      return Failure{unpacked.code(),
                     "cannot unpack font " + in_quotes(font.path) + ": " + unpacked.error()};
    font.unpacked = std::move(unpacked.value());
    data = font.unpacked.data();
    size = font.unpacked.size;
  }
  if (is_psf(data, size)) return read_console_font(font, data, size);
  return {};
}

}  // namespace

const uint8_t* FontFile::data() const {
  return converted.empty() ? plain_data() : reinterpret_cast<const uint8_t*>(converted.data());
}

size_t FontFile::size() const {
  return converted.empty() ? plain_size() : converted.size();
}

const uint8_t* FontFile::plain_data() const {
  return unpacked.block.data() ? unpacked.data() : file.data();
}

size_t FontFile::plain_size() const {
  return unpacked.block.data() ? unpacked.size : file.size;
}

Outcome<std::shared_ptr<const FontFile>> read_font_file(const std::string& path) {
  Outcome<FileBytes> bytes = read_whole_file(path);
  if (!bytes.ok()) {
    if (bytes.code() == Fault::not_found)
      return Failure{Fault::not_found, "font " + in_quotes(path) + " does not exist"};
    return Failure{bytes.code(), "cannot read font " + in_quotes(path) + ": " + bytes.error()};
  }
  auto font = std::make_shared<FontFile>();
  font->path = path;
  font->file = std::move(bytes.value());
  if (Status looked = look_inside(*font); !looked.ok()) return looked.failure();
  return std::shared_ptr<const FontFile>(std::move(font));
}

}  // namespace tralk::importer
