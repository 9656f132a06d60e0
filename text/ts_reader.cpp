// Qt Linguist's .ts files: each message's <source> and its <translation>
// (every <numerusform> and <lengthvariant> of it). Context names, comments
// (<comment>, <extracomment>, <translatorcomment>), <oldsource> and
// <location> are not text, nor are obsolete and vanished messages, which
// the program no longer has; unfinished translations are.
#include <vector>

#include "base/text.h"
#include "cli/utf8.h"
#include "text/display_text.h"
#include "text/readers.h"
#include "text/xml_reader.h"

namespace tralk::text {

namespace {

struct TsPiece {
  std::string text;
  uint32_t line = 0;
  bool has_forms = false;  // a <translation> or <numerusform> holding others
};

// The character that Qt writes as <byte value="x1b"/>: hexadecimal after
// an "x", decimal otherwise.
std::optional<char32_t> byte_value(std::string_view value) {
  const bool hex = value.starts_with('x');
  if (hex) value.remove_prefix(1);
  if (value.empty() || value.size() > 6) return std::nullopt;
  uint32_t code = 0;
  for (const char c : value) {
    const unsigned d = digit_value(c);
    if (d >= (hex ? 16u : 10u)) return std::nullopt;
    code = code * (hex ? 16 : 10) + d;
  }
  if (code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return std::nullopt;
  return code;
}

class TsHandler : public XmlHandler {
 public:
  explicit TsHandler(Catalogue& cat) : cat_(cat) {}

  Status start(XmlName name, const XmlAttributes& attributes, uint32_t line) override {
    const std::string parent = path_.empty() ? std::string() : path_.back();
    path_.emplace_back(name.local);
    if (path_.size() == 1 && name.local != "TS")
      return Failure{Fault::format,
                     "the root element is <" + std::string(name.local) + ">, not <TS>"};
    if (name.local == "message" && parent == "context") {
      in_message_ = true;
      obsolete_ = false;
      pieces_.clear();
      open_.clear();
      return {};
    }
    if (!in_message_) return {};
    if (name.local == "byte") return add_byte(attributes);
    const bool piece =
        (name.local == "source" && parent == "message") ||
        (name.local == "translation" && parent == "message") ||
        (name.local == "numerusform" && parent == "translation") ||
        (name.local == "lengthvariant" && (parent == "translation" || parent == "numerusform"));
    if (!piece) return {};
    if (name.local == "translation") {
      const std::optional<std::string_view> type = attributes.get("type");
      obsolete_ = type == "obsolete" || type == "vanished";
    }
    if (name.local == "numerusform" || name.local == "lengthvariant")
      if (!open_.empty()) pieces_[open_.back()].has_forms = true;
    open_.push_back(pieces_.size());
    pieces_.push_back({{}, line, false});
    open_depth_.push_back(path_.size());
    return {};
  }

  Status end(XmlName name) override {
    if (!open_depth_.empty() && open_depth_.back() == path_.size()) {
      open_.pop_back();
      open_depth_.pop_back();
    }
    path_.pop_back();
    if (!in_message_ || name.local != "message" || path_.empty() || path_.back() != "context")
      return {};
    in_message_ = false;
    if (obsolete_ || pieces_.empty()) return {};
    // The source names the message.
    const std::string key = pieces_[0].text;
    for (const TsPiece& p : pieces_) {
      if (p.has_forms) continue;
      if (Status added =
              add_message(cat_, p.text, Placeholders::qt_format, {key, p.line, 0, std::nullopt});
          !added.ok())
        return added;
    }
    return {};
  }

  void text(std::string_view utf8) override {
    // Only the text directly inside the innermost piece.
    if (!open_depth_.empty() && open_depth_.back() == path_.size())
      pieces_[open_.back()].text += utf8;
  }

 private:
  Status add_byte(const XmlAttributes& attributes) {
    if (open_depth_.empty() || open_depth_.back() + 1 != path_.size()) return {};
    const std::string_view value = attributes.get("value").value_or("");
    const std::optional<char32_t> c = byte_value(value);
    if (!c)
      return Failure{Fault::format, "<byte value=\"" + std::string(value.substr(0, 20)) +
                                        "\"> is not a character"};
    pieces_[open_.back()].text += cli::utf8_encode(*c);
    return {};
  }

  Catalogue& cat_;
  std::vector<std::string> path_;  // the open elements' local names
  bool in_message_ = false;
  bool obsolete_ = false;
  std::vector<TsPiece> pieces_;     // of the message being read
  std::vector<size_t> open_;        // the pieces being read, innermost last
  std::vector<size_t> open_depth_;  // the depth of each
};

}  // namespace

Outcome<Catalogue> read_ts(const std::string& name, std::string_view bytes) {
  Catalogue cat{name, CatalogueFormat::ts, {}};
  TsHandler handler(cat);
  if (Status read = parse_xml(name, bytes, handler); !read.ok()) return read.failure();
  return cat;
}

}  // namespace tralk::text
