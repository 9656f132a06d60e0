// The catalogue readers, one a format. Each reads the bytes of a whole file
// named name (it opens no file) and gives its displayed strings, or a
// failure naming the file, the line (the byte, for .mo) and what is wrong.
#pragma once

#include <string>
#include <string_view>

#include "base/outcome.h"
#include "text/catalogue.h"

namespace tralk::text {

Outcome<Catalogue> read_plain_text(const std::string& name, std::string_view bytes);
Outcome<Catalogue> read_po(const std::string& name, std::string_view bytes);
Outcome<Catalogue> read_mo(const std::string& name, std::string_view bytes);
Outcome<Catalogue> read_ts(const std::string& name, std::string_view bytes);
Outcome<Catalogue> read_xliff(const std::string& name, std::string_view bytes);
// JSON or ARB (format says which).
Outcome<Catalogue> read_json(const std::string& name, std::string_view bytes,
                             CatalogueFormat format);

}  // namespace tralk::text
