// Sizes and addresses as the command lines take them: "65536", "0x90000000",
// "64KiB", "8MiB". tralk --max-size and tralk-pack's sizes, alignments and
// addresses read them alike.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

// 1 to 12 decimal digits, or "0x" (or "0X") and 1 to 10 hexadecimal digits,
// alone or followed by "KiB" (x 1024) or "MiB" (x 1048576); none for anything
// else (blanks, signs, "2M", "2mib").
std::optional<uint64_t> parse_byte_size(std::string_view text);
