#include "import/pictures/png_picture.h"

#include <png.h>

#include <csetjmp>
#include <new>
#include <vector>

#include "base/text.h"
#include "import/pictures/flatten.h"
#include "import/pictures/picture_limits.h"

namespace tralk::importer {

namespace {

// zlib's densest form, a 258-byte match in two bits, unpacks to 1032 times
// its size: a file cannot hold more pixel data than that.
constexpr uint64_t kMaxInflation = 1032;

// What libpng's callbacks reach: the file, and the text of the error that
// stopped the reading. A fixed buffer, as the error callback must not
// allocate (an exception must not pass through libpng).
struct PngIo {
  std::FILE* file = nullptr;
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
  if (std::fread(data, 1, length, io->file) != length) {
    io->cut_short = true;
    png_error(png, "the file is cut short");
  }
}

// The read and information structures of one file, destroyed together.
class PngHandles {
 public:
  explicit PngHandles(PngIo& io) {
    png_ = png_create_read_struct(PNG_LIBPNG_VER_STRING, &io, on_error, on_warning);
    if (png_) info_ = png_create_info_struct(png_);
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

// One decoding. The steps that libpng may leave by a longjmp keep
// everything here, outside their own frames.
struct PngDecode {
  png_structp png = nullptr;
  png_infop info = nullptr;
  RGBTRIPLET background;
  LoadedPicture* pic = nullptr;
  uint32_t width = 0;
  uint32_t height = 0;
  unsigned stored_bits = 0;  // bits per pixel in the file
  unsigned bits = 8;         // bits per channel of the rows read: 8 or 16
  int passes = 1;
  size_t rowbytes = 0;
  std::vector<uint8_t> rows;  // one row; all of them for an interlaced picture
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

// Reads every row, pass after pass for an interlaced picture, and flattens
// each once it is whole.
void read_pixels(PngDecode& d) {
  for (int pass = 0; pass < d.passes; ++pass) {
    for (uint32_t y = 0; y < d.height; ++y) {
      uint8_t* row = d.rows.data() + (d.passes > 1 ? y * d.rowbytes : 0);
      png_read_row(d.png, row, nullptr);
      if (pass == d.passes - 1 &&
          flatten_rgba_row(row, d.bits, d.width, d.background, d.pic->pixels.row(y)))
        d.pic->flattened = true;
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

// Refuses the picture whose head was read when it cannot be read further.
Status check_size(const PngDecode& d, uint64_t file_size, const PictureRequest& req) {
  if (Status fits = check_picture_size(req, d.width, d.height); !fits.ok()) return fits;
  const uint64_t stored = (uint64_t{d.width} * d.height * d.stored_bits + 7) / 8;
  if (file_size != 0 && stored > kMaxInflation * file_size)
    return Failure{Fault::format, in_quotes(req.path) + " claims " + std::to_string(d.width) +
                                      " x " + std::to_string(d.height) + " pixels, more than its " +
                                      std::to_string(file_size) +
                                      " bytes can hold (a damaged file?)"};
  return {};
}

// Why libpng stopped reading.
Failure failure(const PictureRequest& req, const PngIo& io) {
  return Failure{
      io.cut_short ? Fault::cut_short : Fault::format,
      "cannot read " + in_quotes(req.path) + ": " + (io.reason[0] ? io.reason : "damaged file")};
}

}  // namespace

bool is_png_signature(const uint8_t* bytes, size_t n) {
  return n >= 8 && png_sig_cmp(bytes, 0, 8) == 0;
}

Outcome<LoadedPicture> read_png_picture(std::FILE* f, uint64_t file_size,
                                        const PictureRequest& req) {
  PngIo io;
  io.file = f;
  const PngHandles handles(io);
  if (!handles.ok())
    return Failure{Fault::too_large,
                   "cannot read " + in_quotes(req.path) + ": libpng cannot start (out of memory)"};
  png_set_read_fn(handles.png(), &io, read_data);
  LoadedPicture pic;
  PngDecode d;
  d.png = handles.png();
  d.info = handles.info();
  d.background = req.background;
  d.pic = &pic;
  if (!guarded(read_head, d)) return failure(req, io);
  if (Status fits = check_size(d, file_size, req); !fits.ok()) return fits.failure();
  try {
    d.rows.resize(d.rowbytes * (d.passes > 1 ? d.height : 1));
    pic.pixels.resize(d.width, d.height);
  } catch (const std::bad_alloc&) {
    return Failure{Fault::too_large, in_quotes(req.path) + " is too large for the memory at hand"};
  }
  if (!guarded(read_pixels, d)) return failure(req, io);
  return pic;
}

}  // namespace tralk::importer
