// gettext .po and .pot files: the strings of msgid, msgid_plural and every
// msgstr; msgctxt, comments (obsolete entries, "#~", among them), flags and
// the header entry are never text.
#include <algorithm>
#include <optional>
#include <vector>

#include "base/text.h"
#include "cli/utf8.h"
#include "text/display_text.h"
#include "text/gettext_header.h"
#include "text/readers.h"

namespace tralk::text {

namespace {

// One keyword's string, its escapes decoded, with its continuation lines.
struct Field {
  std::string bytes;
  uint32_t line = 0;         // of its keyword
  uint32_t bad_line = 0;     // the first of its lines that is not UTF-8 text
  bool high_escape = false;  // an escape made a byte of 0x80 or more
};

struct Entry {
  std::optional<Field> context, id, plural;
  std::vector<Field> translations;  // msgstr, or msgstr[0], msgstr[1]...
  Placeholders rules = Placeholders::c_format;
};

bool is_blank(char c) {
  return c == ' ' || c == '\t';
}

std::string_view trim_front(std::string_view s) {
  while (!s.empty() && is_blank(s.front())) s.remove_prefix(1);
  return s;
}

bool is_octal(char c) {
  return c >= '0' && c <= '7';
}

// What a message shows of a word that is not a keyword: at most 40 bytes.
std::string shown(std::string_view word) {
  return in_quotes(word.size() > 40 ? std::string(word.substr(0, 40)) + "..." : std::string(word));
}

class PoReader {
 public:
  PoReader(const std::string& name, std::string_view bytes)
      : cat_{name, CatalogueFormat::po, {}}, bytes_(bytes) {}

  Outcome<Catalogue> read() {
    if (bytes_.starts_with("\xEF\xBB\xBF")) bytes_.remove_prefix(3);
    while (!bytes_.empty()) {
      const size_t end = bytes_.find('\n');
      std::string_view line = bytes_.substr(0, end);
      bytes_.remove_prefix(end == std::string_view::npos ? bytes_.size() : end + 1);
      if (line.ends_with('\r')) line.remove_suffix(1);
      ++line_;
      if (Status parsed = parse_line(trim_front(line)); !parsed.ok()) return parsed.failure();
    }
    if (Status finished = finish_entry(); !finished.ok()) return finished.failure();
    return std::move(cat_);
  }

 private:
  Failure fault(const std::string& what) const { return damaged(cat_.name, line_, what); }

  Status parse_line(std::string_view line) {
    if (line.empty()) return entry_.translations.empty() ? Status{} : finish_entry();
    if (line[0] == '#') return parse_comment(line);
    if (line[0] == '"') {
      if (!current_) return fault("a string without a keyword before it");
      return parse_string(line, *current_);
    }
    const size_t end = line.find_first_of(" \t\"");
    return parse_keyword(line.substr(0, end),
                         end == std::string_view::npos ? std::string_view() : line.substr(end));
  }

  // Comments and obsolete entries ("#~") are skipped; flags ("#,") say which
  // placeholders the next entry's strings hold.
  Status parse_comment(std::string_view line) {
    current_ = nullptr;
    if (!entry_.translations.empty())
      if (Status finished = finish_entry(); !finished.ok()) return finished;
    if (!line.starts_with("#,")) return {};
    line.remove_prefix(2);
    while (!line.empty()) {
      const size_t comma = line.find(',');
      std::string_view flag = trim_front(line.substr(0, comma));
      while (!flag.empty() && is_blank(flag.back())) flag.remove_suffix(1);
      line.remove_prefix(comma == std::string_view::npos ? line.size() : comma + 1);
      if (flag == "no-c-format") next_rules_ = Placeholders::none;
      if (flag == "qt-format" || flag == "qt-plural-format") next_rules_ = Placeholders::qt_format;
    }
    return {};
  }

  Status parse_keyword(std::string_view word, std::string_view rest) {
    Field* field = nullptr;
    if (word == "msgctxt" || word == "msgid") {
      if (!entry_.translations.empty())
        if (Status finished = finish_entry(); !finished.ok()) return finished;
      if (!entry_.context && !entry_.id) entry_.rules = next_rules_;
      if (word == "msgctxt") {
        if (entry_.context || entry_.id)
          return fault("msgctxt inside an entry; it comes before the entry's msgid");
        field = &entry_.context.emplace();
      } else {
        if (entry_.id)
          return fault("a second msgid; the entry of line " + std::to_string(entry_.id->line) +
                       " has no msgstr");
        field = &entry_.id.emplace();
      }
    } else if (word == "msgid_plural") {
      if (!entry_.id || entry_.plural || !entry_.translations.empty())
        return fault("msgid_plural without a msgid just before it");
      field = &entry_.plural.emplace();
    } else if (word.starts_with("msgstr")) {
      Outcome<Field*> translation = start_translation(word);
      if (!translation.ok()) return translation.failure();
      field = translation.value();
    } else {
      return fault("unknown keyword " + shown(word));
    }
    field->line = line_;
    current_ = field;
    rest = trim_front(rest);
    if (rest.empty()) return fault(std::string(word) + " without its string");
    return parse_string(rest, *field);
  }

  // msgstr in an entry of one form, msgstr[N] in order in an entry with
  // msgid_plural.
  Outcome<Field*> start_translation(std::string_view word) {
    if (!entry_.id) return fault(std::string(word) + " without a msgid before it");
    const size_t n = entry_.translations.size();
    if (word == "msgstr") {
      if (entry_.plural)
        return fault("an entry with msgid_plural takes msgstr[0], msgstr[1]..., not msgstr");
      if (n > 0) return fault("a second msgstr");
    } else {
      if (!entry_.plural) return fault(shown(word) + " in an entry without msgid_plural");
      if (word != "msgstr[" + std::to_string(n) + "]")
        return fault(shown(word) + " where msgstr[" + std::to_string(n) + "] comes next");
    }
    return &entry_.translations.emplace_back();
  }

  // A quoted string, which must close on its line; its escapes decoded.
  Status parse_string(std::string_view s, Field& into) {
    if (s[0] != '"') return fault("a string must start with a double quote");
    size_t i = 1;
    for (; i < s.size() && s[i] != '"'; ++i) {
      if (s[i] != '\\') {
        // Up to the next quote or escape at once.
        size_t end = i + 1;
        while (end < s.size() && s[end] != '"' && s[end] != '\\') ++end;
        into.bytes.append(s, i, end - i);
        i = end - 1;
        continue;
      }
      if (++i == s.size()) break;
      if (Status decoded = decode_escape(s, i, into); !decoded.ok()) return decoded;
    }
    if (i >= s.size()) return fault("the string has no closing quote");
    if (!trim_front(s.substr(i + 1)).empty()) return fault("text after the string's closing quote");
    if (!into.bad_line && !cli::is_utf8(s.substr(1, i - 1))) into.bad_line = line_;
    return {};
  }

  // The escape whose letter is at s[i]: C's, octal of one to three digits
  // (at most \377) and hexadecimal of one or two digits, each a byte. i ends
  // on the escape's last character.
  Status decode_escape(std::string_view s, size_t& i, Field& into) {
    std::string& out = into.bytes;
    static constexpr std::string_view kLetters = "ntrabfv\\\"'?";
    static constexpr std::string_view kBytes = "\n\t\r\a\b\f\v\\\"'?";
    const char e = s[i];
    if (const size_t at = kLetters.find(e); at != std::string_view::npos) {
      out += kBytes[at];
      return {};
    }
    if (is_octal(e)) {
      unsigned value = 0;
      size_t n = 0;
      for (; n < 3 && i + n < s.size() && is_octal(s[i + n]); ++n)
        value = value * 8 + (s[i + n] - '0');
      if (value > 0377)
        return fault("octal escape " + in_quotes("\\" + std::string(s.substr(i, n))) +
                     " is above \\377");
      out += static_cast<char>(value);
      into.high_escape |= value >= 0x80;
      i += n - 1;
      return {};
    }
    if (e == 'x') {
      unsigned value = 0;
      size_t n = 0;
      for (; n < 2 && i + 1 + n < s.size() && digit_value(s[i + 1 + n]) < 16; ++n)
        value = value * 16 + digit_value(s[i + 1 + n]);
      if (n == 0) return fault("\\x without a hexadecimal digit");
      out += static_cast<char>(value);
      into.high_escape |= value >= 0x80;
      i += n;
      return {};
    }
    if (static_cast<unsigned char>(e) > 0x20 && static_cast<unsigned char>(e) < 0x7F)
      return fault("unknown escape " + in_quotes("\\" + std::string(1, e)));
    return fault("a backslash before a character that no escape takes");
  }

  // Adds the strings of the entry read and starts the next.
  Status finish_entry() {
    Entry entry = std::move(entry_);
    entry_ = {};
    current_ = nullptr;
    next_rules_ = Placeholders::c_format;
    if (!entry.id) {
      if (entry.context) return damaged(cat_.name, entry.context->line, "msgctxt without a msgid");
      return {};
    }
    if (entry.translations.empty())
      return damaged(cat_.name, entry.id->line, "the entry has no msgstr");
    // The header: metadata, whose charset must be UTF-8.
    if (!entry.context && entry.id->bytes.empty()) {
      const Field& header = entry.translations[0];
      if (const std::optional<std::string> charset = foreign_charset(header.bytes))
        return damaged(cat_.name, header.line, foreign_charset_words(*charset));
      return {};
    }
    if (Status sound = check_utf8(*entry.id); !sound.ok()) return sound;
    const std::string_view key = entry.id->bytes;
    if (Status added = add(*entry.id, key, entry.rules); !added.ok()) return added;
    if (entry.plural)
      if (Status added = add(*entry.plural, key, entry.rules); !added.ok()) return added;
    for (const Field& t : entry.translations)
      if (Status added = add(t, key, entry.rules); !added.ok()) return added;
    return {};
  }

  // Its lines are UTF-8 text, and so is what they decode to unless an
  // escape made a byte that is not ASCII.
  Status check_utf8(const Field& f) const {
    if (f.bad_line) return not_utf8(cat_.name, f.bad_line);
    if (f.high_escape && !cli::is_utf8(f.bytes))
      return damaged(cat_.name, f.line, "its escapes make bytes that are not UTF-8 text");
    return {};
  }

  Status add(const Field& f, std::string_view key, Placeholders rules) {
    if (Status sound = check_utf8(f); !sound.ok()) return sound;
    return add_message(cat_, f.bytes, rules, {key, f.line, 0, std::nullopt});
  }

  Catalogue cat_;
  std::string_view bytes_;
  uint32_t line_ = 0;
  Entry entry_;
  Field* current_ = nullptr;  // where a string on a line of its own goes
  Placeholders next_rules_ = Placeholders::c_format;
};

}  // namespace

Outcome<Catalogue> read_po(const std::string& name, std::string_view bytes) {
  return PoReader(name, bytes).read();
}

}  // namespace tralk::text
