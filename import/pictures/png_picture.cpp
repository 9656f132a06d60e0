#include "import/pictures/png_picture.h"

#include <png.h>

#include <csetjmp>
#include <cstring>
#include <new>
#include <vector>

#include "base/fileio.h"
#include "base/text.h"
#include "import/pictures/flatten.h"
#include "import/pictures/picture_read.h"

namespace tralk::importer {

namespace {

// zlib's densest form, a 258-byte match in two bits, unpacks to 1032 times
// its size: a file cannot hold more pixel data than that.
constexpr uint64_t kMaxInflation = 1032;

// What libpng's callbacks reach: the file, and the text of the error that
// stopped the reading. A fixed buffer, as the error callback must not
// allocate (an exception must not pass through libpng).
struct PngIo {
  ByteSource* in = nullptr;
  char reason[200] = {};
  bool cut_short = false;  // the file ended before the picture did
};

[[noreturn]] void on_error(png_structp png, png_const_charp message) {
  auto* io = static_cast<PngIo*>(png_get_error_ptr(png));
  std::snprintf(io->reason, sizeof io->reason, "%s", message);
  png_longjmp(png, 1);
}

// A warning is about a chunk that libpng skipped; the pixels are whole.
void on_warning(png_structp, png_const_charp) {}

void read_data(png_structp png, png_bytep data, size_t length) {
  auto* io = static_cast<PngIo*>(png_get_io_ptr(png));
  if (io->in->read(data, length) != length) {
    io->cut_short = true;
    png_error(png, "the file is cut short");
  }
}

// The read and information structures of one reading, destroyed together.
class PngHandles {
 public:
  explicit PngHandles(PngIo& io) {
    png_ = png_create_read_struct(PNG_LIBPNG_VER_STRING, &io, on_error, on_warning);
    if (png_) info_ = png_create_info_struct(png_);
    if (info_) png_set_read_fn(png_, &io, read_data);
  }
  ~PngHandles() { png_destroy_read_struct(&png_, &info_, nullptr); }
  PngHandles(const PngHandles&) = delete;
  PngHandles& operator=(const PngHandles&) = delete;

  bool ok() const { return info_ != nullptr; }
  png_structp png() const { return png_; }
  png_infop info() const { return info_; }

 private:
  png_structp png_ = nullptr;
  png_infop info_ = nullptr;
};

// One reading of the file. The steps that libpng may leave by a longjmp
// keep everything here, outside their own frames.
struct PngDecode {
  png_structp png = nullptr;
  png_infop info = nullptr;
  uint32_t width = 0;
  uint32_t height = 0;
  unsigned stored_bits = 0;  // bits per pixel in the file
  unsigned bits = 8;         // bits per channel of the rows read: 8 or 16
  int passes = 1;
  size_t rowbytes = 0;
  // The rows to hand out; for an interlaced picture, the band's rows in full.
  uint32_t first = 0;
  uint32_t count = 0;
  std::vector<uint8_t>* rows = nullptr;
  std::vector<uint8_t>* scratch = nullptr;  // a row outside the band
  void (*done)(PngDecode&, uint32_t y, const uint8_t* row) = nullptr;
  void* sink = nullptr;
};

// Reads the head and asks for rows of red, green, blue and alpha at the
// file's channel depth: palettes and grey levels expanded (1-, 2- and 4-bit
// grey by repeating their bits), tRNS made alpha, an opaque alpha added
// where there is none. Every ancillary chunk but tRNS is skipped.
void read_head(PngDecode& d) {
  png_set_keep_unknown_chunks(d.png, PNG_HANDLE_CHUNK_NEVER, nullptr, -1);
  png_read_info(d.png, d.info);
  d.width = png_get_image_width(d.png, d.info);
  d.height = png_get_image_height(d.png, d.info);
  const int type = png_get_color_type(d.png, d.info);
  const int depth = png_get_bit_depth(d.png, d.info);
  d.stored_bits = static_cast<unsigned>(depth * png_get_channels(d.png, d.info));
  const bool trns = png_get_valid(d.png, d.info, PNG_INFO_tRNS) != 0;
  if (type == PNG_COLOR_TYPE_PALETTE) png_set_palette_to_rgb(d.png);
  if (type == PNG_COLOR_TYPE_GRAY && depth < 8) png_set_expand_gray_1_2_4_to_8(d.png);
  if (trns) png_set_tRNS_to_alpha(d.png);
  if ((type & PNG_COLOR_MASK_COLOR) == 0) png_set_gray_to_rgb(d.png);
  if ((type & PNG_COLOR_MASK_ALPHA) == 0 && !trns)
    png_set_add_alpha(d.png, 0xFFFF, PNG_FILLER_AFTER);
  d.passes = png_set_interlace_handling(d.png);
  png_read_update_info(d.png, d.info);
  d.bits = png_get_bit_depth(d.png, d.info);
  d.rowbytes = png_get_rowbytes(d.png, d.info);
}

bool in_band(const PngDecode& d, uint32_t y) {
  return y >= d.first && y - d.first < d.count;
}

// Reads every row, pass after pass for an interlaced picture, handing each
// row of the band out once it is whole.
void read_pixels(PngDecode& d) {
  const bool interlaced = d.passes > 1;
  for (int pass = 0; pass < d.passes; ++pass) {
    for (uint32_t y = 0; y < d.height; ++y) {
      uint8_t* row = !in_band(d, y) ? d.scratch->data()
                     : interlaced   ? d.rows->data() + (y - d.first) * d.rowbytes
                                    : d.rows->data();
      png_read_row(d.png, row, nullptr);
      if (!interlaced && in_band(d, y)) d.done(d, y, row);
    }
  }
  png_read_end(d.png, nullptr);
}

// libpng reports a damaged file by a longjmp from on_error back to here.
// step keeps no object with a destructor in its frames, so the jump passes
// over nothing that needs one.
bool guarded(void (*step)(PngDecode&), PngDecode& d) {
  if (setjmp(png_jmpbuf(d.png))) return false;
  step(d);
  return true;
}

class PngSource final : public PictureSource {
 public:
  PngSource(const PictureRequest& req, std::unique_ptr<ByteSource> in)
      : req_(req), in_(std::move(in)) {}

  Status open();
  uint32_t width() const override { return width_; }
  uint32_t height() const override { return height_; }
  RowOrder order() const override { return passes_ > 1 ? RowOrder::banded : RowOrder::top_down; }
  size_t band_bytes_per_row() const override { return rowbytes_; }
  Status read_rows(uint32_t first, uint32_t count, const RowSink& sink) override;
  bool flattened() const override { return flattened_; }

 private:
  // Starts a reading: the file from its start, its head read into d.
  Status start(PngIo& io, const PngHandles& handles, PngDecode& d);
  Status check_size(const PngDecode& d, uint64_t file_size) const;
  Failure failure(const PngIo& io) const {
    return Failure{
        io.cut_short ? Fault::cut_short : Fault::format,
        "cannot read " + in_quotes(req_.path) + ": " + (io.reason[0] ? io.reason : "damaged file")};
  }

  PictureRequest req_;
  std::unique_ptr<ByteSource> in_;
  uint32_t width_ = 0;
  uint32_t height_ = 0;
  int passes_ = 1;
  size_t rowbytes_ = 0;
  bool flattened_ = false;
  std::vector<uint8_t> rgb_;  // one row, flattened
};

Status PngSource::start(PngIo& io, const PngHandles& handles, PngDecode& d) {
  if (!in_->rewind())
    return Failure{Fault::io, "cannot read " + in_quotes(req_.path) + ": " + errno_text()};
  io.in = in_.get();
  if (!handles.ok())
    return Failure{Fault::too_large,
                   "cannot read " + in_quotes(req_.path) + ": libpng cannot start (out of memory)"};
  d.png = handles.png();
  d.info = handles.info();
  if (!guarded(read_head, d)) return failure(io);
  return {};
}

// Refuses the picture whose head was read when it cannot be read further.
Status PngSource::check_size(const PngDecode& d, uint64_t file_size) const {
  if (Status fits = check_picture_size(req_, d.width, d.height); !fits.ok()) return fits;
  const uint64_t stored = (uint64_t{d.width} * d.height * d.stored_bits + 7) / 8;
  if (file_size != 0 && stored > kMaxInflation * file_size)
    return Failure{Fault::format, in_quotes(req_.path) + " claims " + std::to_string(d.width) +
                                      " x " + std::to_string(d.height) + " pixels, more than its " +
                                      std::to_string(file_size) +
                                      " bytes can hold (a damaged file?)"};
  return check_pixel_count(req_, d.width, d.height);
}

Status PngSource::open() {
  PngIo io;
  const PngHandles handles(io);
  PngDecode d;
  if (Status started = start(io, handles, d); !started.ok()) return started;
  if (Status fits = check_size(d, in_->size()); !fits.ok()) return fits;
  width_ = d.width;
  height_ = d.height;
  passes_ = d.passes;
  rowbytes_ = d.rowbytes;
  return {};
}

Status PngSource::read_rows(uint32_t first, uint32_t count, const RowSink& sink) {
  PngIo io;
  const PngHandles handles(io);
  PngDecode d;
  if (Status started = start(io, handles, d); !started.ok()) return started;
  if (d.width != width_ || d.height != height_ || d.rowbytes != rowbytes_)
    return Failure{Fault::format,
                   "cannot read " + in_quotes(req_.path) + ": it changed while read"};
  std::vector<uint8_t> rows, scratch;
  try {
    rows.resize(rowbytes_ * (passes_ > 1 ? count : 1));
    scratch.resize(rowbytes_);
    rgb_.resize(size_t{width_} * 3);
  } catch (const std::bad_alloc&) {
    return Failure{Fault::too_large, in_quotes(req_.path) + " is too large for the memory at hand"};
  }
  struct Out {
    PngSource* self;
    const RowSink* sink;
  } out{this, &sink};
  d.first = first;
  d.count = count;
  d.rows = &rows;
  d.scratch = &scratch;
  d.sink = &out;
  d.done = [](PngDecode& dec, uint32_t y, const uint8_t* row) {
    auto* o = static_cast<Out*>(dec.sink);
    if (flatten_rgba_row(row, dec.bits, dec.width, o->self->req_.background, o->self->rgb_.data()))
      o->self->flattened_ = true;
    (*o->sink)(y, o->self->rgb_.data());
  };
  if (!guarded(read_pixels, d)) return failure(io);
  if (passes_ > 1)
    for (uint32_t i = 0; i < count; ++i) d.done(d, first + i, rows.data() + i * rowbytes_);
  return {};
}

}  // namespace

bool is_png_signature(const uint8_t* bytes, size_t n) {
  return n >= 8 && png_sig_cmp(bytes, 0, 8) == 0;
}

bool is_text_mangled_png_signature(const uint8_t* bytes, size_t n) {
  static const uint8_t kLf[] = {0x89, 'P', 'N', 'G', 0x0A, 0x1A, 0x0A};
  static const uint8_t kCrLf[] = {0x89, 'P', 'N', 'G', 0x0D, 0x0D, 0x0A, 0x1A, 0x0D, 0x0A};
  return (n >= sizeof kLf && std::memcmp(bytes, kLf, sizeof kLf) == 0) ||
         (n >= sizeof kCrLf && std::memcmp(bytes, kCrLf, sizeof kCrLf) == 0);
}

Outcome<std::unique_ptr<PictureSource>> open_png_picture(const PictureRequest& req,
                                                         std::unique_ptr<ByteSource> in) {
  auto source = std::make_unique<PngSource>(req, std::move(in));
  if (Status opened = source->open(); !opened.ok()) return opened.failure();
  return std::unique_ptr<PictureSource>(std::move(source));
}

}  // namespace tralk::importer
