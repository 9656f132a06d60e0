#include "inspect/inspect_main.h"

#include <optional>
#include <string>
#include <vector>

#include "base/console.h"
#include "cli/utf8.h"
#include "fonts/pal_load.h"
#include "inspect/image_reader.h"
#include "inspect/options.h"
#include "inspect/png_sheet.h"
#include "inspect/render_text.h"
#include "inspect/text_picture.h"

namespace {

int fail(const std::string& message) {
  con_printf("tralk-inspect: %s\n", message.c_str());
  return kInspectFailed;
}

int usage_error(const std::string& message) {
  con_printf("tralk-inspect: %s\nTry \"tralk-inspect --help\".\n", message.c_str());
  return kInspectFailed;
}

bool load_palette(const std::string& path, std::vector<RGBTRIPLET>& out) {
  PalTablePtr pal = pal_load(path.c_str(), nullptr, nullptr);
  if (!pal) {
    con_printf("\n");
    return false;
  }
  out = pal->entries;
  return true;
}

bool write_sheet(const InspectResult& result, const InspectOptions& opts,
                 const ReadingOptions& reading, std::string& error) {
  SheetLayout layout;
  if (!sheet_layout(result, opts.font, opts.scale, layout, error)) return false;
  if (!png_write(draw_sheet(result, layout, reading), opts.png, error)) return false;
  con_printf("\nContact sheet \"%s\": %u x %u pixels, scale %u\n", opts.png.c_str(), layout.width,
             layout.height, layout.scale);
  return true;
}

// The codes of the --text characters; a character the code page lacks
// becomes a code no codepage holds.
std::vector<uint32_t> text_codes(const std::vector<char32_t>& chars,
                                 const std::optional<Encoding>& encoding) {
  constexpr uint32_t kNoCode = 0x10000;
  std::vector<uint32_t> codes;
  for (const char32_t c : chars) {
    if (!encoding || encoding->kind != EncodingKind::code_page || c == '\n') {
      codes.push_back(c);
    } else {
      const std::optional<uint8_t> b = encoding->code_page->from_unicode(c);
      codes.push_back(b ? *b : kNoCode);
    }
  }
  return codes;
}

bool write_text(const InspectResult& result, const InspectOptions& opts,
                const ReadingOptions& reading, std::string& error) {
  const FontRecord& font = result.fonts[*opts.font];
  if (!font.has_codepage) {
    error = "font block " + std::to_string(*opts.font) +
            " has no codepage to find the symbols of " + "--text in";
    return false;
  }
  const std::optional<std::vector<char32_t>> chars = utf8_decode(*opts.text);
  if (!chars) {
    error = "--text is not UTF-8 text";
    return false;
  }
  const TextSymbols text = text_symbols(font, text_codes(*chars, opts.encoding));
  RgbImage picture;
  uint32_t scale = 0;
  if (!draw_text(font, text, opts.scale, reading, picture, scale, error) ||
      !png_write(picture, opts.png, error))
    return false;
  con_printf(
      "\nText picture \"%s\": %u x %u pixels, scale %u; %zu character%s, %zu through the "
      "default character",
      opts.png.c_str(), picture.width, picture.height, scale, text.characters,
      text.characters == 1 ? "" : "s", text.defaulted);
  if (text.dropped)
    con_printf(", %zu not drawn (no symbol for the default character)", text.dropped);
  con_printf("\n");
  return true;
}

}  // namespace

int run_inspect(int argc, const char* const* argv) {
  InspectOptions opts;
  std::string error;
  if (!parse_options(argc, argv, opts, error)) return usage_error(error);
  if (opts.help) {
    con_printf("%s", inspect_help());
    return kInspectSound;
  }

  std::vector<RGBTRIPLET> palette;
  ReadingOptions reading;
  reading.grey = opts.grey;
  if (!opts.pal.empty()) {
    if (!load_palette(opts.pal, palette)) return fail("cannot use palette \"" + opts.pal + "\"");
    reading.palette = &palette;
  }

  std::vector<uint8_t> bytes;
  if (!read_image_file(opts.image, bytes, error))
    return fail("cannot read \"" + opts.image + "\": " + error);
  const InspectResult result = inspect_image(bytes.data(), bytes.size());

  const size_t count = result.fonts.size();
  for (const auto& n : {opts.show, opts.font})
    if (n && *n >= count)
      return fail("there is no font block " + std::to_string(*n) + "; the image has " +
                  std::to_string(count) + " (numbered from 0)");

  if (opts.show)
    con_printf("%s", render_font_text(result, *opts.show, reading).c_str());
  else
    con_printf("%s", format_table(result, opts.image).c_str());
  const bool written = opts.text ? write_text(result, opts, reading, error)
                                 : opts.png.empty() || write_sheet(result, opts, reading, error);
  if (!written) {
    con_printf("%s", format_problems(result).c_str());
    return fail(error);
  }
  con_printf("%s", format_problems(result).c_str());
  return result.problems.empty() ? kInspectSound : kInspectProblems;
}
