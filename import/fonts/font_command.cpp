#include "import/fonts/font_command.h"

#include <string>

#include "base/console.h"
#include "cli/exit_status.h"
#include "import/fonts/font_import.h"
#include "import/fonts/font_list.h"
#include "import/fonts/font_options.h"

namespace {

int fail(int status, const std::string& message) {
  con_printf("tralk-import font: %s\n", message.c_str());
  return status;
}

int list(FT_Library library, const FontOptions& opts) {
  std::string out, error;
  if (!list_font(library, opts.font, out, error)) return fail(kImportFailed, error);
  con_printf("%s", out.c_str());
  return kImportDone;
}

std::string written(const std::vector<PendingFile>& files) {
  std::string out;
  for (size_t i = 0; i < files.size(); ++i) out += (i ? " and \"" : "\"") + files[i].path + "\"";
  return out;
}

int import(FT_Library library, const FontOptions& opts) {
  ImportResult result;
  std::string error;
  switch (import_font(library, opts, result, error)) {
    case ImportStatus::usage:
      return fail(kImportUsage, error);
    case ImportStatus::failed:
      return fail(kImportFailed, error);
    case ImportStatus::ok:
      break;
  }
  if (Status written = write_file_set(result.files); !written.ok())
    return fail(kImportFailed, written.error());
  for (const std::string& line : result.report) con_printf("%s\n", line.c_str());
  for (const std::string& line : result.warnings) con_printf("warning: %s\n", line.c_str());
  con_printf("Wrote %s\n", written(result.files).c_str());
  return kImportDone;
}

}  // namespace

int run_font_command(int argc, const char* const* argv) {
  FontOptions opts;
  std::string error;
  if (!parse_font_options(argc, argv, opts, error)) return fail(kImportUsage, error);
  if (opts.help) {
    con_printf("%s", font_help());
    return kImportDone;
  }
  const FtLibrary library = ft_open_library(error);
  if (!library) return fail(kImportFailed, error);
  return opts.list ? list(library.get(), opts) : import(library.get(), opts);
}
