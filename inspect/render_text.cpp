#include "inspect/render_text.h"

#include <algorithm>
#include <vector>

#include "base/text.h"

namespace tralk::inspector {

namespace {

using ull = unsigned long long;
using Row = std::vector<std::string>;

// Right-aligned columns as wide as their widest cell, two blanks apart.
std::string format_columns(const std::vector<Row>& rows) {
  std::vector<size_t> widths;
  for (const Row& row : rows) {
    widths.resize(std::max(widths.size(), row.size()));
    for (size_t c = 0; c < row.size(); ++c) widths[c] = std::max(widths[c], row[c].size());
  }
  std::string out;
  for (const Row& row : rows) {
    for (size_t c = 0; c < row.size(); ++c) {
      if (c) out += "  ";
      out.append(widths[c] - row[c].size(), ' ');
      out += row[c];
    }
    out += '\n';
  }
  return out;
}

std::string num(unsigned long long v) {
  return strf("%llu", v);
}

Row table_row(size_t n, const FontRecord& f) {
  const bool cp = f.flags & image_layout::kFlagCodepage;
  const bool sym = f.flags & image_layout::kFlagSymbols;
  return {num(n),
          num(f.index),
          num(f.blocksize),
          num(f.flags),
          num(f.numbits),
          num(f.symwidth),
          num(f.symheight),
          num(f.numsym),
          num(f.symbytes),
          cp ? num(f.cpindex) : "-",
          f.has_codepage ? num(f.numranges) : "-",
          sym ? num(f.symindex) : "-"};
}

std::string format_codepage(size_t n, const FontRecord& f) {
  std::string out = strf("  font block %zu: default character %u, %u range%s", n,
                         unsigned{f.defchar}, unsigned{f.numranges}, f.numranges == 1 ? "" : "s");
  const char* sep = ": ";
  for (const auto& r : f.ranges) {
    out += strf("%s{%u, %u, %u}", sep, unsigned{r[0]}, unsigned{r[1]}, unsigned{r[2]});
    sep = ", ";
  }
  return out + "\n";
}

// Text art characters from white to black.
constexpr char kGreyRamp[] = ".:-=+*#%@";
constexpr uint32_t kGreySteps = sizeof kGreyRamp - 2;

char grey_char(GreyLevel g, PixelReading reading) {
  if (reading == PixelReading::bw) return g.level ? '.' : '#';
  const uint64_t dark = g.max - g.level;
  return kGreyRamp[(dark * kGreySteps + g.max / 2) / g.max];
}

std::string text_row(const FontRecord& f, size_t i, uint32_t y, uint32_t width,
                     PixelReading reading) {
  std::string row;
  for (uint32_t x = 0; x < width; ++x)
    row += grey_char(pixel_grey(font_pixel(f, i, x, y), font_depth(f), reading), reading);
  return row + "\n";
}

// Cells of one pixel row of colour blocks, without the line's end.
std::string colour_cells(const FontRecord& f, size_t i, uint32_t y, uint32_t width,
                         PixelReading reading, const ReadingOptions& opts);

// Two blanks a pixel keep the blocks roughly square in a terminal; the
// colour changes only where the pixel colour does.
std::string colour_row(const FontRecord& f, size_t i, uint32_t y, uint32_t width,
                       PixelReading reading, const ReadingOptions& opts) {
  return colour_cells(f, i, y, width, reading, opts) + "\x1b[0m\n";
}

std::string colour_cells(const FontRecord& f, size_t i, uint32_t y, uint32_t width,
                         PixelReading reading, const ReadingOptions& opts) {
  std::string row;
  RGBTRIPLET last;
  for (uint32_t x = 0; x < width; ++x) {
    const RGBTRIPLET c = pixel_rgb(font_pixel(f, i, x, y), font_depth(f), reading, opts);
    if (x == 0 || !(c == last))
      row += strf("\x1b[48;2;%u;%u;%um", unsigned{c.r}, unsigned{c.g}, unsigned{c.b});
    row += "  ";
    last = c;
  }
  return row;
}

std::string render_symbol(const FontRecord& f, size_t i, PixelReading reading,
                          const ReadingOptions& opts) {
  const uint32_t width = f.widths[i];
  const uint32_t rows = font_drawn_rows(f, i);
  std::string out = strf("\nSymbol %zu, width %u", i, width);
  if (rows < f.symheight)
    out += strf(" (%u of its %u rows drawn: the rest lie beyond its bytes)", rows,
                unsigned{f.symheight});
  out += ":\n";
  for (uint32_t y = 0; y < rows; ++y)
    out += reading_is_colour(reading) ? colour_row(f, i, y, width, reading, opts)
                                      : text_row(f, i, y, width, reading);
  return out;
}

}  // namespace

std::string format_table(const InspectResult& result, const std::string& name,
                         const std::vector<std::string>* names) {
  std::string out =
      strf("Image \"%s\": %llu bytes, %zu font block%s\n\n", name.c_str(), ull(result.size),
           result.fonts.size(), result.fonts.size() == 1 ? "" : "s");
  std::vector<Row> rows = {{"#", "index", "size", "flags", "numbits", "width", "height", "symbols",
                            "bytes", "cp index", "ranges", "sym index"}};
  if (names) rows[0].push_back("name");
  for (size_t n = 0; n < result.fonts.size(); ++n) {
    rows.push_back(table_row(n, result.fonts[n]));
    if (names) rows.back().push_back(names->at(n));
  }
  out += format_columns(rows);

  std::string codepages;
  for (size_t n = 0; n < result.fonts.size(); ++n)
    if (result.fonts[n].has_codepage) codepages += format_codepage(n, result.fonts[n]);
  if (!codepages.empty()) out += "\nCodepages:\n" + codepages;

  out += strf("\nTotal 0x%llx, %llu bytes\n", ull(result.total), ull(result.total));
  return out;
}

std::string format_problems(const InspectResult& result, const char* but) {
  if (result.problems.empty() && but)
    return strf("\nNo problems found in the image, but %s\n", but);
  if (result.problems.empty()) return "\nNo problems found\n";
  std::string out = strf("\n%zu problem%s found:\n", result.problems.size(),
                         result.problems.size() == 1 ? "" : "s");
  for (const Problem& p : result.problems)
    out += strf("  storage index %u, %s: %s\n", p.index, p.field.c_str(), p.text.c_str());
  return out;
}

std::string render_font_text(const InspectResult& result, size_t n, const ReadingOptions& opts) {
  const FontRecord& f = result.fonts.at(n);
  const PixelReading reading = choose_reading(f, opts);
  std::string out =
      strf("Font block %zu at storage index %u: %u symbol%s, %u x %u, numbits %u, read as %s\n", n,
           f.index, unsigned{f.numsym}, f.numsym == 1 ? "" : "s", unsigned{f.symwidth},
           unsigned{f.symheight}, unsigned{f.numbits}, reading_name(reading));
  if (!(f.flags & image_layout::kFlagSymbols)) return out + "No symbols in this block\n";
  if (f.widths.size() < f.numsym)
    out += strf("Only %zu of them lie inside the block\n", f.widths.size());
  if (!f.drawable || reading == PixelReading::none)
    return out + "The symbols cannot be laid out as pixel rows (see the problems)\n";
  for (size_t i = 0; i < f.widths.size(); ++i) out += render_symbol(f, i, reading, opts);
  return out;
}

}  // namespace tralk::inspector

namespace tralk::inspector {

std::string render_symbol_lines(const FontRecord& f, const std::vector<std::vector<size_t>>& lines,
                                const ReadingOptions& opts, const TextSpacing& spacing) {
  const PixelReading reading = choose_reading(f, opts);
  const bool colour = reading_is_colour(reading);
  const std::string gap =
      (colour ? "\x1b[0m" : "") + std::string(size_t{spacing.symbol} * (colour ? 2 : 1), ' ');
  const uint32_t pitch = spacing.line_height.value_or(f.symheight);
  std::string out;
  for (size_t l = 0; l < lines.size(); ++l) {
    const auto& line = lines[l];
    if (l > 0) out.append(pitch > f.symheight ? pitch - f.symheight : 0, '\n');
    for (uint32_t y = 0; y < f.symheight; ++y) {
      for (size_t n = 0; n < line.size(); ++n) {
        const size_t i = line[n];
        if (n > 0 && spacing.symbol) out += gap;
        const uint32_t width = f.widths[i];
        if (y >= font_drawn_rows(f, i)) {
          out.append(size_t{width} * (colour ? 2 : 1), ' ');
        } else if (colour) {
          out += colour_cells(f, i, y, width, reading, opts);
        } else {
          std::string row = text_row(f, i, y, width, reading);
          out += row.substr(0, row.size() - 1);
        }
      }
      out += colour ? "\x1b[0m\n" : "\n";
    }
  }
  return out;
}

}  // namespace tralk::inspector
