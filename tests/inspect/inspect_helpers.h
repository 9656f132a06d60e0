// Images built in memory with the generator's own image writer, the
// inspector run as a program, and PNG files read back, for the inspector's
// tests.
#pragma once

#include <gtest/gtest.h>
#include <png.h>

#include <array>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "base/rgb_picture.h"
#include "fonts/symfont.h"
#include "inspect/image_reader.h"
#include "inspect/png_sheet.h"
#include "output/vmem.h"
#include "support/image_bytes.h"
#include "support/run_tralk.h"

namespace inspect_test {

using namespace tralk::inspector;

using Range = std::array<uint16_t, 3>;

// A font whose symbols have the given widths and pixel bytes (symbytes
// each); numbits 0 gives b&w symbol headers.
inline SymFontPtr make_font(uint16_t numbits, uint16_t height, const std::vector<uint16_t>& widths,
                            const std::vector<std::vector<uint8_t>>& pixels,
                            const std::vector<Range>& ranges = {}, uint16_t defchar = 0) {
  auto font = std::make_unique<SYMFONT>();
  font->symheight = height;
  font->symbytes = static_cast<uint32_t>(pixels.at(0).size());
  font->numsym = static_cast<uint16_t>(widths.size());
  unsigned sum = 0;
  for (size_t i = 0; i < widths.size(); ++i) {
    std::vector<uint8_t> header(numbits ? kColourHeaderSize : kBwHeaderSize);
    if (numbits) {
      sym_set_header(header.data(), 1, numbits);
      sym_set_header(header.data(), 2, widths[i]);
      sym_set_header(header.data(), 3, height);
    } else {
      sym_set_header(header.data(), 0, widths[i]);
      sym_set_header(header.data(), 1, height);
    }
    font->symdata.insert(font->symdata.end(), header.begin(), header.end());
    font->symdata.insert(font->symdata.end(), pixels[i].begin(), pixels[i].end());
    sum += widths[i];
  }
  font->symwidth = static_cast<uint16_t>((2 * sum + widths.size()) / (2 * widths.size()));
  if (!ranges.empty()) {
    font->codepage = std::make_unique<CPTABLE>();
    font->codepage->numranges = static_cast<uint16_t>(ranges.size());
    font->codepage->defchar = defchar;
    for (const Range& r : ranges)
      font->codepage->ranges.insert(font->codepage->ranges.end(), r.begin(), r.end());
  }
  return font;
}

// The image of the fonts, in order, as the generator writes it.
inline std::vector<uint8_t> build_image(const std::vector<const SYMFONT*>& fonts) {
  return image_of(fonts);
}

inline InspectResult inspect(const std::vector<uint8_t>& image) {
  return inspect_image(image.data(), image.size());
}

// Runs the inspector in cwd; args pass through the shell as written.
inline RunResult run_inspect_exe(const std::filesystem::path& cwd, const std::string& args) {
  return run_command(cwd, shell_quote(TRALK_INSPECT_EXE) + " " + args + " 2>&1");
}

// Decodes a PNG file or buffer into 8-bit RGB; an empty image on failure
// (with the reason added to the test's failures).
inline RgbPicture decode_png(const void* data, size_t size) {
  png_image png{};
  png.version = PNG_IMAGE_VERSION;
  RgbPicture img;
  if (!png_image_begin_read_from_memory(&png, data, size)) {
    ADD_FAILURE() << "not a PNG: " << png.message;
    return img;
  }
  png.format = PNG_FORMAT_RGB;
  img.width = png.width;
  img.height = png.height;
  img.rgb.resize(PNG_IMAGE_SIZE(png));
  if (!png_image_finish_read(&png, nullptr, img.rgb.data(), 0, nullptr)) {
    ADD_FAILURE() << "PNG does not decode: " << png.message;
    png_image_free(&png);
    return RgbPicture{};
  }
  return img;
}

}  // namespace inspect_test
