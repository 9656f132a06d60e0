// The findings of --strings in words: the report printed after the table,
// the one-line findings of --quiet (as compilers print errors, so that an
// editor or a build log can jump to the string), and the JSON of --json.
// docs/formats.md shows each.
#pragma once

#include <string>
#include <vector>

#include "inspect/image_reader.h"
#include "inspect/strings_check.h"
#include "text/catalogue.h"

namespace tralk::inspector {

// What the report and the JSON are made from.
struct StringsReportInput {
  const std::string& image;
  const InspectResult& result;
  const std::vector<text::Catalogue>& catalogues;
  const std::vector<CheckedFont>& fonts;
  const StringsCheck& check;
};

// The report: per catalogue its size, the strings' own findings, then per
// font its characters and the strings that do not fit.
std::string strings_report(const StringsReportInput& in);

// One line per finding, "FILE:LINE: error: TEXT", then one per problem of
// the image, "IMAGE: error: storage index N, FIELD: TEXT".
std::string strings_quiet_report(const StringsReportInput& in);

// The findings and the image's problems as one JSON object.
std::string strings_json(const StringsReportInput& in);

}  // namespace tralk::inspector
