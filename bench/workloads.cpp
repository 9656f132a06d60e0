#include "bench/workloads.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <memory>
#include <stdexcept>
#include <vector>

namespace bench {
namespace {

namespace fs = std::filesystem;

// A small fast generator: the data only has to look irregular.
class Rng {
 public:
  explicit Rng(uint64_t seed) : s_(seed * 0x9E3779B97F4A7C15ull + 1) {}
  uint32_t next() {
    s_ ^= s_ << 13;
    s_ ^= s_ >> 7;
    s_ ^= s_ << 17;
    return static_cast<uint32_t>(s_ >> 16);
  }

 private:
  uint64_t s_;
};

// Buffered output that throws on failure, so a full disk stops the run.
class Out {
 public:
  explicit Out(const fs::path& file) : f_(std::fopen(file.c_str(), "wb")) {
    if (!f_) throw std::runtime_error("cannot write " + file.string());
    path_ = file.string();
  }
  ~Out() {
    if (f_) std::fclose(f_);
  }
  Out(const Out&) = delete;
  Out& operator=(const Out&) = delete;

  void text(const std::string& s) { bytes(s.data(), s.size()); }
  void bytes(const void* p, std::size_t n) {
    if (std::fwrite(p, 1, n, f_) != n) throw std::runtime_error("cannot write " + path_);
    written_ += n;
  }
  void u16(uint32_t v) {
    const uint8_t b[2] = {static_cast<uint8_t>(v), static_cast<uint8_t>(v >> 8)};
    bytes(b, 2);
  }
  void u32(uint32_t v) {
    u16(v & 0xFFFF);
    u16(v >> 16);
  }
  uint64_t close() {
    if (std::fclose(f_) != 0) {
      f_ = nullptr;
      throw std::runtime_error("cannot write " + path_);
    }
    f_ = nullptr;
    return written_;
  }

 private:
  std::FILE* f_;
  std::string path_;
  uint64_t written_ = 0;
};

const char kHex[] = "0123456789ABCDEF";

void append_hex(std::string& s, uint8_t v) {
  s += "0x";
  s += kHex[v >> 4];
  s += kHex[v & 15];
}

// Entry i of the 256-entry palette: all different, since red is i.
std::array<uint8_t, 3> palette_entry(unsigned i) {
  return {static_cast<uint8_t>(i), static_cast<uint8_t>(i * 37 + 11),
          static_cast<uint8_t>(i * 91 + 13)};
}

// The 8-bit picture's colour table holds the palette's colours in another
// order, so that every index has to be looked up.
unsigned table8_to_palette(unsigned i) {
  return (i * 7 + 3) & 255;
}

void write_text(const fs::path& file, const std::string& text) {
  Out out(file);
  out.text(text);
  out.close();
}

std::string sym_line(Rng& rng, unsigned width, unsigned height, unsigned bytes) {
  std::string s = "{{" + std::to_string(width) + "," + std::to_string(height) + "},{";
  for (unsigned i = 0; i < bytes; ++i) {
    if (i) s += ',';
    append_hex(s, static_cast<uint8_t>(rng.next()));
  }
  s += "}},\n";
  return s;
}

}  // namespace

uint64_t write_big_sym(const fs::path& file, uint32_t n, const std::string& cpname) {
  Out out(file);
  out.text("// 16x16 b&w font, " + std::to_string(n) + " symbols" +
           (cpname.empty() ? "" : "   CP<" + cpname + ">") + "\n");
  Rng rng(n);
  std::string chunk;
  for (uint32_t i = 0; i < n; ++i) {
    chunk += sym_line(rng, 9 + i % 8, 16, 32);
    if (chunk.size() > (1u << 16)) {
      out.text(chunk);
      chunk.clear();
    }
  }
  out.text(chunk);
  return out.close();
}

void write_codepage(const fs::path& file, uint32_t n) {
  // Ranges of 256 character codes each, from code 0 on, the symbols numbered
  // on from range to range.
  const uint32_t ranges = (n + 255) / 256;
  std::string s = "{" + std::to_string(ranges) + ", 32},\n{\n";
  for (uint32_t r = 0; r < ranges; ++r) {
    const uint32_t first = r * 256;
    const uint32_t last = first + std::min<uint32_t>(256, n - first) - 1;
    s += "  {" + std::to_string(first) + ", " + std::to_string(last) + ", " +
         std::to_string(first) + "}" + (r + 1 < ranges ? ",\n" : "\n");
  }
  s += "}\n";
  write_text(file, s);
}

uint64_t write_small_sym(const fs::path& file, uint32_t n, uint32_t seed) {
  Out out(file);
  out.text("/* 8x8 b&w font */\n");
  Rng rng(seed + 1000003);
  std::string s;
  for (uint32_t i = 0; i < n; ++i) s += sym_line(rng, 5 + i % 4, 8, 8);
  out.text(s);
  return out.close();
}

void write_palette(const fs::path& file) {
  std::string s = "/* 256 colours */\n{\n";
  for (unsigned i = 0; i < 256; ++i) {
    const auto c = palette_entry(i);
    s += "  {" + std::to_string(c[0]) + ", " + std::to_string(c[1]) + ", " + std::to_string(c[2]) +
         "}" + (i < 255 ? "," : "") + "\n";
  }
  s += "}\n";
  write_text(file, s);
}

void write_picture(const fs::path& file, PicMode mode, uint16_t width, uint16_t height) {
  const unsigned bits = mode == PicMode::palette8 ? 8 : mode == PicMode::narrowed4 ? 4 : 24;
  const unsigned entries = bits == 8 ? 256 : bits == 4 ? 16 : 0;
  const uint32_t rowbytes = bits == 24 ? 3u * width : bits == 8 ? width : (width + 1u) / 2;
  const uint32_t stride = (rowbytes + 3) & ~3u;
  const uint32_t offset = 14 + 40 + 4 * entries;

  Out out(file);
  out.bytes("BM", 2);
  out.u32(offset + stride * height);
  out.u32(0);
  out.u32(offset);
  out.u32(40);
  out.u32(width);
  out.u32(height);
  out.u16(1);
  out.u16(bits);
  out.u32(0);
  out.u32(stride * height);
  out.u32(2835);
  out.u32(2835);
  out.u32(0);
  out.u32(0);
  for (unsigned i = 0; i < entries; ++i) {
    // The 4-bit table is the palette's first 16 colours; the 8-bit one all
    // 256 in another order.
    const auto c = palette_entry(bits == 8 ? table8_to_palette(i) : i);
    const uint8_t q[4] = {c[2], c[1], c[0], 0};
    out.bytes(q, 4);
  }

  Rng rng(uint64_t{width} * 65536 + height + bits);
  std::vector<uint8_t> row(stride, 0);
  for (uint32_t y = 0; y < height; ++y) {
    for (uint32_t x = 0; x < width; ++x) {
      const uint32_t noise = rng.next();
      if (bits == 24) {
        // A gradient with noise in the low bits: every 5-6-5 field changes.
        row[3 * x] = static_cast<uint8_t>((x * 255 / width) ^ (noise & 7));              // blue
        row[3 * x + 1] = static_cast<uint8_t>((y * 255 / height) ^ ((noise >> 3) & 3));  // green
        row[3 * x + 2] = static_cast<uint8_t>(((x + y) & 255) ^ ((noise >> 5) & 7));     // red
      } else if (bits == 8) {
        row[x] = static_cast<uint8_t>(((x >> 4) + (y >> 4) * 3 + (noise & 15)) & 255);
      } else {
        // Only indices 0 to 3: the first pass gives 4 bits, then narrowing 2.
        const uint8_t v = static_cast<uint8_t>(((x >> 3) + (y >> 3) + noise) & 3);
        if (x & 1)
          row[x / 2] = static_cast<uint8_t>(row[x / 2] | v);
        else
          row[x / 2] = static_cast<uint8_t>(v << 4);
      }
    }
    out.bytes(row.data(), stride);
  }
  out.close();
}

WorkloadSize half_of(const WorkloadSize& size) {
  WorkloadSize half = size;
  half.big_symbols = size.big_symbols / 2;
  half.small_fonts = size.small_fonts / 2;
  half.pic_height = static_cast<uint16_t>(size.pic_height / 2);
  return half;
}

void write_workload(const fs::path& dir, const WorkloadSize& size) {
  fs::create_directories(dir / "fonts");
  write_big_sym(dir / "big.sym", size.big_symbols, "big.cp");
  write_codepage(dir / "big.cp", size.big_symbols);
  for (uint32_t i = 0; i < size.small_fonts; ++i) {
    char name[32];
    std::snprintf(name, sizeof name, "f%05u.sym", static_cast<unsigned>(i));
    write_small_sym(dir / "fonts" / name, size.small_symbols, i);
  }
  write_palette(dir / "pal256.pal");
  write_picture(dir / "pic24.bmp", PicMode::direct24, size.pic_width, size.pic_height);
  write_picture(dir / "pic8.bmp", PicMode::palette8, size.pic_width, size.pic_height);
  write_picture(dir / "pic4.bmp", PicMode::narrowed4, size.pic_width, size.pic_height);

  write_text(dir / "sym.vfg", "big.bin 0x01\nbig.sym\n");
  write_text(dir / "small.vfg", "small.bin 0x02\nfonts/f*.sym  S*\n");
  write_text(dir / "pic24.vfg", "pal256.pal\npic24.bin 0x03\npic24.bmp\n");
  write_text(dir / "pic8.vfg", "pal256.pal\npic8.bin 0x04\npic8.bmp\n");
  write_text(dir / "pic4.vfg", "pal256.pal\npic4.bin 0x05\npic4.bmp\n");
  write_text(dir / "grey24.vfg", "GREYMODE 256\ngrey24.bin 0x06\npic24.bmp  grey*\n");
  // The same fonts named one by one, each twice under two names; and each
  // in an image of its own.
  std::string listed = "listed.bin 0x07\n", images;
  fs::create_directories(dir / "images");
  for (uint32_t i = 0; i < size.small_fonts; ++i) {
    char line[96];
    std::snprintf(line, sizeof line, "fonts/f%05u.sym  A%05u\nfonts/f%05u.sym  B%05u\n", i, i, i,
                  i);
    listed += line;
    std::snprintf(line, sizeof line, "images/i%05u.bin\nfonts/f%05u.sym\n", i, i);
    images += line;
  }
  write_text(dir / "listed.vfg", listed);
  write_text(dir / "images.vfg", images);
  write_text(dir / "all.vfg",
             "/* every workload, combined into several images */\n"
             "big.bin 0x01\n"
             "big.sym\n"
             "small.bin 0x02\n"
             "fonts/f*.sym  S*           // every small font\n"
             "pal256.pal\n"
             "pictures.bin 0x03\n"
             "pic24.bmp                  // direct colour\n"
             "pic8.bmp                   // palette mode\n"
             "pic4.bmp                   // palette mode, narrowed\n"
             "GREYMODE 256\n"
             "grey.bin 0x04\n"
             "pic24.bmp  grey*\n");
}

}  // namespace bench
