#include "import/pictures/picture_command.h"

#include <string>
#include <vector>

#include "base/console.h"
#include "base/file_set.h"
#include "base/make_rule.h"
#include "base/text.h"
#include "cli/exit_status.h"
#include "import/pictures/bmp_write.h"
#include "import/pictures/colour_table.h"
#include "import/pictures/picture_options.h"
#include "import/pictures/picture_read.h"

namespace tralk::importer {

namespace {

// Prints the failure; its code gives the exit status.
int fail(const Failure& failure) {
  con_printf("tralk-import picture: %s\n", failure.text.c_str());
  return cli::import_exit_status(failure.code);
}

// "Wrote ..." with what the file holds.
std::string report(const PictureOptions& opts, const LoadedPicture& pic, uint32_t colours) {
  const PictureRequest& req = opts.request;
  std::string line = "Wrote " + in_quotes(opts.out) + ": " + std::to_string(pic.pixels.width) +
                     " x " + std::to_string(pic.pixels.height) + " pixels, " +
                     std::to_string(req.depth) + (req.depth == 1 ? " bit" : " bits");
  if (req.depth != 24)
    line += ", " + std::to_string(colours) + (colours == 1 ? " colour" : " colours");
  if (pic.flattened)
    line += ", transparency flattened onto " + hex_upper(colour_value(req.background), 6);
  return line;
}

int import(const PictureOptions& opts) {
  const PictureRequest& req = opts.request;
  const Outcome<LoadedPicture> pic = read_picture(req);
  if (!pic.ok()) return fail(pic.failure());
  ColourTable table;
  if (req.depth != 24) {
    table = colour_table(pic->pixels, req.depth, req.background);
    if (table.entries.empty())
      return fail(
          Failure{Fault::too_large, in_quotes(req.path) + " has " + std::to_string(table.colours) +
                                        " colours; --depth " + std::to_string(req.depth) +
                                        " holds at most " + std::to_string(1u << req.depth)});
  }
  std::vector<PendingFile> files = {{opts.out, bmp_encode(pic->pixels, req.depth, table.entries)}};
  if (opts.depfile) {
    Outcome<PendingFile> depfile = make_depfile(*opts.depfile, {opts.out}, {req.path});
    if (!depfile.ok()) return fail(depfile.failure());
    files.push_back(std::move(depfile.value()));
  }
  if (Status written = write_file_set(files); !written.ok()) return fail(written.failure());
  con_printf("%s\n", report(opts, pic.value(), table.colours).c_str());
  return cli::kImportDone;
}

}  // namespace

int run_picture_command(int argc, const char* const* argv) {
  const Outcome<PictureOptions> opts = parse_picture_options(argc, argv);
  if (!opts.ok()) return fail(opts.failure());
  if (opts->help) {
    con_printf("%s", picture_help().c_str());
    return cli::kImportDone;
  }
  return import(opts.value());
}

}  // namespace tralk::importer
