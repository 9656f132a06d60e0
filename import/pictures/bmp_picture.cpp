#include "import/pictures/bmp_picture.h"

#include <new>
#include <vector>

#include "base/fileio.h"
#include "base/text.h"
#include "bitmap/bmp_read.h"
#include "bitmap/symbol.h"
#include "import/pictures/flatten.h"
#include "import/pictures/picture_read.h"

namespace tralk::importer {

namespace {

// Why the reader refused the picture, in the words of tralk's messages
// without their "Error".
const char* reader_reason(const Failure& failed) {
  const BmpField field = bmp_field(failed);
  switch (failed.code) {
    case Fault::cut_short:
      return "the file is cut short";
    case Fault::too_large:
      return "Heap alloc";
    case Fault::unsupported:
      return field == BmpField::compression ? "BMP compression formats not supported"
                                            : "BMP transparency not supported";
    default:
      return field == BmpField::signature    ? "Not a BMP file"
             : field == BmpField::dimensions ? "BMP Format"
                                             : "BMP format";
  }
}

// Each row's pixels as the reader hands them out, made red, green, blue.
class RowsToRgb {
 public:
  RowsToRgb(const BmpHeader& h, RGBTRIPLET background)
      : h_(h), background_(background), rgba_(size_t{h.width} * 4) {}

  // Stores row y; alpha, where given, is the row's alpha.
  void put(const uint8_t* pixels, const uint8_t* alpha, uint8_t* rgb) {
    if (h_.depth() != 24) return put_indices(pixels, rgb);
    if (!alpha) {
      for (uint32_t x = 0; x < h_.width; ++x, pixels += 3, rgb += 3) {
        rgb[0] = pixels[2];
        rgb[1] = pixels[1];
        rgb[2] = pixels[0];
      }
      return;
    }
    for (uint32_t x = 0; x < h_.width; ++x) {
      uint8_t* p = &rgba_[size_t{x} * 4];
      p[0] = pixels[3 * x + 2];
      p[1] = pixels[3 * x + 1];
      p[2] = pixels[3 * x];
      p[3] = alpha[x];
    }
    if (flatten_rgba_row(rgba_.data(), 8, h_.width, background_, rgb)) flattened_ = true;
  }
  bool flattened() const { return flattened_; }

 private:
  // Colour-table indices; a 1-bit row has the darker colour's bit set, which
  // the reader's mask undoes.
  void put_indices(const uint8_t* pixels, uint8_t* rgb) const {
    const uint32_t flip = h_.bw_mask ? 1 : 0;
    for (uint32_t x = 0; x < h_.width; ++x, rgb += 3) {
      const RGBTRIPLET& c =
          h_.table[sym_row_getpixel(pixels, x, h_.bits) ^ (h_.bits == 1 ? flip : 0)];
      rgb[0] = c.r;
      rgb[1] = c.g;
      rgb[2] = c.b;
    }
  }

  const BmpHeader& h_;
  RGBTRIPLET background_;
  std::vector<uint8_t> rgba_;
  bool flattened_ = false;
};

class BmpSource final : public PictureSource {
 public:
  BmpSource(const PictureRequest& req, std::unique_ptr<ByteSource> in)
      : req_(req), in_(std::move(in)) {}

  Status open();
  uint32_t width() const override { return header_.width; }
  uint32_t height() const override { return header_.height; }
  RowOrder order() const override {
    return header_.top_down ? RowOrder::top_down : RowOrder::bottom_up;
  }
  Status read_rows(uint32_t first, uint32_t count, const RowSink& sink) override;
  bool flattened() const override { return flattened_; }

 private:
  // Starts a reading of the file: its head read again.
  Status start(BmpPicture& bmp);
  Failure failure(const Status& read) const {
    return Failure{read.code(),
                   "cannot read " + in_quotes(req_.path) + ": " + reader_reason(read.failure())};
  }

  PictureRequest req_;
  std::unique_ptr<ByteSource> in_;
  BmpHeader header_;
  bool flattened_ = false;
};

Status BmpSource::start(BmpPicture& bmp) {
  if (!in_->rewind())
    return Failure{Fault::io, "cannot read " + in_quotes(req_.path) + ": " + errno_text()};
  if (Status read = bmp_open(*in_, bmp); !read.ok()) return failure(read);
  return {};
}

Status BmpSource::open() {
  BmpPicture bmp;
  if (Status read = start(bmp); !read.ok()) return read;
  header_ = bmp.header;
  if (Status fits = check_picture_size(req_, header_.width, header_.height); !fits.ok())
    return fits;
  return check_pixel_count(req_, header_.width, header_.height);
}

Status BmpSource::read_rows(uint32_t first, uint32_t count, const RowSink& sink) {
  BmpPicture bmp;
  if (Status started = start(bmp); !started.ok()) return started;
  const BmpHeader& h = bmp.header;
  Status read;
  if (h.width != header_.width || h.height != header_.height)
    return Failure{Fault::format,
                   "cannot read " + in_quotes(req_.path) + ": it changed while read"};
  try {
    BmpRows rows(*bmp.in, h);
    RowsToRgb to_rgb(h, req_.background);
    std::vector<uint8_t> rgb(size_t{h.width} * 3);
    rows.keep_alpha();
    read = rows.for_each([&](uint32_t y, const uint8_t* pixels) {
      if (y < first || y - first >= count) return;
      to_rgb.put(pixels, rows.alpha(), rgb.data());
      sink(y, rgb.data());
    });
    if (to_rgb.flattened()) flattened_ = true;
  } catch (const std::bad_alloc&) {
    return Failure{Fault::too_large, in_quotes(req_.path) + " is too large for the memory at hand"};
  }
  if (!read.ok()) return failure(read);
  return {};
}

}  // namespace

Outcome<std::unique_ptr<PictureSource>> open_bmp_picture(const PictureRequest& req,
                                                         std::unique_ptr<ByteSource> in) {
  auto source = std::make_unique<BmpSource>(req, std::move(in));
  if (Status opened = source->open(); !opened.ok()) return opened.failure();
  return std::unique_ptr<PictureSource>(std::move(source));
}

}  // namespace tralk::importer
