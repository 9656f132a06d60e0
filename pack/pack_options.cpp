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

const std::vector<cli::OptionGroup> kGroups = {
    {"Packing:",
     {{"-o, --output", "FILE", {"the chip image to write (needed)"}},
      {"--size", "N", {"the chip's size in bytes (needed), at most 4GiB"}},
      {"--align",
       "N",
       {"start each image on a multiple of N bytes, a power of two", "(default 4)"}},
      {"--base",
       "ADDR",
       {"the address of the chip's first byte, for the HEX and", "S-record files and the header"}},
      {"--fill", "BYTE", {"the value of the free bytes, 0x00 to 0xFF (default 0xFF)"}},
      {"--header", "FILE", {"write a C header with each image's offset, size and CRC-32"}},
      {"--hex", "FILE", {"write the chip as Intel HEX (extended linear addresses)"}},
      {"--srec", "FILE", {"write the chip as Motorola S-records (S3)"}},
      {"--layout",
       "FILE",
       {"read the layout of the previous run from FILE, keep each",
        "image that still fits at its offset, and write the new one", "there"}},
      {"--depfile", "FILE", {"write a Make dependency file with the other files"}},
      {"--quiet", nullptr, {"print only the images that moved, and errors"}}}},
    {"Comparing:",
     {{"--diff", "OLD NEW", {"list the sectors in which chip NEW differs from chip OLD"}},
      {"--sector", "N", {"with --diff: the sector size, a power of two (needed)"}},
      {"--diff-hex", "FILE", {"with --diff: write those sectors of NEW as Intel HEX"}}}},
    {nullptr,
     {{"--version", nullptr, {"print the version and exit"}},
      {"-h, --help", nullptr, {"print this help and exit"}}}},
};

bool power_of_two(uint64_t n) {
  return n != 0 && (n & (n - 1)) == 0;
}

Outcome<uint64_t> size_value(std::string_view name, cli::ArgReader& args) {
  const Outcome<std::string> text = args.value(name);
  if (!text.ok()) return text.failure();
  if (const std::optional<uint64_t> n = parse_byte_size(text.value())) return *n;
  return cli::usage_error("option " + std::string(name) +
                          " needs a number of bytes (4096, 0x1000, 4KiB, 8MiB), not " +
                          in_quotes(text.value()));
}

Status optional_text(std::string_view name, cli::ArgReader& args, std::optional<std::string>& to) {
  std::string text;
  if (Status read = args.value_into(name, text); !read.ok()) return read;
  to = std::move(text);
  return {};
}

Status read_option(std::string_view arg, cli::ArgReader& args, PackOptions& o) {
  if (arg == "-h" || arg == "--help") {
    o.help = true;
  } else if (arg == "--version") {
    o.version = true;
  } else if (arg == "--quiet") {
    o.quiet = true;
  } else if (arg == "-o" || arg == "--output") {
    return args.value_into(arg, o.output);
  } else if (arg == "--header") {
    return optional_text(arg, args, o.header);
  } else if (arg == "--hex") {
    return optional_text(arg, args, o.hex);
  } else if (arg == "--srec") {
    return optional_text(arg, args, o.srec);
  } else if (arg == "--layout") {
    return optional_text(arg, args, o.layout);
  } else if (arg == "--depfile") {
    return optional_text(arg, args, o.depfile);
  } else if (arg == "--diff-hex") {
    return optional_text(arg, args, o.diff_hex);
  } else if (arg == "--diff") {
    if (Status read = optional_text(arg, args, o.diff_old); !read.ok()) return read;
    if (!args.more()) return cli::usage_error("option --diff needs two chips, OLD and NEW");
    o.diff_new = std::string(args.take());
  } else if (arg == "--size" || arg == "--align" || arg == "--base" || arg == "--sector" ||
             arg == "--fill") {
    const Outcome<uint64_t> n = size_value(arg, args);
    if (!n.ok()) return n.failure();
    if (arg == "--size") {
      o.size = n.value();
    } else if (arg == "--align") {
      o.align = n.value();
    } else if (arg == "--base") {
      o.base = n.value();
      o.base_given = true;
    } else if (arg == "--sector") {
      o.sector = n.value();
    } else {
      if (n.value() > 0xFF) return cli::usage_error("--fill must be 0x00 to 0xFF");
      o.fill = static_cast<uint8_t>(n.value());
    }
  } else {
    return cli::usage_error(strf("unknown option \"%.*s\"", int(arg.size()), arg.data()));
  }
  return {};
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
  cli::ArgReader args(argc, argv);
  const Status read = cli::read_command_line(
      args, [&](std::string_view arg, cli::ArgReader& a) { return read_option(arg, a, opts); },
      [&](std::string_view arg) -> Status {
        opts.images.push_back(image_arg(arg));
        return {};
      });
  if (!read.ok()) return read.failure();
  if (std::optional<std::string> problem = combination_problem(opts))
    return cli::usage_error(std::move(*problem));
  return opts;
}

std::string pack_help() {
  return kHelpHead + cli::options_help(kGroups, 2, 20) + kHelpTail;
}

std::span<const cli::OptionGroup> pack_option_groups() {
  return kGroups;
}

}  // namespace tralk::pack
