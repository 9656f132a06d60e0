// tralk --checksum: the header gains NAME_CRC32, zlib's CRC-32 of the .bin,
// and nothing else changes; the C function of docs/formats.md, compiled into
// a program that includes the header, finds the same value in the image.
#include <gtest/gtest.h>
#include <zlib.h>

#include <cstdlib>
#include <filesystem>

#include "base/text.h"
#include "support/run_tralk.h"
#include "support/tempdir.h"

namespace fs = std::filesystem;

namespace {

// The C function of the documentation, as a firmware would copy it: the
// block after the line that marks it.
std::string documented_crc_function() {
  const std::string doc = TempDir::read(fs::path(TRALK_DOCS) / "formats.md");
  const size_t mark = doc.find("<!-- the CRC-32 function");
  if (mark == std::string::npos) return "";
  const size_t start = doc.find("```c\n", mark);
  const size_t end = doc.find("```\n", start + 5);
  if (start == std::string::npos || end == std::string::npos) return "";
  return doc.substr(start + 5, end - start - 5);
}

const char kFirmware[] =
    "#include <stdio.h>\n"
    "#include <my-ui.h>\n"
    "static uint8_t image[MY_UI_SIZE];\n"
    "int main(int argc, char **argv) {\n"
    "  FILE *f = argc == 2 ? fopen(argv[1], \"rb\") : NULL;\n"
    "  if (!f || fread(image, 1, sizeof image, f) != sizeof image) return 2;\n"
    "  printf(\"%s\\n\", tralk_crc32(0, image, MY_UI_SIZE) == MY_UI_CRC32 ? \"same\" : "
    "\"differs\");\n"
    "  return 0;\n"
    "}\n";

TEST(Checksum, HeaderNamesZlibsCrcOfTheImageAndTheDocumentedFunctionAgrees) {
  TempDir plain, checked;
  for (const TempDir* dir : {&plain, &checked}) {
    dir->write("ui.vfg", "my-ui.bin 0x10\na.sym\nb.sym Big\n");
    dir->write("a.sym", "{{8,1},{0x81}}\n");
    dir->write("b.sym", "{{8,2},{0x81,0x7E}},\n{{8,2},{0xFF,0x00}}\n");
  }
  ASSERT_EQ(run_tralk(plain.path(), "ui.vfg").status, 0);
  const RunResult r = run_tralk(checked.path(), "--quiet --checksum ui.vfg");
  ASSERT_EQ(r.status, 0) << r.out;
  EXPECT_EQ(r.out, "");

  const std::string bin = TempDir::read(checked.path() / "my-ui.bin");
  EXPECT_EQ(bin, TempDir::read(plain.path() / "my-ui.bin"));
  EXPECT_EQ(read_text_output(checked.path() / "my-ui.c"),
            read_text_output(plain.path() / "my-ui.c"));
  const uint32_t crc = static_cast<uint32_t>(
      crc32(0, reinterpret_cast<const Bytef*>(bin.data()), static_cast<uInt>(bin.size())));
  std::string header = read_text_output(plain.path() / "my-ui.h");
  const std::string size_line =
      strf("#define MY_UI_SIZE 0x%zx /* %zu */\n", bin.size(), bin.size());
  const size_t at = header.find(size_line);
  ASSERT_NE(at, std::string::npos) << header;
  header.insert(at + size_line.size(),
                strf("/* CRC-32 of the image (IEEE, as zlib computes it) */\n"
                     "#define MY_UI_CRC32 0x%08lx\n",
                     static_cast<unsigned long>(crc)));
  EXPECT_EQ(read_text_output(checked.path() / "my-ui.h"), header);

  if (test_host().windows) return;  // the program below is built for this host
  const std::string function = documented_crc_function();
  ASSERT_FALSE(function.empty()) << "no CRC-32 function in docs/formats.md";
  checked.write("check.c", function + kFirmware);
  const std::string exe = checked.file("check");
  const std::string cc = "cc -std=c99 -Wall -Wextra -Werror -pedantic -I" +
                         shell_quote(TRALK_FIXTURES) + " -I" + shell_quote(checked.str()) + " -o " +
                         shell_quote(exe) + " " + shell_quote(checked.file("check.c"));
  ASSERT_EQ(std::system(cc.c_str()), 0) << cc;
  EXPECT_EQ(run_shell(checked.path(), shell_quote(exe) + " my-ui.bin"), "same\n");
  // A flipped bit in the chip is seen.
  std::string damaged = bin;
  damaged[damaged.size() / 2] = static_cast<char>(damaged[damaged.size() / 2] ^ 0x08);
  checked.write("damaged.bin", damaged);
  EXPECT_EQ(run_shell(checked.path(), shell_quote(exe) + " damaged.bin"), "differs\n");
}

}  // namespace
