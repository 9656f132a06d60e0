#include "inspect/inspect_main.h"

#include <optional>
#include <string>
#include <vector>

#include "base/console.h"
#include "base/fileio.h"
#include "base/outcome.h"
#include "base/text.h"
#include "cli/option_table.h"
#include "cli/utf8.h"
#include "fonts/pal_load.h"
#include "inspect/dump_image.h"
#include "inspect/font_names.h"
#include "inspect/image_reader.h"
#include "inspect/options.h"
#include "inspect/png_sheet.h"
#include "inspect/render_text.h"
#include "inspect/strings_command.h"
#include "inspect/text_picture.h"

namespace tralk::inspector {

namespace {

// Prints the failure; a bad command line gets a pointer to the help.
int fail(const Failure& failure) {
  con_printf("tralk-inspect: %s\n", failure.text.c_str());
  if (failure.code == Fault::usage) con_printf("Try \"tralk-inspect --help\".\n");
  return kInspectFailed;
}

// The palette file's colours; none when it cannot be read, after the words
// tralk has for it.
std::optional<std::vector<RGBTRIPLET>> load_palette(const std::string& path) {
  const std::optional<FileBytes> bytes = read_input_file(path);
  Outcome<PALTABLE> pal = bytes ? pal_load(TextBytes(bytes->data(), bytes->size))
                                : Outcome<PALTABLE>(Failure{Fault::io, ""});
  if (!pal.ok()) {
    const char* word = pal.code() == Fault::io          ? "Open error"
                       : pal.code() == Fault::too_large ? "Heap error"
                                                        : "Syntax error";
    con_printf("\n %s in pal file \"%s\"\n", word, path.c_str());
    return std::nullopt;
  }
  return std::move(pal->entries);
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

}  // namespace

int run_inspect(int argc, const char* const* argv) {
  const Outcome<InspectOptions> parsed = parse_options(argc, argv);
  if (!parsed.ok()) return fail(parsed.failure());
  InspectOptions opts = parsed.value();
  if (opts.help) {
    con_printf("%s", inspect_help().c_str());
    return kInspectSound;
  }
  if (opts.version) {
    con_printf("%s", cli::version_line("tralk-inspect").c_str());
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
  const Outcome<DumpImage> dump = read_dump(opts, bytes->data(), bytes->size);
  if (!dump.ok()) return fail(dump.failure());
  InspectResult result = inspect_image(bytes->data() + dump->start, dump->size);
  result.problems.insert(result.problems.end(), dump->problems.begin(), dump->problems.end());
  const std::optional<std::vector<std::string>> names =
      names_beside(opts.compare.value_or(opts.image), result);
  if (!opts.font_name.empty()) {
    const Outcome<uint32_t> found = find_font(opts.font_name, opts.image, names);
    if (!found.ok()) return fail(found.failure());
    opts.font = found.value();
  }

  const size_t count = result.fonts.size();
  for (const auto& n : {opts.show, opts.font})
    if (n && *n >= count) return fail(no_font_block(*n, count));

  // --quiet and --json - print the findings alone.
  const bool report = !opts.quiet && opts.json != "-";
  if (report) con_printf("%s", dump->head.c_str());
  if (report && opts.show)
    con_printf("%s", render_font_text(result, *opts.show, reading).c_str());
  else if (report)
    con_printf("%s", format_table(result, opts.image, names ? &*names : nullptr).c_str());
  bool missing = false;
  Status written;
  if (!opts.strings.empty()) {
    const Outcome<bool> checked = run_strings(result, opts, names, reading);
    if (checked.ok())
      missing = checked.value();
    else
      written = checked.failure();
  } else if (opts.text) {
    written = write_text(result, opts, reading);
  } else if (!opts.png.empty()) {
    written = write_sheet(result, opts, names, reading);
  }
  if (report) con_printf("%s", dump->checks.c_str());
  const char* but = missing                 ? "not every string passes the check"
                    : dump->compare_differs ? "it is not the image compared"
                                            : nullptr;
  if (report) con_printf("%s", format_problems(result, but).c_str());
  if (!written.ok()) return fail(written.failure());
  return result.problems.empty() && !missing && !dump->compare_differs ? kInspectSound
                                                                       : kInspectProblems;
}

}  // namespace tralk::inspector
