#include "inspect/strings_command.h"

#include <string_view>
#include <utility>

#include "base/console.h"
#include "base/file_set.h"
#include "inspect/font_names.h"
#include "inspect/png_sheet.h"
#include "inspect/strings_check.h"
#include "inspect/strings_picture.h"
#include "inspect/strings_report.h"
#include "text/catalogue.h"

namespace tralk::inspector {

namespace {

CheckedFont checked_font(size_t block, const cli::Encoding* encoding,
                         const std::optional<std::vector<std::string>>& names) {
  CheckedFont font{block, std::nullopt, names ? (*names)[block] : std::string(), {}};
  std::vector<std::string> about;
  if (!font.name.empty()) about.push_back(font.name);
  if (encoding) {
    font.encoding = *encoding;
    if (encoding->kind == cli::EncodingKind::code_page) about.push_back(encoding->name());
  }
  font.label = "font block " + std::to_string(block);
  for (size_t i = 0; i < about.size(); ++i) font.label += (i ? ", " : " (") + about[i];
  if (!about.empty()) font.label += ")";
  return font;
}

// The fonts --strings checks: the --font ones, else every font with a
// codepage.
Outcome<std::vector<CheckedFont>> checked_fonts(
    const InspectResult& result, const InspectOptions& opts,
    const std::optional<std::vector<std::string>>& names) {
  std::vector<CheckedFont> fonts;
  if (opts.fonts.empty()) {
    for (size_t n = 0; n < result.fonts.size(); ++n)
      if (result.fonts[n].has_codepage)
        fonts.push_back(checked_font(n, opts.encoding ? &*opts.encoding : nullptr, names));
    if (fonts.empty())
      return Failure{Fault::unsupported,
                     "the image has no font with a codepage to check the strings against"};
    return fonts;
  }
  for (const FontChoice& choice : opts.fonts) {
    uint32_t block = 0;
    if (choice.number) {
      block = *choice.number;
    } else {
      const Outcome<uint32_t> found = find_font(choice.given, opts.image, names);
      if (!found.ok()) return found.failure();
      block = found.value();
    }
    if (block >= result.fonts.size()) return no_font_block(block, result.fonts.size());
    for (const CheckedFont& font : fonts)
      if (font.block == block)
        return Failure{Fault::usage, "--font names font block " + std::to_string(block) + " twice"};
    fonts.push_back(checked_font(block, font_encoding(choice, opts), names));
  }
  return fonts;
}

}  // namespace

const cli::Encoding* font_encoding(const FontChoice& choice, const InspectOptions& opts) {
  if (choice.encoding) return &*choice.encoding;
  return opts.encoding ? &*opts.encoding : nullptr;
}

TextSpacing text_spacing(const InspectOptions& opts) {
  return {opts.spacing.value_or(0), opts.line_height};
}

Outcome<bool> run_strings(const InspectResult& result, const InspectOptions& opts,
                          const std::optional<std::vector<std::string>>& names,
                          const ReadingOptions& reading) {
  std::vector<text::Catalogue> catalogues;
  for (const std::string& path : opts.strings) {
    Outcome<text::Catalogue> cat = text::read_catalogue(path);
    if (!cat.ok()) return cat.failure();
    catalogues.push_back(std::move(cat.value()));
  }
  const Outcome<std::vector<CheckedFont>> fonts = checked_fonts(result, opts, names);
  if (!fonts.ok()) return fonts.failure();
  const FitLimits limits{opts.max_width, opts.max_lines, text_spacing(opts)};
  const Outcome<StringsCheck> check = check_strings(result, catalogues, fonts.value(), limits);
  if (!check.ok()) return check.failure();
  const StringsReportInput in{opts.image, result, catalogues, fonts.value(), check.value()};

  std::vector<PendingFile> outputs;
  std::optional<StringsPicture> picture;
  if (!opts.png.empty()) {
    Outcome<StringsPicture> drawn = draw_strings_picture(
        result, catalogues, fonts.value(), check.value(), limits.spacing, opts.scale, reading);
    if (!drawn.ok()) return drawn.failure();
    const Outcome<std::vector<uint8_t>> png = png_encode(drawn->picture);
    if (!png.ok()) return png.failure();
    outputs.emplace_back(opts.png,
                         std::string_view(reinterpret_cast<const char*>(png->data()), png->size()));
    picture = std::move(drawn.value());
  }
  const bool json_out = opts.json == "-";
  if (!opts.json.empty() && !json_out) outputs.emplace_back(opts.json, strings_json(in));
  if (!outputs.empty())
    if (Status written = write_file_set(outputs); !written.ok()) return written.failure();

  if (json_out) {
    con_printf("%s", strings_json(in).c_str());
  } else if (opts.quiet) {
    con_printf("%s", strings_quiet_report(in).c_str());
  } else {
    con_printf("%s", strings_report(in).c_str());
    if (picture)
      con_printf("Strings picture \"%s\": %u x %u pixels, scale %u\n", opts.png.c_str(),
                 picture->picture.width, picture->picture.height, picture->scale);
  }
  return !check->findings.empty();
}

}  // namespace tralk::inspector
