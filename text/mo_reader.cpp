// gettext's compiled .mo files, in either byte order: a header, a table of
// the original strings and one of their translations, each entry a length
// and an offset. Every size and offset is checked before it is used.
#include <cstdint>
#include <optional>
#include <vector>

#include "base/text.h"
#include "cli/utf8.h"
#include "text/display_text.h"
#include "text/gettext_header.h"
#include "text/readers.h"

namespace tralk::text {

namespace {

constexpr size_t kHeaderBytes = 28;
constexpr char kContextEnd = '\x04';  // between a context and its msgid

// One string of the file: where it is and its bytes (without the NUL).
struct MoString {
  uint32_t offset = 0;
  std::string_view bytes;
};

class MoReader {
 public:
  MoReader(const std::string& name, std::string_view bytes)
      : cat_{name, CatalogueFormat::mo, {}}, bytes_(bytes) {}

  Outcome<Catalogue> read() {
    // Its offsets are 32 bits.
    if (bytes_.size() > UINT32_MAX)
      return Failure{Fault::too_large,
                     in_quotes(cat_.name) + " is larger than the 4 GiB a .mo file can be"};
    if (bytes_.size() >= 4 && !magic())
      return fault(0,
                   "not a compiled gettext catalogue: its first four bytes are not 0x950412DE in "
                   "either byte order");
    if (bytes_.size() < kHeaderBytes)
      return fault(static_cast<uint32_t>(bytes_.size()),
                   "the file ends inside its header of " + std::to_string(kHeaderBytes) + " bytes");
    const uint32_t revision = u32(4);
    if (revision >> 16 > 1)
      return fault(4, "revision " + std::to_string(revision >> 16) + "." +
                          std::to_string(revision & 0xFFFF) + " is not read (0 and 1 are)");
    const uint32_t count = u32(8);
    if (Status sound = check_table(u32(12), count, "original strings"); !sound.ok())
      return sound.failure();
    if (Status sound = check_table(u32(16), count, "translations"); !sound.ok())
      return sound.failure();
    for (uint32_t i = 0; i < count; ++i)
      if (Status added = add_entry(i); !added.ok()) return added.failure();
    return std::move(cat_);
  }

 private:
  Failure fault(uint32_t offset, const std::string& what) const {
    return damaged(cat_.name, 0, what, offset);
  }

  bool magic() {
    if (bytes_.starts_with("\xDE\x12\x04\x95")) return true;
    big_endian_ = true;
    return bytes_.starts_with("\x95\x04\x12\xDE");
  }

  // The 32-bit number at at, which the caller has checked the file holds.
  uint32_t u32(size_t at) const {
    uint32_t v = 0;
    for (size_t i = 0; i < 4; ++i) {
      const auto byte = static_cast<uint8_t>(bytes_[at + (big_endian_ ? i : 3 - i)]);
      v = v << 8 | byte;
    }
    return v;
  }

  Status check_table(uint32_t at, uint32_t count, const char* what) const {
    if (uint64_t{at} + uint64_t{count} * 8 > bytes_.size())
      return fault(at, "the table of " + std::to_string(count) + " " + what +
                           " reaches past the end of the file (" + std::to_string(bytes_.size()) +
                           " bytes)");
    return {};
  }

  // The string that the table entry at entry names, which must lie in the
  // file and end in a NUL byte.
  Outcome<MoString> string_at(uint32_t entry, uint32_t index, const char* what) const {
    const uint32_t length = u32(entry);
    const uint32_t offset = u32(entry + 4);
    if (uint64_t{offset} + length >= bytes_.size())
      return fault(entry, std::string(what) + " " + std::to_string(index) + " (" +
                              std::to_string(length) + " bytes at byte " + std::to_string(offset) +
                              ") reaches past the end of the file");
    if (bytes_[offset + length] != '\0')
      return fault(offset + length,
                   std::string(what) + " " + std::to_string(index) + " does not end in a NUL byte");
    return MoString{offset, bytes_.substr(offset, length)};
  }

  // The parts of s between NUL bytes.
  static std::vector<MoString> split(const MoString& s) {
    std::vector<MoString> parts;
    size_t from = 0;
    for (;;) {
      const size_t nul = s.bytes.find('\0', from);
      parts.push_back({static_cast<uint32_t>(s.offset + from), s.bytes.substr(from, nul - from)});
      if (nul == std::string_view::npos) return parts;
      from = nul + 1;
    }
  }

  Status add_entry(uint32_t i) {
    const Outcome<MoString> original = string_at(u32(12) + i * 8, i, "original string");
    if (!original.ok()) return original.failure();
    const Outcome<MoString> translation = string_at(u32(16) + i * 8, i, "translation");
    if (!translation.ok()) return translation.failure();
    std::vector<MoString> ids = split(original.value());
    // A context comes first, ended by EOT.
    const size_t context_end = ids[0].bytes.find(kContextEnd);
    const bool has_context = context_end != std::string_view::npos;
    if (has_context) {
      ids[0].bytes.remove_prefix(context_end + 1);
      ids[0].offset += static_cast<uint32_t>(context_end + 1);
    }
    if (!has_context && ids[0].bytes.empty()) {  // the header
      if (const std::optional<std::string> charset = foreign_charset(translation->bytes))
        return fault(translation->offset, foreign_charset_words(*charset));
      return {};
    }
    std::vector<MoString> strings = std::move(ids);
    for (const MoString& form : split(translation.value())) strings.push_back(form);
    const std::string_view key = strings[0].bytes;
    for (const MoString& s : strings) {
      if (!cli::is_utf8(s.bytes)) return not_utf8(cat_.name, 0, s.offset);
      if (Status added =
              add_message(cat_, s.bytes, Placeholders::c_format, {key, 0, s.offset, std::nullopt});
          !added.ok())
        return added;
    }
    return {};
  }

  Catalogue cat_;
  std::string_view bytes_;
  bool big_endian_ = false;
};

}  // namespace

Outcome<Catalogue> read_mo(const std::string& name, std::string_view bytes) {
  return MoReader(name, bytes).read();
}

}  // namespace tralk::text
