// Fuzzes the command line of "tralk-import font": the input is the list of
// arguments, separated by NUL bytes. The parser must either refuse them
// with a reason or give options that keep every promise the import relies
// on; the codes they select must come out in order, each once.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "fuzz_support.h"
#include "import/fonts/code_selection.h"
#include "import/fonts/font_options.h"

namespace {

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
  fuzz::check(!opts.ranges.empty() || !opts.symbols.empty(), "nothing selected");
  fuzz::check(!(opts.invert && opts.bpp == 1), "--invert with b&w symbols");
  fuzz::check(
      opts.no_cp || (opts.cp_name.size() > 3 && opts.cp_name.find('/') == std::string::npos &&
                     opts.cp_name.find('>') == std::string::npos),
      "a codepage name that the .sym file cannot carry");
  fuzz::check(!describe_options(opts).empty(), "options described as nothing");
}

void check_selection(const FontOptions& opts) {
  std::vector<WantedCode> wanted;
  std::string error;
  if (!select_codes(opts.ranges, opts.symbols, opts.encoding, wanted, error)) {
    fuzz::check(!error.empty(), "a selection refused without a reason");
    return;
  }
  for (size_t i = 1; i < wanted.size(); ++i)
    fuzz::check(wanted[i - 1].code < wanted[i].code, "codes out of order or twice");
  uint16_t defchar = 0;
  if (opts.defchar && !parse_defchar(*opts.defchar, opts.encoding, defchar, error))
    fuzz::check(!error.empty(), "a default character refused without a reason");
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz::detach_stdin();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::vector<std::string> args = split_arguments(data, size);
  std::vector<const char*> argv;
  for (const std::string& a : args) argv.push_back(a.c_str());
  FontOptions opts;
  std::string error;
  if (!parse_font_options(static_cast<int>(argv.size()), argv.data(), opts, error)) {
    fuzz::check(!error.empty(), "a command line refused without a reason");
    return 0;
  }
  check_options(opts);
  if (!opts.help && !opts.list) check_selection(opts);
  return 0;
}
