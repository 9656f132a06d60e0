#include "text/xml_reader.h"

#include <expat.h>

#include <algorithm>
#include <memory>

#include "base/text.h"
#include "text/display_text.h"

namespace tralk::text {

namespace {

// Between a namespace and the local name in the names expat gives.
constexpr char kSeparator = '\x01';

XmlName split_name(std::string_view name) {
  const size_t at = name.find(kSeparator);
  if (at == std::string_view::npos) return {{}, name};
  return {name.substr(0, at), name.substr(at + 1)};
}

struct ParserFree {
  void operator()(XML_ParserStruct* p) const { XML_ParserFree(p); }
};
using Parser = std::unique_ptr<XML_ParserStruct, ParserFree>;

// The state of one parse, which expat's callbacks reach through their user
// data.
struct Parse {
  XML_Parser parser = nullptr;
  XmlHandler* handler = nullptr;
  std::optional<Failure> failure;  // the handler's, which stopped the parse
  uint32_t failure_line = 0;
  bool started = false;  // an element was read

  uint32_t line() const { return static_cast<uint32_t>(XML_GetCurrentLineNumber(parser)); }
  void stop(const Status& status) {
    if (status.ok() || failure) return;
    failure = status.failure();
    failure_line = line();
    XML_StopParser(parser, XML_FALSE);
  }
};

void XMLCALL on_start(void* data, const XML_Char* name, const XML_Char** attributes) {
  auto* parse = static_cast<Parse*>(data);
  parse->started = true;
  parse->stop(parse->handler->start(split_name(name), XmlAttributes(attributes), parse->line()));
}

void XMLCALL on_end(void* data, const XML_Char* name) {
  auto* parse = static_cast<Parse*>(data);
  parse->stop(parse->handler->end(split_name(name)));
}

void XMLCALL on_text(void* data, const XML_Char* text, int length) {
  static_cast<Parse*>(data)->handler->text(std::string_view(text, static_cast<size_t>(length)));
}

// Feeds expat the bytes, in pieces its int lengths can hold.
XML_Status feed(XML_Parser parser, std::string_view bytes) {
  constexpr size_t kPiece = size_t{1} << 30;
  do {
    const size_t n = std::min(bytes.size(), kPiece);
    const bool last = n == bytes.size();
    if (XML_Parse(parser, bytes.data(), static_cast<int>(n), last ? XML_TRUE : XML_FALSE) !=
        XML_STATUS_OK)
      return XML_STATUS_ERROR;
    bytes.remove_prefix(n);
  } while (!bytes.empty());
  return XML_STATUS_OK;
}

// Stops at the first element, keeping its name.
struct RootName : XmlHandler {
  std::optional<std::string> name;
  Status start(XmlName n, const XmlAttributes&, uint32_t) override {
    name = std::string(n.local);
    return Failure{Fault::format, {}};
  }
  Status end(XmlName) override { return {}; }
  void text(std::string_view) override {}
};

}  // namespace

std::optional<std::string_view> XmlAttributes::get(std::string_view local,
                                                   std::string_view ns) const {
  for (const char** p = pairs_; p && p[0]; p += 2) {
    const XmlName name = split_name(p[0]);
    if (name.local == local && name.ns == ns) return std::string_view(p[1]);
  }
  return std::nullopt;
}

Status parse_xml(const std::string& file, std::string_view bytes, XmlHandler& handler) {
  const Parser parser(XML_ParserCreateNS(nullptr, kSeparator));
  if (!parser)
    return Failure{Fault::too_large, "cannot read " + in_quotes(file) + ": out of memory"};
  Parse parse{parser.get(), &handler, std::nullopt, 0};
  XML_SetUserData(parser.get(), &parse);
  XML_SetElementHandler(parser.get(), on_start, on_end);
  XML_SetCharacterDataHandler(parser.get(), on_text);
  if (feed(parser.get(), bytes) == XML_STATUS_OK) return {};
  if (parse.failure) {
    if (parse.failure->text.empty()) return parse.failure.value();
    return damaged(file, parse.failure_line, parse.failure->text);
  }
  const XML_Error error = XML_GetErrorCode(parser.get());
  // expat says "no element found" of a file cut short as of an empty one.
  const std::string what = error == XML_ERROR_NO_ELEMENTS && parse.started
                               ? "the file ends before its elements are closed"
                               : XML_ErrorString(error);
  return damaged(file, parse.line(), "broken XML: " + what);
}

std::optional<std::string> xml_root_name(std::string_view bytes) {
  RootName root;
  (void)parse_xml({}, bytes, root);
  return root.name;
}

}  // namespace tralk::text
