// JSON catalogues (i18next and the like) and ARB files: every string value
// at any depth, named by the path of keys to it ("menu.settings.title",
// "items[2].label"); keys are never text, nor, in ARB files, the values of
// "@" keys, which are metadata. Read through nlohmann-json's SAX parser over
// the bytes, whose position gives each value's line.
#include <iterator>
#include <nlohmann/json.hpp>
#include <vector>

#include "text/display_text.h"
#include "text/readers.h"

namespace tralk::text {

namespace {

// A byte iterator over the file that leaves where the parser is in *at: the
// parser reads a string value to its closing quote before it reports it,
// and JSON strings hold no line breaks.
class Cursor {
 public:
  using iterator_category = std::forward_iterator_tag;
  using value_type = char;
  using difference_type = std::ptrdiff_t;
  using pointer = const char*;
  using reference = const char&;

  Cursor(const char* p, const char** at) : p_(p), at_(at) {}
  reference operator*() const { return *p_; }
  Cursor& operator++() {
    *at_ = ++p_;
    return *this;
  }
  Cursor operator++(int) {
    Cursor before = *this;
    ++*this;
    return before;
  }
  bool operator==(const Cursor& other) const { return p_ == other.p_; }
  bool operator!=(const Cursor& other) const { return p_ != other.p_; }

 private:
  const char* p_;
  const char** at_;
};

// One open object or array.
struct Level {
  bool array = false;
  size_t index = 0;        // the next item's, in an array
  size_t path_length = 0;  // of the path to the level itself
  bool metadata = false;   // an ARB "@" key's value, or inside one
};

class JsonStrings : public nlohmann::json_sax<nlohmann::json> {
 public:
  JsonStrings(Catalogue& cat, std::string_view bytes, CatalogueFormat format)
      : cat_(cat),
        begin_(bytes.data()),
        at_(bytes.data()),
        counted_(bytes.data()),
        arb_(format == CatalogueFormat::arb) {}

  const char** at() { return &at_; }
  std::optional<Failure>& failure() { return failure_; }

  bool null() override { return other_value(); }
  bool boolean(bool) override { return other_value(); }
  bool number_integer(number_integer_t) override { return other_value(); }
  bool number_unsigned(number_unsigned_t) override { return other_value(); }
  bool number_float(number_float_t, const string_t&) override { return other_value(); }
  bool binary(binary_t&) override { return other_value(); }

  bool string(string_t& s) override {
    if (value()) return true;  // metadata
    const Status added = add_message(cat_, s, arb_ ? Placeholders::icu : Placeholders::i18next,
                                     {path_, line(), 0, std::nullopt});
    if (!added.ok()) failure_ = added.failure();
    return added.ok();
  }

  bool start_object(std::size_t) override { return open(false); }
  bool start_array(std::size_t) override { return open(true); }
  bool end_object() override { return close(); }
  bool end_array() override { return close(); }

  bool key(string_t& k) override {
    Level& level = levels_.back();
    path_.resize(level.path_length);
    if (!path_.empty()) path_ += '.';
    path_ += k;
    next_is_metadata_ = level.metadata || (arb_ && k.starts_with('@'));
    return true;
  }

  bool parse_error(std::size_t, const std::string& token,
                   const nlohmann::detail::exception& e) override {
    failure_ = damaged(cat_.name, line(), "broken JSON: " + reason(e.what(), token));
    return false;
  }

 private:
  // A value that is not text.
  bool other_value() {
    value();
    return true;
  }

  // A value starts: in an array, the next item's path. Whether it is
  // metadata.
  bool value() {
    if (levels_.empty()) return false;
    Level& level = levels_.back();
    if (!level.array) return next_is_metadata_;
    path_.resize(level.path_length);
    path_ += "[" + std::to_string(level.index++) + "]";
    return level.metadata;
  }

  bool open(bool array) {
    const bool metadata = value();
    levels_.push_back({array, 0, path_.size(), metadata});
    return true;
  }

  bool close() {
    levels_.pop_back();
    return true;
  }

  // The line of the last byte read.
  uint32_t line() {
    const char* last = at_ > begin_ ? at_ - 1 : at_;
    for (; counted_ < last; ++counted_)
      if (*counted_ == '\n') ++line_;
    return line_;
  }

  // nlohmann's message without its tag, place and the token it read:
  // "syntax error while parsing value - invalid string: missing closing quote".
  static std::string reason(std::string what, const std::string& token) {
    if (what.starts_with('[')) what.erase(0, what.find("] ") + 2);
    const size_t place = what.find("parse error at line ");
    if (place == 0) what.erase(0, what.find(": ") + 2);
    const std::string read = "; last read: '" + token + "'";
    if (const size_t at = what.find(read); at != std::string::npos) what.erase(at, read.size());
    return what;
  }

  Catalogue& cat_;
  const char* begin_;
  const char* at_;       // just past the last byte the parser read
  const char* counted_;  // the lines before it are counted
  uint32_t line_ = 1;
  bool arb_;
  std::vector<Level> levels_;
  std::string path_;
  bool next_is_metadata_ = false;
  std::optional<Failure> failure_;
};

}  // namespace

Outcome<Catalogue> read_json(const std::string& name, std::string_view bytes,
                             CatalogueFormat format) {
  Catalogue cat{name, format, {}};
  JsonStrings strings(cat, bytes, format);
  const Cursor begin(bytes.data(), strings.at());
  const Cursor end(bytes.data() + bytes.size(), strings.at());
  if (!nlohmann::json::sax_parse(begin, end, &strings)) {
    if (strings.failure()) return strings.failure().value();
    return damaged(name, 1, "broken JSON");
  }
  return cat;
}

}  // namespace tralk::text
