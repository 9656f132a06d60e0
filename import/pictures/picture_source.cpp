#include "import/pictures/picture_source.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace tralk::importer {

Status for_each_row(PictureSource& source, bool top_down, const RowSink& sink) {
  const RowOrder order = source.order();
  const uint32_t height = source.height();
  if (order == RowOrder::top_down || (order == RowOrder::bottom_up && !top_down))
    return source.read_rows(0, height, sink);
  const size_t row_bytes = size_t{source.width()} * 3;
  const size_t per_row = row_bytes + source.band_bytes_per_row();
  const auto band_rows = static_cast<uint32_t>(std::clamp<size_t>(
      kBandBytes / std::max<size_t>(per_row, 1), 1, std::max<uint32_t>(height, 1)));
  std::vector<uint8_t> band(band_rows * row_bytes);
  for (uint32_t first = 0; first < height; first += band_rows) {
    const uint32_t count = std::min(band_rows, height - first);
    const Status read = source.read_rows(first, count, [&](uint32_t y, const uint8_t* rgb) {
      std::memcpy(band.data() + (y - first) * row_bytes, rgb, row_bytes);
    });
    if (!read.ok()) return read;
    for (uint32_t i = 0; i < count; ++i) sink(first + i, band.data() + i * row_bytes);
  }
  return {};
}

}  // namespace tralk::importer
