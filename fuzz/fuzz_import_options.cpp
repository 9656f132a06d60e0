// Fuzzes the command line of "tralk-import font": the input is the list of
// arguments, separated by NUL bytes. The parser must either refuse them
// with a reason or give options that keep every promise the import relies
// on; the codes they select must come out in order, each once. The last
// argument is also read as the text of a names file.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "fuzz_support.h"
#include "import/fonts/code_selection.h"
#include "import/fonts/font_options.h"
#include "import/fonts/icon_names.h"

namespace {

using namespace tralk::importer;

std::vector<std::string> split_arguments(const uint8_t* data, size_t size) {
  std::vector<std::string> args(1);
  for (size_t i = 0; i < size; ++i) {
    if (data[i] == 0)
      args.emplace_back();
    else
      args.back() += static_cast<char>(data[i]);
  }
  return args;
}

void check_options(const FontOptions& opts) {
  for (const CodeRange& r : opts.ranges) {
    fuzz::check(r.first <= r.last && r.last <= kMaxCharCode, "a range out of order or too high");
    fuzz::check(uint64_t{r.to} + (r.last - r.first) <= kMaxCpCode, "a range lands above 0xFFFF");
  }
  fuzz::check(opts.bpp == 1 || opts.bpp == 2 || opts.bpp == 4 || opts.bpp == 8, "a bad depth");
  fuzz::check(!opts.size || (*opts.size >= 1 && *opts.size <= kMaxPixelSize), "a bad size");
  if (opts.help || opts.list) return;
  fuzz::check(!opts.ranges.empty() || !opts.symbols.empty() || !opts.symbols_files.empty() ||
                  !opts.names.empty() || !opts.names_files.empty(),
              "nothing selected");
  fuzz::check(!opts.names_header || !opts.names.empty() || !opts.names_files.empty(),
              "a names header without names");
  fuzz::check(!(opts.invert && opts.bpp == 1), "--invert with b&w symbols");
  fuzz::check(
      opts.no_cp || (opts.cp_name.size() > 3 && opts.cp_name.find('/') == std::string::npos &&
                     opts.cp_name.find('>') == std::string::npos),
      "a codepage name that the .sym file cannot carry");
  fuzz::check(!describe_options(opts).empty(), "options described as nothing");
}

// A glyph name is never empty nor holds a blank or a control character; a
// code is a codepage code UTF-8 can hold.
void check_names(const std::vector<IconName>& names) {
  for (const IconName& n : names) {
    fuzz::check(!n.name.empty(), "an empty glyph name");
    for (const char c : n.name)
      fuzz::check(c != ' ' && c != '\t' && static_cast<unsigned char>(c) >= 0x20,
                  "a glyph name holding a blank or a control character");
    fuzz::check(!n.code || *n.code < 0xD800 || *n.code > 0xDFFF, "a surrogate code");
  }
}

void check_names_file(const std::string& text) {
  const Outcome<std::vector<IconName>> names = parse_names_file(text, "f");
  if (!names.ok()) {
    fuzz::check(names.code() == Fault::format && !names.error().empty() &&
                    names.error().find('\n') == std::string::npos,
                "a names file refused without a one-line reason");
    return;
  }
  check_names(names.value());
}

void check_selection(const FontOptions& opts) {
  const Outcome<std::vector<WantedCode>> wanted =
      select_codes(opts.ranges, opts.symbols, opts.encoding);
  if (!wanted.ok()) {
    fuzz::check(!wanted.error().empty() && wanted.code() == Fault::usage,
                "a selection refused without a reason, or not as a bad command line");
    return;
  }
  for (size_t i = 1; i < wanted->size(); ++i)
    fuzz::check(wanted.value()[i - 1].code < wanted.value()[i].code, "codes out of order or twice");
  if (!opts.defchar) return;
  const Outcome<uint16_t> defchar = parse_defchar(*opts.defchar, opts.encoding);
  if (!defchar.ok())
    fuzz::check(!defchar.error().empty() && defchar.code() == Fault::usage,
                "a default character refused without a reason, or not as a bad command line");
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz::detach_stdin();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::vector<std::string> args = split_arguments(data, size);
  check_names_file(args.back());
  std::vector<const char*> argv;
  for (const std::string& a : args) argv.push_back(a.c_str());
  const Outcome<FontOptions> opts = parse_font_options(static_cast<int>(argv.size()), argv.data());
  if (!opts.ok()) {
    fuzz::check(!opts.error().empty() && opts.code() == Fault::usage,
                "a command line refused without a reason, or not as a bad command line");
    return 0;
  }
  check_options(opts.value());
  check_names(opts->names);
  if (!opts->help && !opts->list) check_selection(opts.value());
  return 0;
}
