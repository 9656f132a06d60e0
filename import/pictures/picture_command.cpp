#include "import/pictures/picture_command.h"

#include <cstdio>
#include <string>
#include <vector>

#include "base/console.h"
#include "base/file_set.h"
#include "cli/exit_status.h"
#include "import/pictures/bmp_write.h"
#include "import/pictures/colour_table.h"
#include "import/pictures/picture_options.h"
#include "import/pictures/picture_read.h"

namespace {

int fail(int status, const std::string& message) {
  con_printf("tralk-import picture: %s\n", message.c_str());
  return status;
}

std::string hex(RGBTRIPLET c) {
  char text[8];
  std::snprintf(text, sizeof text, "%02X%02X%02X", c.r, c.g, c.b);
  return text;
}

// "Wrote ..." with what the file holds.
std::string report(const PictureOptions& opts, const RgbPicture& pic, uint32_t colours) {
  const PictureRequest& req = opts.request;
  std::string line = "Wrote \"" + opts.out + "\": " + std::to_string(pic.width) + " x " +
                     std::to_string(pic.height) + " pixels, " + std::to_string(req.depth) +
                     (req.depth == 1 ? " bit" : " bits");
  if (req.depth != 24)
    line += ", " + std::to_string(colours) + (colours == 1 ? " colour" : " colours");
  if (pic.flattened) line += ", transparency flattened onto " + hex(req.background);
  return line;
}

int import(const PictureOptions& opts) {
  const PictureRequest& req = opts.request;
  RgbPicture pic;
  std::string error;
  if (!read_picture(req, pic, error)) return fail(kImportFailed, error);
  std::vector<RGBTRIPLET> table;
  uint32_t colours = 0;
  if (req.depth != 24 && !colour_table(pic, req.depth, req.background, table, colours))
    return fail(kImportFailed, quoted(req.path) + " has " + std::to_string(colours) +
                                   " colours; --depth " + std::to_string(req.depth) +
                                   " holds at most " + std::to_string(1u << req.depth));
  if (Status written = write_file_set({{opts.out, bmp_encode(pic, req.depth, table)}});
      !written.ok())
    return fail(kImportFailed, written.error());
  con_printf("%s\n", report(opts, pic, colours).c_str());
  return kImportDone;
}

}  // namespace

int run_picture_command(int argc, const char* const* argv) {
  PictureOptions opts;
  std::string error;
  if (!parse_picture_options(argc, argv, opts, error)) return fail(kImportUsage, error);
  if (opts.help) {
    con_printf("%s", picture_help());
    return kImportDone;
  }
  return import(opts);
}
