#include "import/fonts/gzip_bytes.h"

#include <zlib.h>

#include <algorithm>
#include <cstring>
#include <string>

#include "base/coding.h"

namespace tralk::importer {

namespace {

// A zlib stream that inflates gzip members and is ended whatever happens.
class Inflater {
 public:
  Inflater() {
    // 16 + 15: a gzip header and trailer around a window of up to 32 KiB.
    ok_ = inflateInit2(&z_, 16 + MAX_WBITS) == Z_OK;
  }
  ~Inflater() {
    if (ok_) inflateEnd(&z_);
  }
  Inflater(const Inflater&) = delete;
  Inflater& operator=(const Inflater&) = delete;
  bool ok() const { return ok_; }
  z_stream& z() { return z_; }

 private:
  z_stream z_{};
  bool ok_ = false;
};

std::string zlib_reason(const z_stream& z, int status) {
  if (z.msg) return z.msg;
  return status == Z_MEM_ERROR ? "out of memory" : "damaged data";
}

}  // namespace

bool is_gzip(const uint8_t* data, size_t size) {
  return size >= 2 && data[0] == 0x1F && data[1] == 0x8B;
}

namespace {

// The room to unpack into first: the size the stream's trailer records (of
// its last member, modulo 2^32), one byte more so that the end is found
// without growing; a guess where that is no help.
size_t first_room(const uint8_t* data, size_t size, size_t limit) {
  const size_t guess = std::max<size_t>(size * 4, 4096);
  if (size < 18) return std::min(limit + 1, guess);
  const size_t recorded = get_u32le(data + size - 4);
  return std::min(limit + 1, recorded > 0 ? recorded + 1 : guess);
}

}  // namespace

Outcome<FileBytes> gunzip(const uint8_t* data, size_t size, size_t limit) {
  Inflater inflater;
  if (!inflater.ok()) return Failure{Fault::too_large, "zlib cannot start (out of memory)"};
  z_stream& z = inflater.z();
  z.next_in = const_cast<Bytef*>(data);  // zlib's interface is not const; it only reads
  z.avail_in = static_cast<uInt>(std::min<size_t>(size, UINT32_MAX));
  FileBytes out;
  out.block = ByteBlock(first_room(data, size, limit));
  size_t& have = out.size;
  for (;;) {
    if (have == out.block.size()) {
      if (have > limit)
        return Failure{Fault::too_large,
                       "it unpacks to more than " + std::to_string(limit >> 20) + " MiB"};
      ByteBlock larger(std::min(limit + 1, 2 * have));
      std::memcpy(larger.data(), out.block.data(), have);
      out.block = std::move(larger);
    }
    const size_t room = std::min<size_t>(out.block.size() - have, UINT32_MAX);
    z.next_out = out.block.data() + have;
    z.avail_out = static_cast<uInt>(room);
    const int status = inflate(&z, Z_NO_FLUSH);
    have += room - z.avail_out;
    if (status == Z_STREAM_END) {
      // Another member may follow, as in files that were concatenated.
      if (z.avail_in == 0 || !is_gzip(z.next_in, z.avail_in)) break;
      if (inflateReset(&z) != Z_OK) return Failure{Fault::format, zlib_reason(z, Z_DATA_ERROR)};
      continue;
    }
    if (status == Z_BUF_ERROR && z.avail_in == 0)
      return Failure{Fault::cut_short, "the compressed data is cut short"};
    if (status != Z_OK && status != Z_BUF_ERROR)
      return Failure{status == Z_MEM_ERROR ? Fault::too_large : Fault::format,
                     zlib_reason(z, status)};
  }
  if (have > limit)
    return Failure{Fault::too_large,
                   "it unpacks to more than " + std::to_string(limit >> 20) + " MiB"};
  return out;
}

}  // namespace tralk::importer
