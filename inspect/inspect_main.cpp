#include "inspect/inspect_main.h"

#include <string>
#include <vector>

#include "driver/console.h"
#include "fonts/pal_load.h"
#include "inspect/image_reader.h"
#include "inspect/options.h"
#include "inspect/png_sheet.h"
#include "inspect/render_text.h"

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
  if (!opts.png.empty() && !write_sheet(result, opts, reading, error)) {
    con_printf("%s", format_problems(result).c_str());
    return fail(error);
  }
  con_printf("%s", format_problems(result).c_str());
  return result.problems.empty() ? kInspectSound : kInspectProblems;
}
