#include "import/fonts/font_command.h"

#include <memory>
#include <string>
#include <vector>

#include "base/console.h"
#include "base/file_set.h"
#include "base/make_rule.h"
#include "base/text.h"
#include "cli/exit_status.h"
#include "import/fonts/font_face.h"
#include "import/fonts/font_import.h"
#include "import/fonts/font_list.h"
#include "import/fonts/font_options.h"
#include "import/fonts/symbols_file.h"

namespace tralk::importer {

namespace {

// Prints the failure; its code gives the exit status.
int fail(const Failure& failure) {
  con_printf("tralk-import font: %s\n", failure.text.c_str());
  return cli::import_exit_status(failure.code);
}

int list(FT_Library library, const FontOptions& opts) {
  const Outcome<std::string> listing = list_font(library, opts.font);
  if (!listing.ok()) return fail(listing.failure());
  con_printf("%s", listing.value().c_str());
  return cli::kImportDone;
}

// The paths of the .sym file and of the files that go with it.
std::vector<std::string> output_paths(const ImportResult& result) {
  std::vector<std::string> paths = {result.sym.path};
  for (const PendingFile& file : result.files) paths.push_back(file.path);
  return paths;
}

std::string written(const std::vector<std::string>& paths) {
  std::string out;
  for (size_t i = 0; i < paths.size(); ++i) out += (i ? " and " : "") + in_quotes(paths[i]);
  return out;
}

// Writes the .sym file as it is made and the others whole, then replaces
// them all together.
Status write_outputs(const ImportResult& result) {
  const std::vector<std::string> paths = output_paths(result);
  SetLock lock(paths);
  std::vector<std::unique_ptr<OutFile>> outs;
  std::vector<OutFile*> set;
  for (size_t i = 0; i < paths.size(); ++i) {
    outs.push_back(std::make_unique<OutFile>());
    OutFile& out = *outs.back();
    if (Status opened = open_output(lock, out, paths[i]); !opened.ok()) return opened;
    if (i == 0)
      write_sym_file(result.sym, out);
    else
      out.write(result.files[i - 1].content);
    set.push_back(&out);
  }
  return commit_outputs(set, paths);
}

// The characters of the symbols files go with those of --symbols.
Status read_symbols_files(FontOptions& opts) {
  for (const std::string& path : opts.symbols_files) {
    const Outcome<std::string> chars = read_symbols_file(path);
    if (!chars.ok()) return chars.failure();
    opts.file_symbols += chars.value();
  }
  return {};
}

// The files an import read: the fonts and the symbols files.
std::vector<std::string> files_read(const FontOptions& opts) {
  std::vector<std::string> read = {opts.font};
  for (const std::string& f : opts.fallbacks) read.push_back(parse_font_source(f).path);
  read.insert(read.end(), opts.symbols_files.begin(), opts.symbols_files.end());
  return read;
}

int import(FT_Library library, FontOptions opts) {
  if (Status read = read_symbols_files(opts); !read.ok()) return fail(read.failure());
  Outcome<ImportResult> result = import_font(library, opts);
  if (!result.ok()) return fail(result.failure());
  const std::string wrote = written(output_paths(result.value()));
  if (opts.depfile) {
    Outcome<PendingFile> depfile =
        make_depfile(*opts.depfile, output_paths(result.value()), files_read(opts));
    if (!depfile.ok()) return fail(depfile.failure());
    result->files.push_back(std::move(depfile.value()));
  }
  if (Status written = write_outputs(result.value()); !written.ok()) return fail(written.failure());
  for (const std::string& line : result->report) con_printf("%s\n", line.c_str());
  for (const std::string& line : result->warnings) con_printf("warning: %s\n", line.c_str());
  con_printf("Wrote %s\n", wrote.c_str());
  return cli::kImportDone;
}

}  // namespace

int run_font_command(int argc, const char* const* argv) {
  const Outcome<FontOptions> opts = parse_font_options(argc, argv);
  if (!opts.ok()) return fail(opts.failure());
  if (opts->help) {
    con_printf("%s", font_help().c_str());
    return cli::kImportDone;
  }
  const Outcome<FtLibrary> library = ft_open_library();
  if (!library.ok()) return fail(library.failure());
  return opts->list ? list(library->get(), opts.value()) : import(library->get(), opts.value());
}

}  // namespace tralk::importer
