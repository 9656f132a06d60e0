// Pixel bytes as the text of a .sym line: ",0xAB" a byte, upper-case hex
// digits. A large font is megabytes of them, so they are made sixteen
// bytes at a time where the processor has byte shuffles (SSSE3), four at a
// time from a table otherwise.
#pragma once

#include <cstddef>
#include <cstdint>

namespace tralk::importer {

// Characters that put_byte_texts may store after the end of its text.
constexpr size_t kByteTextSlack = 8;

// Writes ",0xAB" for each of the n bytes to p; returns the end of the text.
char* put_byte_texts(char* p, const uint8_t* bytes, size_t n);

}  // namespace tralk::importer
