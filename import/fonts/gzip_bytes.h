// Files compressed with gzip, as console fonts (.psf.gz) and X11 bitmap
// fonts (.pcf.gz) are shipped: recognised by their first bytes and unpacked
// in memory through zlib.
#pragma once

#include <cstddef>
#include <cstdint>

#include "base/fileio.h"
#include "base/outcome.h"

namespace tralk::importer {

// The most bytes a compressed font may unpack to: far more than any font
// holds, and a bound on what a damaged or hostile file can make us allocate.
constexpr size_t kMaxUnpackedFont = size_t{64} << 20;

// Whether the bytes start as a gzip stream does (1F 8B).
bool is_gzip(const uint8_t* data, size_t size);

// The unpacked bytes of a gzip stream (several members are unpacked one
// after the other, as gzip does). A failure with zlib's reason for damaged
// data (Fault::format) or data cut short (Fault::cut_short), or one that
// names the limit when it unpacks to more than limit bytes
// (Fault::too_large).
Outcome<FileBytes> gunzip(const uint8_t* data, size_t size, size_t limit = kMaxUnpackedFont);

}  // namespace tralk::importer
