#include "inspect/strings_report.h"

#include <nlohmann/json.hpp>
#include <span>

#include "base/text.h"
#include "cli/utf8.h"
#include "text/normalise.h"

namespace tralk::inspector {

namespace {

std::string counted(uint64_t n, const char* one, const char* many) {
  return std::to_string(n) + " " + (n == 1 ? one : many);
}

// A key or a string as the report shows it: in double quotes, with C's
// escapes for a quote, a backslash and the control characters, so that it
// stays on its line.
std::string shown(std::string_view text) {
  std::string out = "\"";
  for (const char c : text) {
    if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else if (c == '\n') {
      out += "\\n";
    } else if (c == '\t') {
      out += "\\t";
    } else if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) {
      out += strf("\\x%02X", unsigned{static_cast<unsigned char>(c)});
    } else {
      out += c;
    }
  }
  return out + "\"";
}

std::string char_text(char32_t c) {
  std::string s = "U+" + hex_upper(c, 4);
  if (c >= 0x20 && c != 0x7F && (c < 0x80 || c > 0x9F)) s += " " + in_quotes(cli::utf8_encode(c));
  return s;
}

const text::DisplayString& string_of(const StringsReportInput& in, const Finding& f) {
  return in.catalogues[f.file].strings[f.string];
}

// The file and line of a string, "de.po:14"; the file alone where its
// format has no lines.
std::string file_line(const StringsReportInput& in, const Finding& f) {
  const uint32_t line = string_of(in, f).line;
  return in.catalogues[f.file].name + (line ? ":" + std::to_string(line) : "");
}

// Where a string of a format without lines (.mo) starts: "byte 120".
std::string byte_of(const StringsReportInput& in, const Finding& f) {
  const text::DisplayString& s = string_of(in, f);
  return !s.line && s.offset ? "byte " + std::to_string(s.offset) : std::string();
}

// Where a string is: "de.po:14", "de.mo, byte 120".
std::string place(const StringsReportInput& in, const Finding& f) {
  const std::string byte = byte_of(in, f);
  return file_line(in, f) + (byte.empty() ? "" : ", " + byte);
}

std::string key_of(const StringsReportInput& in, const Finding& f) {
  return shown(string_of(in, f).key);
}

std::string lines_text(const Finding& f) {
  return counted(f.size, "line", "lines") + ", " + counted(f.height, "pixel", "pixels") + " high";
}

// What is wrong, after the string's key: the message of --quiet and --json.
std::string finding_text(const StringsReportInput& in, const Finding& f) {
  const std::string key = key_of(in, f) + ": ";
  const std::string font = f.font ? in.fonts[*f.font].label : std::string();
  switch (f.kind) {
    case FindingKind::undrawable:
      return key + text::code_list(f.sequence) +
             " is a mark with no composed form, which the display draws as a symbol of its own";
    case FindingKind::too_wide:
      if (f.unit == text::WidthUnit::character)
        return key + counted(f.size, "character", "characters") + ", limit " +
               std::to_string(f.limit);
      return key + counted(f.size, "pixel", "pixels") + " wide in " + font + ", limit " +
             std::to_string(f.limit);
    case FindingKind::not_in_code_page:
      return key + char_text(f.character) + " is not in the code page of " + font;
    case FindingKind::missing:
      return key + char_text(f.character) + " falls to the default character of " + font;
    case FindingKind::too_many_lines:
      return key + lines_text(f) + " in " + font + ", limit " + std::to_string(f.limit);
  }
  return key;
}

// The report's line for a string that does not fit, after its place.
std::string fit_item(const StringsReportInput& in, const Finding& f) {
  const std::string key = key_of(in, f) + ": ";
  if (f.kind == FindingKind::too_many_lines)
    return key + lines_text(f) + ", limit " + std::to_string(f.limit);
  return key +
         counted(f.size, f.unit == text::WidthUnit::pixel ? "pixel" : "character",
                 f.unit == text::WidthUnit::pixel ? "pixels" : "characters") +
         ", limit " + std::to_string(f.limit);
}

// The findings of one group: those from at on that keep to the same file,
// font and kind.
std::span<const Finding> take_group(const std::vector<Finding>& all, size_t& at) {
  const size_t first = at;
  while (at < all.size() && all[at].file == all[first].file && all[at].font == all[first].font &&
         all[at].kind == all[first].kind)
    ++at;
  return {all.data() + first, at - first};
}

// A group of characters: each character, then the strings it is in.
void report_chars(const StringsReportInput& in, std::span<const Finding> group, std::string& out) {
  size_t characters = 0;
  for (size_t i = 0; i < group.size(); ++i)
    characters += i == 0 || group[i].character != group[i - 1].character;
  const bool missing = group[0].kind == FindingKind::missing;
  out += "  " + in.fonts[*group[0].font].label + ": " +
         (missing
              ? counted(characters, "character falls", "characters fall") +
                    " to the default character:\n"
              : counted(characters, "character is", "characters are") + " not in the code page:\n");
  for (size_t i = 0; i < group.size(); ++i) {
    if (i == 0 || group[i].character != group[i - 1].character)
      out += "    " + char_text(group[i].character) + ":\n";
    out += "      " + place(in, group[i]) + ": " + key_of(in, group[i]) + "\n";
  }
}

void report_file(const StringsReportInput& in, size_t file, size_t& at, std::string& out) {
  const text::Catalogue& cat = in.catalogues[file];
  const std::vector<Finding>& all = in.check.findings;
  const bool plain = cat.format == text::CatalogueFormat::plain;
  out += "\nStrings " + in_quotes(cat.name) + ": " +
         counted(cat.strings.size(), plain ? "line" : "string", plain ? "lines" : "strings") +
         ", " + counted(in.check.files[file].characters, "character", "characters") + "\n";
  const auto here = [&](const std::optional<size_t>& font) {
    return at < all.size() && all[at].file == file && all[at].font == font;
  };
  while (here(std::nullopt)) {
    const std::span<const Finding> group = take_group(all, at);
    out += group[0].kind == FindingKind::undrawable
               ? "  " + counted(group.size(), "mark has", "marks have") +
                     " no composed form, which the display draws as a symbol of its own:\n"
               : "  " +
                     counted(group.size(), "string is longer than its limit",
                             "strings are longer than their limits") +
                     " in characters:\n";
    for (const Finding& f : group)
      out += "    " + place(in, f) + ": " +
             (f.kind == FindingKind::undrawable ? key_of(in, f) + ": " + text::code_list(f.sequence)
                                                : fit_item(in, f)) +
             "\n";
  }
  for (size_t k = 0; k < in.fonts.size(); ++k) {
    const std::string& label = in.fonts[k].label;
    bool chars = false, fit = false;
    while (here(k)) {
      const std::span<const Finding> group = take_group(all, at);
      const FindingKind kind = group[0].kind;
      if (kind == FindingKind::missing || kind == FindingKind::not_in_code_page) {
        report_chars(in, group, out);
        chars = true;
        continue;
      }
      if (!chars) out += "  " + label + ": every character\n";
      chars = fit = true;
      out += "  " + label + ": " +
             (kind == FindingKind::too_wide
                  ? counted(group.size(), "string wider than its limit",
                            "strings wider than their limits")
                  : counted(group.size(), "string of more lines than its limit",
                            "strings of more lines than their limit")) +
             ":\n";
      for (const Finding& f : group) out += "    " + place(in, f) + ": " + fit_item(in, f) + "\n";
    }
    if (!chars) out += "  " + label + ": every character\n";
    if (!fit && in.check.files[file].fit_checked) out += "  " + label + ": every string fits\n";
  }
}

const char* kind_name(FindingKind kind) {
  switch (kind) {
    case FindingKind::undrawable:
      return "undrawable";
    case FindingKind::too_wide:
      return "too_wide";
    case FindingKind::not_in_code_page:
      return "not_in_code_page";
    case FindingKind::missing:
      return "missing";
    case FindingKind::too_many_lines:
      return "too_many_lines";
  }
  return "";
}

using Json = nlohmann::ordered_json;

Json finding_json(const StringsReportInput& in, const Finding& f) {
  const text::DisplayString& s = string_of(in, f);
  Json j = {{"kind", kind_name(f.kind)},
            {"file", in.catalogues[f.file].name},
            {"line", s.line ? Json(s.line) : Json()},
            {"offset", !s.line && s.offset ? Json(s.offset) : Json()},
            {"key", s.key},
            {"text", s.text},
            {"font", f.font ? Json(in.fonts[*f.font].block) : Json()}};
  switch (f.kind) {
    case FindingKind::undrawable:
      j["sequence"] = Json::array();
      for (const char32_t c : f.sequence) j["sequence"].push_back(uint32_t{c});
      break;
    case FindingKind::not_in_code_page:
    case FindingKind::missing:
      j["code"] = uint32_t{f.character};
      j["character"] = cli::utf8_encode(f.character);
      break;
    case FindingKind::too_wide:
      j["width"] = f.size;
      j["limit"] = f.limit;
      j["unit"] = f.unit == text::WidthUnit::pixel ? "pixel" : "character";
      break;
    case FindingKind::too_many_lines:
      j["lines"] = f.size;
      j["height"] = f.height;
      j["limit"] = f.limit;
      break;
  }
  j["message"] = finding_text(in, f);
  return j;
}

}  // namespace

std::string strings_report(const StringsReportInput& in) {
  std::string out;
  size_t at = 0;
  for (size_t file = 0; file < in.catalogues.size(); ++file) report_file(in, file, at, out);
  return out;
}

std::string strings_quiet_report(const StringsReportInput& in) {
  std::string out;
  for (const Finding& f : in.check.findings) {
    const std::string byte = byte_of(in, f);
    out += file_line(in, f) + ": error: " + (byte.empty() ? "" : byte + ": ") +
           finding_text(in, f) + "\n";
  }
  for (const Problem& p : in.result.problems)
    out += strf("%s: error: storage index %u, %s: %s\n", in.image.c_str(), p.index, p.field.c_str(),
                p.text.c_str());
  return out;
}

std::string strings_json(const StringsReportInput& in) {
  Json fonts = Json::array(), files = Json::array(), findings = Json::array(),
       problems = Json::array();
  for (const CheckedFont& font : in.fonts)
    fonts.push_back({{"block", font.block},
                     {"name", font.name.empty() ? Json() : Json(font.name)},
                     {"encoding", font.encoding ? font.encoding->name() : "unicode"}});
  for (size_t file = 0; file < in.catalogues.size(); ++file)
    files.push_back({{"file", in.catalogues[file].name},
                     {"strings", in.catalogues[file].strings.size()},
                     {"characters", in.check.files[file].characters}});
  for (const Finding& f : in.check.findings) findings.push_back(finding_json(in, f));
  for (const Problem& p : in.result.problems)
    problems.push_back({{"index", p.index}, {"field", p.field}, {"text", p.text}});
  const Json out = {{"image", in.image},
                    {"fonts", fonts},
                    {"files", files},
                    {"findings", findings},
                    {"problems", problems}};
  // Bytes that are not UTF-8 (a file's name can hold them) become U+FFFD.
  return out.dump(2, ' ', false, Json::error_handler_t::replace) + "\n";
}

}  // namespace tralk::inspector
