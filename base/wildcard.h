// Matching of file names against the wildcards of configuration entries.
#pragma once

#include <string_view>

// True when name matches pattern, where "*" matches any run of characters
// and "?" exactly one; with ignore_case, ASCII letters match in either case
// (as a case-insensitive file system compares them).
bool wildcard_match(std::string_view pattern, std::string_view name, bool ignore_case);

// True when two file names name the same file: byte for byte, or with
// ignore_case ASCII letters in either case.
bool file_name_equal(std::string_view a, std::string_view b, bool ignore_case);
