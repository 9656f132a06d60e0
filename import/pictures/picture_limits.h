// The largest pictures that tralk reads: 65535 pixels each way (its symbol
// header's fields), and 21845 wide at 24 bits (a 24-bit symbol row's byte
// count is a 16-bit field).
#pragma once

#include <cstdint>

#include "base/outcome.h"
#include "import/pictures/picture_request.h"

namespace tralk::importer {

constexpr uint32_t kMaxPictureSide = 65535;
constexpr uint32_t kMaxWidth24 = 21845;

// Refuses a picture of width x height pixels that cannot be written at
// req's depth for tralk: a failure (Fault::too_large) that names req's
// picture and says why.
Status check_picture_size(const PictureRequest& req, uint32_t width, uint32_t height);

}  // namespace tralk::importer
