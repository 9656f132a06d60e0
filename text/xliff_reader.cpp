// XLIFF 1.2 and 2.0: the <source> and <target> of each unit (1.2's
// <trans-unit>, 2.0's <unit>, whose segments and ignorables are joined).
// Inline elements that wrap text (<g>, <mrk>, <pc>, <sub>) keep it; inline
// codes (<x/>, <bx/>, <ex/>, <ph>, <bpt>, <ept>, <it>, <sc/>, <ec/>, <sm/>,
// <em/>) are not text, nor are notes, <alt-trans> and match suggestions. A
// width limit comes from 1.2's maxwidth (size-unit pixel, the default, or
// char) and from 2.0's slr:sizeRestriction under the xliff:codepoints
// profile.
#include <vector>

#include "base/text.h"
#include "cli/utf8.h"
#include "text/display_text.h"
#include "text/readers.h"
#include "text/xml_reader.h"

namespace tralk::text {

namespace {

constexpr std::string_view kSizeRestriction = "urn:oasis:names:tc:xliff:sizerestriction:2.0";

struct XliffPiece {
  std::string text;
  uint32_t line = 0;
  bool seen = false;
};

std::optional<uint32_t> parse_count(std::string_view s) {
  if (s.empty() || s.size() > 9) return std::nullopt;
  uint32_t n = 0;
  for (const char c : s) {
    if (c < '0' || c > '9') return std::nullopt;
    n = n * 10 + static_cast<uint32_t>(c - '0');
  }
  return n;
}

// 2.0's <cp hex="0007"/>: a character that XML cannot hold.
std::optional<char32_t> code_point(std::string_view hex) {
  if (hex.empty() || hex.size() > 6) return std::nullopt;
  uint32_t code = 0;
  for (const char c : hex) {
    if (digit_value(c) >= 16) return std::nullopt;
    code = code * 16 + digit_value(c);
  }
  if (code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return std::nullopt;
  return code;
}

class XliffHandler : public XmlHandler {
 public:
  explicit XliffHandler(Catalogue& cat) : cat_(cat) {}

  Status start(XmlName name, const XmlAttributes& attributes, uint32_t line) override {
    const std::string parent = path_.empty() ? std::string() : path_.back();
    path_.emplace_back(name.local);
    if (path_.size() == 1) return start_root(name, attributes);
    if (piece_depth_) return start_inline(name, attributes);
    if (name.local == "file") codepoints_ = false;
    if (version_ == 2 && name.local == "profiles" && name.ns == kSizeRestriction)
      codepoints_ = attributes.get("generalProfile") == "xliff:codepoints";
    if (name.local == (version_ == 1 ? "trans-unit" : "unit")) return start_unit(attributes);
    const bool piece =
        in_unit_ && (name.local == "source" || name.local == "target") &&
        (version_ == 1 ? parent == "trans-unit" : parent == "segment" || parent == "ignorable");
    if (piece) {
      piece_ = XliffPiece{{}, line, true};
      piece_is_target_ = name.local == "target";
      piece_depth_ = path_.size();
      text_.assign(1, true);
    }
    return {};
  }

  Status end(XmlName name) override {
    const size_t depth = path_.size();
    path_.pop_back();
    if (piece_depth_ && depth > piece_depth_) {
      text_.pop_back();
      return {};
    }
    if (piece_depth_ == depth) {
      piece_depth_ = 0;
      return end_piece();
    }
    if (in_unit_ && name.local == (version_ == 1 ? "trans-unit" : "unit")) {
      in_unit_ = false;
      if (version_ == 2) {
        if (Status added = add(unit_source_); !added.ok()) return added;
        return add(unit_target_);
      }
    }
    return {};
  }

  void text(std::string_view utf8) override {
    if (piece_depth_ && text_.back()) piece_.text += utf8;
  }

 private:
  Status start_root(XmlName name, const XmlAttributes& attributes) {
    if (name.local != "xliff")
      return Failure{Fault::format,
                     "the root element is <" + std::string(name.local) + ">, not <xliff>"};
    const std::string_view version = attributes.get("version").value_or("");
    if (version.starts_with("1.")) {
      version_ = 1;
    } else if (version.starts_with("2.")) {
      version_ = 2;
    } else {
      return Failure{Fault::format, "XLIFF version " + in_quotes(version.substr(0, 20)) +
                                        " is not read (1.2 and 2.0 are)"};
    }
    return {};
  }

  Status start_unit(const XmlAttributes& attributes) {
    in_unit_ = true;
    unit_source_ = {};
    unit_target_ = {};
    limit_.reset();
    key_ = attributes.get(version_ == 1 ? "resname" : "name")
               .value_or(attributes.get("id").value_or(""));
    return version_ == 1 ? read_maxwidth(attributes) : read_size_restriction(attributes);
  }

  Status read_maxwidth(const XmlAttributes& attributes) {
    const std::optional<std::string_view> width = attributes.get("maxwidth");
    if (!width) return {};
    const std::optional<uint32_t> value = parse_count(*width);
    if (!value)
      return Failure{Fault::format,
                     "maxwidth " + in_quotes(width->substr(0, 20)) + " is not a number"};
    const std::string_view unit = attributes.get("size-unit").value_or("pixel");
    if (unit == "pixel") limit_ = WidthLimit{*value, WidthUnit::pixel};
    if (unit == "char") limit_ = WidthLimit{*value, WidthUnit::character};
    return {};
  }

  Status read_size_restriction(const XmlAttributes& attributes) {
    const std::optional<std::string_view> size =
        attributes.get("sizeRestriction", kSizeRestriction);
    if (!size || !codepoints_) return {};
    const std::optional<uint32_t> value = parse_count(*size);
    if (!value)
      return Failure{Fault::format, "slr:sizeRestriction " + in_quotes(size->substr(0, 20)) +
                                        " is not a number of characters"};
    limit_ = WidthLimit{*value, WidthUnit::character};
    return {};
  }

  // An element inside a source or target: its text is text unless it is an
  // inline code; a <sub> inside one holds text again.
  Status start_inline(XmlName name, const XmlAttributes& attributes) {
    bool text = text_.back();
    if (version_ == 1 &&
        (name.local == "ph" || name.local == "bpt" || name.local == "ept" || name.local == "it"))
      text = false;
    if (version_ == 1 && name.local == "sub") text = true;
    text_.push_back(text);
    if (version_ == 2 && name.local == "cp" && text) {
      const std::string_view hex = attributes.get("hex").value_or("");
      const std::optional<char32_t> c = code_point(hex);
      if (!c)
        return Failure{Fault::format,
                       "<cp hex=\"" + std::string(hex.substr(0, 20)) + "\"> is not a character"};
      piece_.text += cli::utf8_encode(*c);
    }
    return {};
  }

  Status end_piece() {
    if (version_ == 1) return add(piece_);
    XliffPiece& whole = piece_is_target_ ? unit_target_ : unit_source_;
    if (!whole.seen) whole.line = piece_.line;
    whole.seen = true;
    whole.text += piece_.text;
    return {};
  }

  Status add(const XliffPiece& p) {
    if (!p.seen) return {};
    return add_message(cat_, p.text, Placeholders::none, {key_, p.line, 0, limit_});
  }

  Catalogue& cat_;
  int version_ = 0;
  std::vector<std::string> path_;  // the open elements' local names
  bool codepoints_ = false;        // 2.0: the file's sizes count characters
  bool in_unit_ = false;
  std::string key_;
  std::optional<WidthLimit> limit_;
  XliffPiece unit_source_, unit_target_;  // 2.0: the unit's segments joined
  XliffPiece piece_;                      // the source or target being read
  bool piece_is_target_ = false;
  size_t piece_depth_ = 0;  // its depth; 0 outside one
  std::vector<bool> text_;  // for each element open inside it: whether its text is text
};

}  // namespace

Outcome<Catalogue> read_xliff(const std::string& name, std::string_view bytes) {
  Catalogue cat{name, CatalogueFormat::xliff, {}};
  XliffHandler handler(cat);
  if (Status read = parse_xml(name, bytes, handler); !read.ok()) return read.failure();
  return cat;
}

}  // namespace tralk::text
