// --strings as the program runs it: the catalogues read, the fonts the
// options name resolved, the check made, its picture and JSON written as
// one set, and its findings printed as the options ask (the report,
// --quiet or --json -). Also how the options shape text for --text.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "base/outcome.h"
#include "cli/charset.h"
#include "inspect/image_reader.h"
#include "inspect/options.h"
#include "inspect/pixel_colour.h"
#include "inspect/text_picture.h"

namespace tralk::inspector {

// The encoding of a --font's codes: its own, else --encoding; none for
// Unicode.
const cli::Encoding* font_encoding(const FontChoice& choice, const InspectOptions& opts);

// --spacing and --line-height.
TextSpacing text_spacing(const InspectOptions& opts);

// Runs the check of opts.strings on the image (names: its fonts' names, if
// known); the failure, or whether anything was found.
Outcome<bool> run_strings(const InspectResult& result, const InspectOptions& opts,
                          const std::optional<std::vector<std::string>>& names,
                          const ReadingOptions& reading);

}  // namespace tralk::inspector
