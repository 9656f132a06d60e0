#include "import/pictures/picture_command.h"

#include <string>

#include "base/console.h"
#include "base/text.h"
#include "cli/exit_status.h"
#include "import/pictures/colour_table.h"
#include "import/pictures/picture_import.h"
#include "import/pictures/picture_options.h"

namespace tralk::importer {

namespace {

const char* dither_name(Dither d) {
  return d == Dither::none      ? "no dithering"
         : d == Dither::ordered ? "ordered dithering"
                                : "Floyd-Steinberg dithering";
}

// What a picture of grey levels holds.
std::string grey_report(const GreyReduction& grey) {
  std::string line = grey.levels == 2 ? "b&w at threshold " + std::to_string(grey.threshold)
                                      : std::to_string(grey.levels) + " grey levels for GREYMODE " +
                                            std::to_string(grey.levels);
  line += std::string(", ") + dither_name(grey.dither);
  if (grey.invert) line += ", inverted";
  return line;
}

// What a picture written in a given palette holds.
std::string palette_report(const PictureOptions& opts, const ImportedPicture& pic) {
  std::string line = "the " + std::to_string(pic.colours) +
                     (pic.colours == 1 ? " colour of " : " colours of ") + in_quotes(opts.palette);
  if (opts.palette_dither != Dither::none)
    line += std::string(", ") + dither_name(opts.palette_dither);
  if (pic.moved)
    line += ", " + std::to_string(pic.moved) + (pic.moved == 1 ? " pixel" : " pixels") +
            " written in another colour";
  return line;
}

// "Wrote ..." with what the files hold.
std::string report(const PictureOptions& opts, const ImportedPicture& pic) {
  const PictureRequest& req = opts.request;
  std::string line = "Wrote " + in_quotes(opts.out) + ": " + std::to_string(pic.width) + " x " +
                     std::to_string(pic.height) + " pixels, " + std::to_string(pic.bits) +
                     (pic.bits == 1 ? " bit" : " bits");
  if (opts.grey)
    line += ", " + grey_report(*opts.grey);
  else if (!opts.palette.empty())
    line += ", " + palette_report(opts, pic);
  else if (req.depth != 24)
    line += ", " + std::to_string(pic.colours) + (pic.colours == 1 ? " colour" : " colours");
  if (pic.flattened)
    line += ", transparency flattened onto " + hex_upper(colour_value(req.background), 6);
  if (!opts.pal.empty())
    line += "\nWrote " + in_quotes(opts.pal) + ": " + std::to_string(pic.table.size()) +
            " colours, the palette in which tralk's palette mode keeps every pixel of " +
            in_quotes(opts.out);
  return line;
}

}  // namespace

int run_picture_command(int argc, const char* const* argv) {
  const Outcome<PictureOptions> opts = parse_picture_options(argc, argv);
  if (!opts.ok()) return cli::report_import_failure("picture", opts.failure());
  if (opts->help) {
    con_printf("%s", picture_help().c_str());
    return cli::kImportDone;
  }
  const Outcome<ImportedPicture> pic = import_picture(opts.value());
  if (!pic.ok()) return cli::report_import_failure("picture", pic.failure());
  if (!opts->quiet) con_printf("%s\n", report(opts.value(), pic.value()).c_str());
  return cli::kImportDone;
}

}  // namespace tralk::importer
