#include "import/fonts/font_command.h"

#include <string>
#include <vector>

#include "base/console.h"
#include "base/make_rule.h"
#include "base/text.h"
#include "cli/exit_status.h"
#include "cli/utf8.h"
#include "import/fonts/font_face.h"
#include "import/fonts/font_import.h"
#include "import/fonts/font_list.h"
#include "import/fonts/font_options.h"
#include "import/fonts/icon_names.h"
#include "import/fonts/import_files.h"
#include "import/fonts/symbols_file.h"
#include "text/normalise.h"

namespace tralk::importer {

namespace {

int list(FT_Library library, const FontOptions& opts) {
  const Outcome<std::string> listing = list_font(library, opts.font);
  if (!listing.ok()) return cli::report_import_failure("font", listing.failure());
  con_printf("%s", listing.value().c_str());
  return cli::kImportDone;
}

// "\"a.sym\"", "\"a.sym\" and \"a.cp\"", "\"a.sym\", \"a.cp\" and \"a.h\"".
std::string written(const std::vector<std::string>& paths) {
  std::string out;
  for (size_t i = 0; i < paths.size(); ++i)
    out += (i == 0 ? "" : i + 1 == paths.size() ? " and " : ", ") + in_quotes(paths[i]);
  return out;
}

// The characters of the symbols files go with those of --symbols; their
// notes go to notes. --symbols is put into NFC as the files' strings are.
Status read_symbols_files(FontOptions& opts, std::vector<std::string>& notes) {
  if (cli::utf8_decode(opts.symbols)) opts.symbols = text::to_nfc(opts.symbols);
  for (const std::string& path : opts.symbols_files) {
    Outcome<SymbolsFile> file = read_symbols_file(path);
    if (!file.ok()) return file.failure();
    opts.file_symbols += file->chars;
    notes.insert(notes.end(), file->notes.begin(), file->notes.end());
  }
  return {};
}

// The icons of the names files go after those of --names.
Status read_names_files(FontOptions& opts) {
  for (const std::string& path : opts.names_files) {
    Outcome<std::vector<IconName>> names = read_names_file(path);
    if (!names.ok()) return names.failure();
    opts.file_names.insert(opts.file_names.end(), names->begin(), names->end());
  }
  return {};
}

// The files an import read: the fonts, the symbols and the names files.
std::vector<std::string> files_read(const FontOptions& opts) {
  std::vector<std::string> read = {opts.font};
  for (const std::string& f : opts.fallbacks) read.push_back(parse_font_source(f).path);
  read.insert(read.end(), opts.symbols_files.begin(), opts.symbols_files.end());
  read.insert(read.end(), opts.names_files.begin(), opts.names_files.end());
  return read;
}

int import(FT_Library library, FontOptions opts) {
  std::vector<std::string> notes;
  if (Status read = read_symbols_files(opts, notes); !read.ok())
    return cli::report_import_failure("font", read.failure());
  if (Status read = read_names_files(opts); !read.ok())
    return cli::report_import_failure("font", read.failure());
  Outcome<ImportResult> result = import_font(library, opts);
  if (!result.ok()) return cli::report_import_failure("font", result.failure());
  const std::string wrote = written(output_paths(result.value()));
  if (opts.depfile) {
    Outcome<PendingFile> depfile =
        make_depfile(*opts.depfile, output_paths(result.value()), files_read(opts));
    if (!depfile.ok()) return cli::report_import_failure("font", depfile.failure());
    result->files.push_back(std::move(depfile.value()));
  }
  if (Status written = write_import_files(result.value()); !written.ok())
    return cli::report_import_failure("font", written.failure());
  if (!opts.quiet) {
    for (const std::string& line : result->report) con_printf("%s\n", line.c_str());
    for (const std::string& line : notes) con_printf("note: %s\n", line.c_str());
  }
  for (const std::string& line : result->warnings) con_printf("warning: %s\n", line.c_str());
  if (!opts.quiet) con_printf("Wrote %s\n", wrote.c_str());
  return cli::kImportDone;
}

}  // namespace

int run_font_command(int argc, const char* const* argv) {
  const Outcome<FontOptions> opts = parse_font_options(argc, argv);
  if (!opts.ok()) return cli::report_import_failure("font", opts.failure());
  if (opts->help) {
    con_printf("%s", font_help().c_str());
    return cli::kImportDone;
  }
  const Outcome<FtLibrary> library = ft_open_library();
  if (!library.ok()) return cli::report_import_failure("font", library.failure());
  return opts->list ? list(library->get(), opts.value()) : import(library->get(), opts.value());
}

}  // namespace tralk::importer
