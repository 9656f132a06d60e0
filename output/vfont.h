// The output of one font list: C source (.c), C header (.h) and the virtual
// font image (.bin), beside the list's image name; and the message of an
// output file of tralk's that cannot be written.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "base/outcome.h"
#include "output/fontlist.h"
#include "output/vmem.h"

// Writes the source, the header and the image of list, laid out as layout
// says (vmem_layout), in that order, with their console messages; a layout
// that failed is reported once the source is begun. Returns false when any
// of the files could not be written (each failure has been reported); files
// are never left half-written under their names. With checksum, the header
// also defines NAME_CRC32, the CRC-32 of the image (base/crc32.h).
bool vfont_generate(const FONTLIST& list, const Outcome<VMEMBUF>& layout, bool checksum = false);

// The character of an image's name (binname as in the configuration) that
// keeps its header from being included by name, #include <NAME.h>: "<",
// ">", a double quote or a control character; none when there is none.
std::optional<char> vfont_unincludable(const std::string& binname);

// The full paths of the files vfont_generate writes for the image name
// binname: source, header and image.
std::vector<std::string> vfont_output_files(const std::string& binname);

// Appends the C structure definitions of one font to out. Prints
// "Error, Illegal font structure or not a softfont" and appends nothing for a
// font without symbol data.
void vfont_writestruct(std::string& out, const std::string& fontname, const SYMFONT& font,
                       uint32_t symindex, uint32_t rangeindex, const std::string& id);

// Prints the message of an output file that cannot be written: tralk's own
// line, then the system's reason (when there is one) on a line of its own.
void report_write_failure(const std::string& path, const std::string& reason);
