#include "inspect/strings_report.h"

#include <rapidjson/prettywriter.h>
#include <rapidjson/stringbuffer.h>

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

// Where a string is: "de.po:14", or the file alone where it has no lines.
std::string place(const StringsReportInput& in, const Finding& f) {
  const uint32_t line = string_of(in, f).line;
  return in.catalogues[f.file].name + (line ? ":" + std::to_string(line) : "");
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

// Text for JSON: UTF-8 as it is; a name that is not UTF-8 (a file's) with
// each byte of 0x80 and above as U+FFFD.
std::string json_text(std::string_view s) {
  if (cli::utf8_decode(s)) return std::string(s);
  std::string out;
  for (const char c : s) out += static_cast<unsigned char>(c) < 0x80 ? std::string(1, c) : "\uFFFD";
  return out;
}

using JsonWriter = rapidjson::PrettyWriter<rapidjson::StringBuffer>;

void json_string(JsonWriter& w, std::string_view s) {
  const std::string text = json_text(s);
  w.String(text.data(), static_cast<rapidjson::SizeType>(text.size()));
}

void json_finding(JsonWriter& w, const StringsReportInput& in, const Finding& f) {
  const text::DisplayString& s = string_of(in, f);
  w.StartObject();
  w.Key("kind");
  w.String(kind_name(f.kind));
  w.Key("file");
  json_string(w, in.catalogues[f.file].name);
  w.Key("line");
  if (s.line)
    w.Uint(s.line);
  else
    w.Null();
  w.Key("key");
  json_string(w, s.key);
  w.Key("text");
  json_string(w, s.text);
  w.Key("font");
  if (f.font)
    w.Uint64(in.fonts[*f.font].block);
  else
    w.Null();
  switch (f.kind) {
    case FindingKind::undrawable:
      w.Key("sequence");
      w.StartArray();
      for (const char32_t c : f.sequence) w.Uint(c);
      w.EndArray();
      break;
    case FindingKind::not_in_code_page:
    case FindingKind::missing:
      w.Key("code");
      w.Uint(f.character);
      w.Key("character");
      json_string(w, cli::utf8_encode(f.character));
      break;
    case FindingKind::too_wide:
      w.Key("width");
      w.Uint64(f.size);
      w.Key("limit");
      w.Uint(f.limit);
      w.Key("unit");
      w.String(f.unit == text::WidthUnit::pixel ? "pixel" : "character");
      break;
    case FindingKind::too_many_lines:
      w.Key("lines");
      w.Uint64(f.size);
      w.Key("height");
      w.Uint64(f.height);
      w.Key("limit");
      w.Uint(f.limit);
      break;
  }
  w.Key("message");
  json_string(w, finding_text(in, f));
  w.EndObject();
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
  for (const Finding& f : in.check.findings)
    out += place(in, f) + ": error: " + finding_text(in, f) + "\n";
  for (const Problem& p : in.result.problems)
    out += strf("%s: error: storage index %u, %s: %s\n", in.image.c_str(), p.index, p.field.c_str(),
                p.text.c_str());
  return out;
}

std::string strings_json(const StringsReportInput& in) {
  rapidjson::StringBuffer buffer;
  JsonWriter w(buffer);
  w.SetIndent(' ', 2);
  w.StartObject();
  w.Key("image");
  json_string(w, in.image);
  w.Key("fonts");
  w.StartArray();
  for (const CheckedFont& font : in.fonts) {
    w.StartObject();
    w.Key("block");
    w.Uint64(font.block);
    w.Key("name");
    if (font.name.empty())
      w.Null();
    else
      json_string(w, font.name);
    w.Key("encoding");
    json_string(w, font.encoding ? font.encoding->name() : "unicode");
    w.EndObject();
  }
  w.EndArray();
  w.Key("files");
  w.StartArray();
  for (size_t file = 0; file < in.catalogues.size(); ++file) {
    w.StartObject();
    w.Key("file");
    json_string(w, in.catalogues[file].name);
    w.Key("strings");
    w.Uint64(in.catalogues[file].strings.size());
    w.Key("characters");
    w.Uint64(in.check.files[file].characters);
    w.EndObject();
  }
  w.EndArray();
  w.Key("findings");
  w.StartArray();
  for (const Finding& f : in.check.findings) json_finding(w, in, f);
  w.EndArray();
  w.Key("problems");
  w.StartArray();
  for (const Problem& p : in.result.problems) {
    w.StartObject();
    w.Key("index");
    w.Uint(p.index);
    w.Key("field");
    json_string(w, p.field);
    w.Key("text");
    json_string(w, p.text);
    w.EndObject();
  }
  w.EndArray();
  w.EndObject();
  return std::string(buffer.GetString(), buffer.GetSize()) + "\n";
}

}  // namespace tralk::inspector
