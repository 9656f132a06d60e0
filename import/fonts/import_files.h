// Writing the files of an import: the .sym file, made as it is written, and
// the files that go with it (its codepage, a dependency file), replaced
// together or not at all.
#pragma once

#include <string>
#include <vector>

#include "base/outcome.h"
#include "import/fonts/font_import.h"

namespace tralk::importer {

// The paths of the .sym file and of the files that go with it, in order.
std::vector<std::string> output_paths(const ImportResult& result);

// Writes every file of result and replaces their targets together; a
// failure, with a one-line reason, leaves every target as it was.
Status write_import_files(const ImportResult& result);

}  // namespace tralk::importer
