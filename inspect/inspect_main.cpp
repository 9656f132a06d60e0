#include "inspect/inspect_main.h"

#include <optional>
#include <string>
#include <vector>

#include "base/console.h"
#include "base/file_set.h"
#include "base/fileio.h"
#include "base/outcome.h"
#include "base/text.h"
#include "cli/utf8.h"
#include "fonts/pal_load.h"
#include "inspect/font_names.h"
#include "inspect/image_reader.h"
#include "inspect/options.h"
#include "inspect/png_sheet.h"
#include "inspect/render_text.h"
#include "inspect/strings_check.h"
#include "inspect/strings_picture.h"
#include "inspect/strings_report.h"
#include "inspect/text_picture.h"
#include "text/catalogue.h"

namespace tralk::inspector {

namespace {

// Prints the failure; a bad command line gets a pointer to the help.
int fail(const Failure& failure) {
  con_printf("tralk-inspect: %s\n", failure.text.c_str());
  if (failure.code == Fault::usage) con_printf("Try \"tralk-inspect --help\".\n");
  return kInspectFailed;
}

// The palette file's colours; none when the palette reader refused it (its
// messages printed).
std::optional<std::vector<RGBTRIPLET>> load_palette(const std::string& path) {
  PalTablePtr pal = pal_load(path.c_str(), nullptr, nullptr);
  if (!pal) {
    con_printf("\n");
    return std::nullopt;
  }
  return pal->entries;
}

Status write_sheet(const InspectResult& result, const InspectOptions& opts,
                   const std::optional<std::vector<std::string>>& names,
                   const ReadingOptions& reading) {
  const Outcome<SheetLayout> layout =
      sheet_layout(result, opts.font, opts.scale, names ? &*names : nullptr);
  if (!layout.ok()) return layout.failure();
  if (Status written = png_write(draw_sheet(result, layout.value(), reading), opts.png);
      !written.ok())
    return written;
  con_printf("\nContact sheet \"%s\": %u x %u pixels, scale %u\n", opts.png.c_str(), layout->width,
             layout->height, layout->scale);
  return {};
}

// The encoding of the codes of a --font: its own, else --encoding.
const cli::Encoding* font_encoding(const FontChoice& choice, const InspectOptions& opts) {
  if (choice.encoding) return &*choice.encoding;
  return opts.encoding ? &*opts.encoding : nullptr;
}

TextSpacing text_spacing(const InspectOptions& opts) {
  return {opts.spacing.value_or(0), opts.line_height};
}

Status write_text(const InspectResult& result, const InspectOptions& opts,
                  const ReadingOptions& reading) {
  const FontRecord& font = result.fonts[*opts.font];
  if (!font.has_codepage)
    return Failure{Fault::unsupported, "font block " + std::to_string(*opts.font) +
                                           " has no codepage to find the symbols of --text in"};
  const std::optional<std::vector<char32_t>> chars = cli::utf8_decode(*opts.text);
  if (!chars) return Failure{Fault::format, "--text is not UTF-8 text"};
  const TextSymbols text =
      text_symbols(font, font_codes(std::u32string(chars->begin(), chars->end()),
                                    font_encoding(opts.fonts.front(), opts)));
  if (opts.png.empty()) {
    if (!font.drawable)
      return Failure{Fault::unsupported, "the font's symbols cannot be drawn (see the problems)"};
    con_printf("\n%s", render_symbol_lines(font, text.lines, reading, text_spacing(opts)).c_str());
    con_printf("%zu character%s, %zu through the default character", text.characters,
               text.characters == 1 ? "" : "s", text.defaulted);
    if (text.dropped)
      con_printf(", %zu not drawn (no symbol for the default character)", text.dropped);
    con_printf("\n");
    return {};
  }
  const Outcome<TextPicture> drawn =
      draw_text(font, text, opts.scale, reading, false, text_spacing(opts));
  if (!drawn.ok()) return drawn.failure();
  if (Status written = png_write(drawn->picture, opts.png); !written.ok()) return written;
  con_printf(
      "\nText picture \"%s\": %u x %u pixels, scale %u; %zu character%s, %zu through the "
      "default character",
      opts.png.c_str(), drawn->picture.width, drawn->picture.height, drawn->scale, text.characters,
      text.characters == 1 ? "" : "s", text.defaulted);
  if (text.dropped)
    con_printf(", %zu not drawn (no symbol for the default character)", text.dropped);
  con_printf("\n");
  return {};
}

// The fonts' names from the C source beside the image, when it matches.
std::optional<std::vector<std::string>> names_beside(const std::string& image,
                                                     const InspectResult& result) {
  const Outcome<FileBytes> source = read_whole_file(source_beside(image));
  if (!source.ok()) return std::nullopt;
  return font_names(std::string(reinterpret_cast<const char*>(source->data()), source->size),
                    result);
}

// --font NAME as a block number.
Outcome<uint32_t> find_font(const std::string& name, const std::string& image,
                            const std::optional<std::vector<std::string>>& names) {
  const std::string source = in_quotes(source_beside(image));
  if (!names)
    return Failure{Fault::not_found, "font names need " + source +
                                         ", the C source tralk wrote with the image, beside it"};
  for (size_t n = 0; n < names->size(); ++n)
    if ((*names)[n] == name) return static_cast<uint32_t>(n);
  return Failure{Fault::not_found, "there is no font named " + in_quotes(name) + " in " + source};
}

Failure no_block(uint32_t n, size_t count) {
  return Failure{Fault::not_found, "there is no font block " + std::to_string(n) +
                                       "; the image has " + std::to_string(count) +
                                       " (numbered from 0)"};
}

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
    if (block >= result.fonts.size()) return no_block(block, result.fonts.size());
    for (const CheckedFont& font : fonts)
      if (font.block == block)
        return Failure{Fault::usage, "--font names font block " + std::to_string(block) + " twice"};
    fonts.push_back(checked_font(block, font_encoding(choice, opts), names));
  }
  return fonts;
}

// Checks the --strings files, prints what was found and writes the picture
// and the JSON; the failure, or whether anything was found.
Outcome<bool> write_strings(const InspectResult& result, const InspectOptions& opts,
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

}  // namespace

int run_inspect(int argc, const char* const* argv) {
  const Outcome<InspectOptions> parsed = parse_options(argc, argv);
  if (!parsed.ok()) return fail(parsed.failure());
  InspectOptions opts = parsed.value();
  if (opts.help) {
    con_printf("%s", inspect_help().c_str());
    return kInspectSound;
  }

  std::optional<std::vector<RGBTRIPLET>> palette;
  ReadingOptions reading;
  reading.grey = opts.grey;
  if (!opts.pal.empty()) {
    palette = load_palette(opts.pal);
    if (!palette) return fail(Failure{Fault::format, "cannot use palette " + in_quotes(opts.pal)});
    reading.palette = &*palette;
  }

  const Outcome<FileBytes> bytes = read_whole_file(opts.image);
  if (!bytes.ok())
    return fail(
        Failure{bytes.code(), "cannot read " + in_quotes(opts.image) + ": " + bytes.error()});
  const InspectResult result = inspect_image(bytes->data(), bytes->size);
  const std::optional<std::vector<std::string>> names = names_beside(opts.image, result);
  if (!opts.font_name.empty()) {
    const Outcome<uint32_t> found = find_font(opts.font_name, opts.image, names);
    if (!found.ok()) return fail(found.failure());
    opts.font = found.value();
  }

  const size_t count = result.fonts.size();
  for (const auto& n : {opts.show, opts.font})
    if (n && *n >= count) return fail(no_block(*n, count));

  // --quiet and --json - print the findings alone.
  const bool report = !opts.quiet && opts.json != "-";
  if (report && opts.show)
    con_printf("%s", render_font_text(result, *opts.show, reading).c_str());
  else if (report)
    con_printf("%s", format_table(result, opts.image, names ? &*names : nullptr).c_str());
  bool missing = false;
  Status written;
  if (!opts.strings.empty()) {
    const Outcome<bool> checked = write_strings(result, opts, names, reading);
    if (checked.ok())
      missing = checked.value();
    else
      written = checked.failure();
  } else if (opts.text) {
    written = write_text(result, opts, reading);
  } else if (!opts.png.empty()) {
    written = write_sheet(result, opts, names, reading);
  }
  if (report) con_printf("%s", format_problems(result).c_str());
  if (!written.ok()) return fail(written.failure());
  return result.problems.empty() && !missing ? kInspectSound : kInspectProblems;
}

}  // namespace tralk::inspector
