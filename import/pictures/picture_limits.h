// The largest pictures that tralk reads: 65535 pixels each way (its symbol
// header's fields), and 21845 wide at 24 bits (a 24-bit symbol row's byte
// count is a 16-bit field). The importer itself takes at most kMaxPixels
// pixels: a picture is read and written row by row, so this bounds the time
// and the output a small file claiming a vast picture can cost, not memory.
#pragma once

#include <cstdint>

#include "base/outcome.h"
#include "import/pictures/picture_request.h"

namespace tralk::importer {

constexpr uint32_t kMaxPictureSide = 65535;
constexpr uint32_t kMaxWidth24 = 21845;
constexpr uint64_t kMaxPixels = uint64_t{1} << 26;  // 8192 x 8192

// Refuses a picture of width x height pixels that cannot be written at
// req's depth for tralk: a failure (Fault::too_large) that names req's
// picture and says why.
Status check_picture_size(const PictureRequest& req, uint32_t width, uint32_t height);

// Refuses a picture of more than kMaxPixels pixels, likewise.
Status check_pixel_count(const PictureRequest& req, uint32_t width, uint32_t height);

}  // namespace tralk::importer
