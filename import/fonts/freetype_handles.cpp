#include "import/fonts/freetype_handles.h"

#include FT_DRIVER_H
#include FT_MODULE_H

#include <array>
#include <utility>

namespace tralk::importer {

namespace {

// Properties that FreeType reads from FREETYPE_PROPERTIES when a library is
// made; each is set back to FreeType's documented default. A module or
// property that a build lacks cannot be set from the environment either, so
// it is skipped.
struct UIntProperty {
  const char* module;
  const char* name;
  FT_UInt value;
};

constexpr FT_UInt kYes = 1;
constexpr FT_UInt kNo = 0;

const UIntProperty kUIntProperties[] = {
    {"cff", "hinting-engine", FT_HINTING_ADOBE},   {"type1", "hinting-engine", FT_HINTING_ADOBE},
    {"t1cid", "hinting-engine", FT_HINTING_ADOBE}, {"cff", "no-stem-darkening", kYes},
    {"type1", "no-stem-darkening", kYes},          {"t1cid", "no-stem-darkening", kYes},
    {"autofitter", "no-stem-darkening", kYes},     {"pcf", "no-long-family-names", kNo},
};

// The stem darkening curve, used only where darkening is switched on; set
// anyway so that no leftover value can matter.
constexpr std::array<FT_Int, 8> kDarkening = {500, 400, 1000, 275, 1667, 275, 2333, 0};
const char* const kDarkeningModules[] = {"cff", "type1", "t1cid", "autofitter"};
// A random seed of 0 means the font's own seed.
const char* const kRandomSeedModules[] = {"cff", "type1", "t1cid"};

Status set_property(FT_Library library, const char* module, const char* name, const void* value) {
  const FT_Error e = FT_Property_Set(library, module, name, value);
  if (e == FT_Err_Ok || e == FT_Err_Missing_Module || e == FT_Err_Missing_Property) return {};
  return ft_failure(e, std::string("cannot set FreeType property ") + module + ":" + name + ": ");
}

// The TrueType interpreter: version 40, the current default, or version 35
// in a build without it.
Status set_interpreter(FT_Library library) {
  FT_UInt version = TT_INTERPRETER_VERSION_40;
  if (FT_Property_Set(library, "truetype", "interpreter-version", &version) == FT_Err_Ok) return {};
  version = TT_INTERPRETER_VERSION_35;
  return set_property(library, "truetype", "interpreter-version", &version);
}

Status set_properties(FT_Library library) {
  for (const UIntProperty& p : kUIntProperties)
    if (Status set = set_property(library, p.module, p.name, &p.value); !set.ok()) return set;
  for (const char* module : kDarkeningModules)
    if (Status set = set_property(library, module, "darkening-parameters", kDarkening.data());
        !set.ok())
      return set;
  const FT_Int32 seed = 0;
  for (const char* module : kRandomSeedModules)
    if (Status set = set_property(library, module, "random-seed", &seed); !set.ok()) return set;
  return set_interpreter(library);
}

// FreeType's own error texts, taken from its error list as fterrors.h shows.
struct ErrorText {
  int code;
  const char* text;
};
#undef FTERRORS_H_
#define FT_ERRORDEF(e, v, s) {e, s},
#define FT_ERROR_START_LIST const ErrorText kErrorTexts[] = {
#define FT_ERROR_END_LIST \
  { 0, nullptr }          \
  }                       \
  ;
#include FT_ERRORS_H

}  // namespace

Outcome<FtLibrary> ft_open_library() {
  FT_Library raw = nullptr;
  const FT_Error e = FT_Init_FreeType(&raw);
  if (e != FT_Err_Ok) return ft_failure(e, "cannot start FreeType: ");
  FtLibrary library(raw);
  if (Status set = set_properties(library.get()); !set.ok()) return set.failure();
  return library;
}

Outcome<FtFace> ft_open_face(FT_Library library, std::shared_ptr<const FontFile> file, long index) {
  FT_Face raw = nullptr;
  const FT_Error e =
      FT_New_Memory_Face(library, file->data(), static_cast<FT_Long>(file->size()), index, &raw);
  // A reader that tries bytes in memory past their end stops the search
  // for one that takes them with this error, where a file's reader says
  // that it does not know the format: the bytes are no font it knows.
  if (FT_ERROR_BASE(e) == FT_Err_Invalid_Stream_Operation)
    return ft_failure(FT_Err_Unknown_File_Format, "");
  if (e != FT_Err_Ok) return ft_failure(e, "");
  return FtFace(std::move(file), raw);
}

std::string ft_error_text(FT_Error error) {
  for (const ErrorText* t = kErrorTexts; t->text; ++t)
    if (t->code == FT_ERROR_BASE(error)) return t->text;
  return "FreeType error " + std::to_string(error);
}

Fault ft_fault(FT_Error error) {
  switch (FT_ERROR_BASE(error)) {
    case FT_Err_Cannot_Open_Resource:
    case FT_Err_Cannot_Open_Stream:
      return Fault::io;
    case FT_Err_Unknown_File_Format:
      return Fault::unsupported;
    case FT_Err_Out_Of_Memory:
      return Fault::too_large;
    default:
      return Fault::format;
  }
}

Failure ft_failure(FT_Error error, const std::string& context) {
  return Failure{ft_fault(error), context + ft_error_text(error)};
}

std::string ft_version(FT_Library library) {
  FT_Int major = 0, minor = 0, patch = 0;
  FT_Library_Version(library, &major, &minor, &patch);
  return std::to_string(major) + "." + std::to_string(minor) + "." + std::to_string(patch);
}

}  // namespace tralk::importer
