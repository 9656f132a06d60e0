#include "pack/pack_options.h"

#include <string_view>
#include <utility>

#include "base/byte_size.h"
#include "base/text.h"
#include "cli/arg_reader.h"

namespace tralk::pack {

namespace {

const char kHelpHead[] =
    "Usage: tralk-pack -o CHIP.bin --size N [OPTIONS] IMAGE.bin[@OFFSET]...\n"
    "       tralk-pack --diff OLD.bin NEW.bin --sector N [--diff-hex FILE]\n"
    "\n"
    "Lays images written by tralk out in one storage chip: each at its OFFSET or\n"
    "at the first free place on the alignment, in the order given; the gaps and\n"
    "the tail are filled. Writes the chip, a layout file (CHIP.layout beside it,\n"
    "or the --layout file) and the files asked for, all together or none.\n"
    "Sizes and addresses are bytes, 0x... or end in KiB or MiB: 4096, 0x1000,\n"
    "4KiB, 8MiB.\n"
    "\n";

const char kHelpTail[] =
    "\n"
    "Exit status: 0 when the files were written (or the chips compared), 1 when\n"
    "the images do not fit or a file cannot be read or written (nothing is\n"
    "written then), 2 for a bad command line.\n";

bool power_of_two(uint64_t n) {
  return n != 0 && (n & (n - 1)) == 0;
}

using cli::Given;
using cli::OptionArg;
using cli::set_flag;
using cli::store;

Outcome<uint64_t> size_value(const OptionArg& arg) {
  if (const std::optional<uint64_t> n = parse_byte_size(arg.value())) return *n;
  return cli::usage_error("option " + std::string(arg.name) +
                          " needs a number of bytes (4096, 0x1000, 4KiB, 8MiB), not " +
                          in_quotes(arg.value()));
}

// A size stored in a number or an optional one.
template <auto member>
Status store_size(PackOptions& o, const OptionArg& arg) {
  const Outcome<uint64_t> n = size_value(arg);
  if (!n.ok()) return n.failure();
  o.*member = n.value();
  return {};
}

Status read_base(PackOptions& o, const OptionArg& arg) {
  o.base_given = true;
  return store_size<&PackOptions::base>(o, arg);
}

Status read_fill(PackOptions& o, const OptionArg& arg) {
  const Outcome<uint64_t> n = size_value(arg);
  if (!n.ok()) return n.failure();
  if (n.value() > 0xFF) return cli::usage_error("--fill must be 0x00 to 0xFF");
  o.fill = static_cast<uint8_t>(n.value());
  return {};
}

Status read_diff(PackOptions& o, const OptionArg& arg) {
  o.diff_old = std::string(arg.values[0]);
  o.diff_new = std::string(arg.values[1]);
  return {};
}

Status read_image(PackOptions& o, std::string_view arg);

const cli::OptionTable<PackOptions> kOptions(
    cli::Syntax::mixed,
    {{"Packing:",
      {{"-o, --output",
        "FILE",
        Given::once,
        {"the chip image to write (needed)"},
        store<&PackOptions::output>},
       {"--size",
        "N",
        Given::once,
        {"the chip's size in bytes (needed), at most 4GiB"},
        store_size<&PackOptions::size>},
       {"--align",
        "N",
        Given::once,
        {"start each image on a multiple of N bytes, a power of two", "(default 4)"},
        store_size<&PackOptions::align>},
       {"--base",
        "ADDR",
        Given::once,
        {"the address of the chip's first byte, for the HEX and", "S-record files and the header"},
        read_base},
       {"--fill",
        "BYTE",
        Given::once,
        {"the value of the free bytes, 0x00 to 0xFF (default 0xFF)"},
        read_fill},
       {"--header",
        "FILE",
        Given::once,
        {"write a C header with each image's offset, size and CRC-32"},
        store<&PackOptions::header>},
       {"--hex",
        "FILE",
        Given::once,
        {"write the chip as Intel HEX (extended linear addresses)"},
        store<&PackOptions::hex>},
       {"--srec",
        "FILE",
        Given::once,
        {"write the chip as Motorola S-records (S3)"},
        store<&PackOptions::srec>},
       {"--layout",
        "FILE",
        Given::once,
        {"read the layout of the previous run from FILE, keep each",
         "image that still fits at its offset, and write the new one", "there"},
        store<&PackOptions::layout>},
       {"--depfile",
        "FILE",
        Given::once,
        {"write a Make dependency file with the other files"},
        store<&PackOptions::depfile>},
       {"--quiet",
        nullptr,
        Given::once,
        {"print only the images that moved, and errors"},
        set_flag<&PackOptions::quiet>}}},
     {"Comparing:",
      {{"--diff",
        "OLD NEW",
        Given::once,
        {"list the sectors in which chip NEW differs from chip OLD"},
        read_diff},
       {"--sector",
        "N",
        Given::once,
        {"with --diff: the sector size, a power of two (needed)"},
        store_size<&PackOptions::sector>},
       {"--diff-hex",
        "FILE",
        Given::once,
        {"with --diff: write those sectors of NEW as Intel HEX"},
        store<&PackOptions::diff_hex>}}},
     {nullptr,
      {{"--version",
        nullptr,
        Given::once,
        {"print the version and exit"},
        set_flag<&PackOptions::version>},
       {"-h, --help",
        nullptr,
        Given::once,
        {"print this help and exit"},
        set_flag<&PackOptions::help>}}}});

// tralk-pack's words for a failure of the reading: the companions' words,
// and its own for a --diff that lacks its second chip.
std::string usage_text(const Failure& failure, int argc, const char* const* argv) {
  const bool diff_cut =
      static_cast<cli::OptionProblem>(failure.at.field) == cli::OptionProblem::missing_value &&
      std::string_view(argv[failure.at.item]) == "--diff" &&
      static_cast<int>(failure.at.item) + 2 == argc;
  return diff_cut ? "option --diff needs two chips, OLD and NEW" : cli::usage_text(failure, argv);
}

// IMAGE.bin@OFFSET: the last "@" starts an offset when what follows it is
// one; a name that holds "@" otherwise is a name.
ImageArg image_arg(std::string_view arg) {
  const size_t at = arg.rfind('@');
  if (at != std::string_view::npos && at > 0)
    if (const std::optional<uint64_t> offset = parse_byte_size(arg.substr(at + 1)))
      return {std::string(arg.substr(0, at)), offset};
  return {std::string(arg), std::nullopt};
}

Status read_image(PackOptions& o, std::string_view arg) {
  o.images.push_back(image_arg(arg));
  return {};
}

std::optional<std::string> diff_problem(const PackOptions& o) {
  if (!o.images.empty() || !o.output.empty() || o.size || o.header || o.hex || o.srec || o.depfile)
    return "--diff compares two chips: it takes no images, -o, --size, --header, --hex, "
           "--srec or --depfile";
  if (!o.sector) return "--diff needs --sector";
  if (!power_of_two(*o.sector)) return "--sector must be a power of two";
  if (o.base + *o.sector > kMaxChipSize) return "--base must leave room for a sector below 4GiB";
  return std::nullopt;
}

// Why the options cannot be used together; none when they can.
std::optional<std::string> combination_problem(const PackOptions& o) {
  if (o.help || o.version) return std::nullopt;
  if (o.diff_old) return diff_problem(o);
  if (o.sector) return "--sector needs --diff";
  if (o.diff_hex) return "--diff-hex needs --diff";
  if (o.output.empty()) return "no chip file given (-o FILE)";
  if (!o.size) return "no chip size given (--size N)";
  if (o.images.empty()) return "no image given";
  if (*o.size == 0 || *o.size > kMaxChipSize) return "--size must be 1 byte to 4GiB";
  if (!power_of_two(o.align) || o.align > *o.size)
    return "--align must be a power of two, at most the chip's size";
  if (o.base + *o.size > kMaxChipSize)
    return strf("a chip of %llu bytes at --base 0x%llx would end past address 0xFFFFFFFF",
                static_cast<unsigned long long>(*o.size), static_cast<unsigned long long>(o.base));
  return std::nullopt;
}

}  // namespace

Outcome<PackOptions> parse_pack_options(int argc, const char* const* argv) {
  PackOptions opts;
  if (Status read = kOptions.read(argc, argv, opts, read_image); !read.ok())
    return cli::usage_error(usage_text(read.failure(), argc, argv));
  if (std::optional<std::string> problem = combination_problem(opts))
    return cli::usage_error(std::move(*problem));
  return opts;
}

std::string pack_help() {
  return kHelpHead + kOptions.help(2, 20) + kHelpTail;
}

const cli::OptionTable<PackOptions>& pack_option_table() {
  return kOptions;
}

}  // namespace tralk::pack
