#include "pack/pack_main.h"

#include <algorithm>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/console.h"
#include "base/crc32.h"
#include "base/file_set.h"
#include "base/fileio.h"
#include "base/make_rule.h"
#include "base/path.h"
#include "base/text.h"
#include "cli/option_table.h"
#include "pack/chip_header.h"
#include "pack/chip_image.h"
#include "pack/chip_layout.h"
#include "pack/hex_records.h"
#include "pack/layout_file.h"
#include "pack/pack_options.h"
#include "pack/sector_diff.h"

namespace tralk::pack {

namespace {

using ull = unsigned long long;

// Prints the failure, "tralk-pack: " before each line that is a message of
// its own (an indented line goes on the one before); its code gives the
// exit status.
int fail(const Failure& failure) {
  std::string_view text = failure.text;
  while (!text.empty()) {
    const std::string_view line = next_line(text);
    con_printf("%s%.*s\n", line.starts_with(' ') ? "" : "tralk-pack: ", int(line.size()),
               line.data());
  }
  if (failure.code == Fault::usage) con_printf("Try \"tralk-pack --help\".\n");
  return failure.code == Fault::usage ? kPackUsage : kPackFailed;
}

Failure usage(std::string text) {
  return Failure{Fault::usage, std::move(text)};
}

std::string file_name(std::string_view path) {
  return path_base(path) + path_ext(path);
}

// path with its extension (if any) replaced by ext, as written.
std::string with_ext(const std::string& path, const char* ext) {
  return path.substr(0, path.size() - path_ext(path).size()) + ext;
}

bool has_control(std::string_view s) {
  return std::any_of(s.begin(), s.end(), [](char c) {
    const auto u = static_cast<unsigned char>(c);
    return u < 0x20 || u == 0x7F;
  });
}

Outcome<FileBytes> read_file(const std::string& path, const char* what) {
  Outcome<FileBytes> bytes = read_whole_file(path);
  if (!bytes.ok())
    return Failure{bytes.code(),
                   std::string("cannot read ") + what + in_quotes(path) + ": " + bytes.error()};
  return bytes;
}

struct Image {
  ImageArg arg;
  std::string file;  // without its folder
  std::string name;  // UI
  FileBytes bytes;
  uint32_t crc = 0;
};

Outcome<std::vector<Image>> load_images(const PackOptions& opts) {
  std::vector<Image> images;
  for (const ImageArg& arg : opts.images) {
    if (has_control(arg.path))
      return usage("the name of image " + in_quotes(arg.path) + " holds a control character");
    // An image larger than the chip is refused before it is read.
    std::error_code ec;
    const uint64_t claimed = std::filesystem::file_size(arg.path, ec);
    if (!ec && claimed > *opts.size)
      return Failure{Fault::too_large,
                     strf("image %s is %llu bytes, more than the chip's %llu (--size)",
                          in_quotes(arg.path).c_str(), ull(claimed), ull(*opts.size))};
    Outcome<FileBytes> bytes = read_file(arg.path, "");
    if (!bytes.ok()) return bytes.failure();
    if (bytes->size == 0)
      return Failure{Fault::format, "image " + in_quotes(arg.path) + " is empty"};
    Image image{arg, file_name(arg.path), path_macro_name(arg.path), std::move(bytes.value()), 0};
    image.crc = crc32_of(image.bytes.data(), image.bytes.size);
    images.push_back(std::move(image));
  }
  return images;
}

// Every image's name is a name of its own in the header and the layout,
// and none is the chip's.
Status check_names(const std::vector<Image>& images, const std::string& output) {
  const std::string chip = path_macro_name(output);
  for (size_t i = 0; i < images.size(); ++i) {
    if (images[i].name == chip)
      return Failure{Fault::format, "image " + in_quotes(images[i].arg.path) + " makes the name " +
                                        chip + ", which is the chip's own (" + in_quotes(output) +
                                        ")"};
    for (size_t k = 0; k < i; ++k)
      if (images[k].name == images[i].name)
        return Failure{Fault::format, "images " + in_quotes(images[k].arg.path) + " and " +
                                          in_quotes(images[i].arg.path) + " both make the name " +
                                          images[i].name + " in the header and the layout"};
  }
  return {};
}

// The layout of the previous run: none for a first run (no file yet).
Outcome<std::optional<std::vector<LayoutEntry>>> previous_layout(const std::string& path,
                                                                 bool quiet) {
  Outcome<FileBytes> bytes = read_whole_file(path);
  if (!bytes.ok() && bytes.code() == Fault::not_found) {
    if (!quiet) con_printf("Layout %s is new: every image is placed\n", in_quotes(path).c_str());
    return std::optional<std::vector<LayoutEntry>>();
  }
  if (!bytes.ok())
    return Failure{bytes.code(),
                   "cannot read the layout " + in_quotes(path) + ": " + bytes.error()};
  Outcome<std::vector<LayoutEntry>> entries =
      parse_layout(std::string_view(reinterpret_cast<const char*>(bytes->data()), bytes->size));
  if (!entries.ok())
    return Failure{entries.code(), "layout " + in_quotes(path) + ", " + entries.error()};
  return std::optional<std::vector<LayoutEntry>>(std::move(entries.value()));
}

std::string quoted_list(const std::vector<std::string>& items) {
  std::string text;
  for (size_t i = 0; i < items.size(); ++i)
    text += (i == 0 ? "" : i + 1 == items.size() ? " and " : ", ") + in_quotes(items[i]);
  return text;
}

// What the run prints after the files are in place.
void report(const PackOptions& opts, const std::vector<Image>& images,
            const std::vector<Placement>& placed, const std::vector<std::string>& written) {
  if (!opts.quiet) {
    con_printf("Chip %s: %llu image%s in %llu bytes, %llu-byte alignment, fill 0x%02X",
               in_quotes(opts.output).c_str(), ull(images.size()), images.size() == 1 ? "" : "s",
               ull(*opts.size), ull(opts.align), unsigned{opts.fill});
    if (opts.base_given) con_printf(", base 0x%08llX", ull(opts.base));
    con_printf("\n  offset            size  crc32       image\n");
    std::vector<size_t> order(images.size());
    for (size_t i = 0; i < order.size(); ++i) order[i] = i;
    std::stable_sort(order.begin(), order.end(),
                     [&](size_t a, size_t b) { return placed[a].offset < placed[b].offset; });
    uint64_t used = 0;
    for (size_t i : order) {
      con_printf("  0x%08llx  %10llu  0x%08lx  %s\n", ull(placed[i].offset),
                 ull(images[i].bytes.size), static_cast<unsigned long>(images[i].crc),
                 images[i].arg.path.c_str());
      used += images[i].bytes.size;
    }
    con_printf("  %llu bytes in images, %llu free\n", ull(used), ull(*opts.size - used));
  }
  for (size_t i = 0; i < images.size(); ++i)
    if (placed[i].moved_because)
      con_printf("Moved %s from 0x%08llx to 0x%08llx: %s\n", in_quotes(images[i].file).c_str(),
                 ull(*placed[i].old_offset), ull(placed[i].offset),
                 placed[i].moved_because->c_str());
  if (!opts.quiet) con_printf("Wrote %s\n", quoted_list(written).c_str());
}

// The files of one run, each with its content, written and replaced as one
// set. Each is finished as soon as it is written, so that a full disk is
// blamed on the file that filled it; the layout comes first, so that no
// output is older than it (a build tool reads it as an input of the next
// run).
struct Output {
  std::string path;
  std::string text;  // the content, unless write makes it
  std::function<void(OutFile&)> write;
};

Status write_outputs(const std::vector<Output>& outputs, size_t layout_index) {
  std::vector<size_t> order{layout_index};
  for (size_t i = 0; i < outputs.size(); ++i)
    if (i != layout_index) order.push_back(i);
  std::vector<std::string> paths;
  for (size_t i : order) paths.push_back(outputs[i].path);
  SetLock lock(paths);
  std::vector<std::unique_ptr<OutFile>> files;
  std::vector<OutFile*> set;
  for (size_t i : order) {
    const Output& o = outputs[i];
    files.push_back(std::make_unique<OutFile>());
    OutFile& out = *files.back();
    if (Status opened = open_output(lock, out, o.path); !opened.ok()) return opened;
    if (o.write)
      o.write(out);
    else
      out.write(o.text);
    if (!out.finish())
      return Failure{Fault::io, "cannot write " + in_quotes(o.path) + ": " + out.reason()};
    set.push_back(&out);
  }
  return commit_outputs(set, paths);
}

int pack(const PackOptions& opts) {
  if (has_control(opts.output))
    return fail(usage("the chip's name " + in_quotes(opts.output) + " holds a control character"));
  Outcome<std::vector<Image>> loaded = load_images(opts);
  if (!loaded.ok()) return fail(loaded.failure());
  std::vector<Image>& images = loaded.value();
  if (Status names = check_names(images, opts.output); !names.ok()) return fail(names.failure());

  const std::string layout_path = opts.layout.value_or(with_ext(opts.output, ".layout"));
  std::optional<std::vector<LayoutEntry>> previous;
  if (opts.layout) {
    auto read = previous_layout(*opts.layout, opts.quiet);
    if (!read.ok()) return fail(read.failure());
    previous = std::move(read.value());
  }
  std::vector<ImageExtent> extents;
  for (const Image& image : images)
    extents.push_back({image.arg.path, image.name, image.bytes.size, image.arg.offset});
  const Outcome<std::vector<Placement>> placed =
      place_images(extents, {*opts.size, opts.align}, previous ? &*previous : nullptr);
  if (!placed.ok())
    return fail(
        Failure{placed.code() == Fault::usage ? Fault::format : placed.code(), placed.error()});

  std::vector<PlacedBytes> bytes;
  std::vector<LayoutEntry> layout;
  for (size_t i = 0; i < images.size(); ++i) {
    bytes.push_back({placed.value()[i].offset, images[i].bytes.data(), images[i].bytes.size});
    layout.push_back(
        {placed.value()[i].offset, images[i].bytes.size, images[i].file, images[i].name});
  }
  const ChipImage chip(*opts.size, opts.fill, std::move(bytes));
  const std::string chip_file = file_name(opts.output);

  const auto to_file = [](OutFile& out) {
    return [&out](std::string_view text) { out.write(text); };
  };
  std::vector<Output> outputs = {
      {opts.output, "", [&chip](OutFile& out) {
         chip.write([&out](const uint8_t* p, uint64_t n) {
           out.write(std::string_view(reinterpret_cast<const char*>(p), static_cast<size_t>(n)));
         });
       }}};
  if (opts.header) {
    HeaderChip head{
        chip_file,    path_macro_name(opts.output),
        *opts.size,   opts.fill,
        chip.crc32(), opts.base_given ? std::optional<uint64_t>(opts.base) : std::nullopt};
    std::vector<HeaderImage> entries;
    for (size_t i = 0; i < images.size(); ++i)
      entries.push_back({images[i].file, images[i].name, placed.value()[i].offset,
                         images[i].bytes.size, images[i].crc});
    outputs.push_back({*opts.header, chip_header_text(head, entries), nullptr});
  }
  if (opts.hex)
    outputs.push_back(
        {*opts.hex, "", [&](OutFile& out) { chip.hex_text(opts.base, to_file(out)); }});
  if (opts.srec)
    outputs.push_back({*opts.srec, "",
                       [&](OutFile& out) { chip.srec_text(opts.base, chip_file, to_file(out)); }});
  const size_t layout_index = outputs.size();
  outputs.push_back({layout_path, layout_text(chip_file, layout), nullptr});

  std::vector<std::string> written;
  for (const Output& o : outputs) written.push_back(o.path);
  if (opts.depfile) {
    // A layout that is read is an input, never a target: a rule that names
    // its own input as an output would be a cycle.
    std::vector<std::string> targets = written, read;
    if (opts.layout) targets.erase(targets.begin() + static_cast<ptrdiff_t>(layout_index));
    for (const Image& image : images) read.push_back(image.arg.path);
    if (opts.layout) read.push_back(*opts.layout);
    Outcome<PendingFile> depfile = make_depfile(*opts.depfile, targets, read);
    if (!depfile.ok()) return fail(depfile.failure());
    outputs.push_back(
        {*opts.depfile, std::string(depfile->content.data(), depfile->content.size()), nullptr});
    written.push_back(*opts.depfile);
  }
  if (Status done = write_outputs(outputs, layout_index); !done.ok()) return fail(done.failure());
  report(opts, images, placed.value(), written);
  return kPackDone;
}

std::string sector_words(uint64_t size, uint64_t sector) {
  const uint64_t n = (size + sector - 1) / sector;
  return strf("%llu sector%s", ull(n), n == 1 ? "" : "s");
}

int diff(const PackOptions& opts) {
  const Outcome<FileBytes> old_chip = read_file(*opts.diff_old, "");
  if (!old_chip.ok()) return fail(old_chip.failure());
  const Outcome<FileBytes> new_chip = read_file(*opts.diff_new, "");
  if (!new_chip.ok()) return fail(new_chip.failure());
  if (old_chip->size != new_chip->size)
    return fail(
        Failure{Fault::format, strf("the chips differ in size: %s has %llu bytes, %s %llu",
                                    in_quotes(*opts.diff_old).c_str(), ull(old_chip->size),
                                    in_quotes(*opts.diff_new).c_str(), ull(new_chip->size))});
  if (opts.base + new_chip->size > kMaxChipSize)
    return fail(
        usage(strf("a chip of %llu bytes at --base 0x%llx would end past address "
                   "0xFFFFFFFF",
                   ull(new_chip->size), ull(opts.base))));
  // The images are named from the new chip's layout.
  const std::string layout_path = opts.layout.value_or(with_ext(*opts.diff_new, ".layout"));
  std::optional<std::vector<LayoutEntry>> layout;
  Outcome<FileBytes> layout_bytes = read_whole_file(layout_path);
  if (layout_bytes.ok()) {
    Outcome<std::vector<LayoutEntry>> entries = parse_layout(
        std::string_view(reinterpret_cast<const char*>(layout_bytes->data()), layout_bytes->size));
    if (!entries.ok())
      return fail(
          Failure{entries.code(), "layout " + in_quotes(layout_path) + ", " + entries.error()});
    layout = std::move(entries.value());
  } else if (opts.layout) {
    return fail(Failure{layout_bytes.code(), "cannot read the layout " + in_quotes(layout_path) +
                                                 ": " + layout_bytes.error()});
  }
  const uint64_t sector = *opts.sector;
  const std::vector<SectorRange> ranges = differing_sectors(
      old_chip->data(), new_chip->data(), new_chip->size, sector, layout ? &*layout : nullptr);
  uint64_t differing = 0;
  for (const SectorRange& r : ranges) differing += r.size;
  con_printf("%s differs from %s in %s of %s of %llu bytes (%llu bytes)\n",
             in_quotes(*opts.diff_new).c_str(), in_quotes(*opts.diff_old).c_str(),
             sector_words(differing, sector).c_str(), sector_words(new_chip->size, sector).c_str(),
             ull(sector), ull(differing));
  for (const SectorRange& r : ranges) {
    con_printf("  0x%08llx to 0x%08llx  %-11s", ull(r.offset), ull(r.offset + r.size - 1),
               sector_words(r.size, sector).c_str());
    std::string what;
    for (const std::string& file : r.images) what += (what.empty() ? "" : ", ") + file;
    if (layout && r.free_space) what += what.empty() ? "free space" : ", free space";
    con_printf("%s%s\n", what.empty() ? "" : "  ", what.c_str());
  }
  if (!layout)
    con_printf("No layout %s: the images are not named\n", in_quotes(layout_path).c_str());
  if (!opts.diff_hex) return kPackDone;
  std::string text;
  HexWriter hex;
  for (const SectorRange& r : ranges)
    hex.data(text, opts.base + r.offset, new_chip->data() + r.offset, static_cast<size_t>(r.size));
  HexWriter::end(text);
  if (Status written = write_file_set({PendingFile(*opts.diff_hex, std::string_view(text))});
      !written.ok())
    return fail(written.failure());
  con_printf("Wrote %s\n", in_quotes(*opts.diff_hex).c_str());
  return kPackDone;
}

}  // namespace

int run_pack(int argc, const char* const* argv) {
  const Outcome<PackOptions> opts = parse_pack_options(argc, argv);
  if (!opts.ok()) return fail(opts.failure());
  if (opts->help) {
    con_printf("%s", pack_help().c_str());
    return kPackDone;
  }
  if (opts->version) {
    con_printf("%s", cli::version_line("tralk-pack").c_str());
    return kPackDone;
  }
  return opts->diff_old ? diff(opts.value()) : pack(opts.value());
}

}  // namespace tralk::pack
