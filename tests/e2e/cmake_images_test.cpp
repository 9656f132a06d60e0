// tralk_add_image learns the images of a configuration when the build is
// configured, from CMake's own reading of it (cmake/TralkConfigImages.cmake).
// Here that reading is held to what the program really writes, on
// configurations that use the corners of the syntax.
#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <sstream>

#include "support/run_tralk.h"
#include "support/tempdir.h"

namespace fs = std::filesystem;

namespace {

// The image names CMake reads from cfg.vfg in dir, one per line.
std::set<std::string> images_cmake_expects(const TempDir& dir) {
  dir.write("images.cmake", "include(\"" TRALK_CMAKE_MODULES
                            "/TralkConfigImages.cmake\")\n"
                            "tralk_config_images(cfg.vfg images)\n"
                            "list(JOIN images \"\\n\" text)\n"
                            "file(WRITE images.txt \"${text}\")\n");
  const std::string err =
      run_shell(dir.path(), shell_quote(TRALK_CMAKE_COMMAND) + " -P images.cmake 2>&1");
  EXPECT_EQ(err, "");
  std::set<std::string> names;
  std::istringstream lines(TempDir::read(dir.path() / "images.txt"));
  for (std::string line; std::getline(lines, line);) names.insert(line);
  return names;
}

std::set<std::string> images_written(const fs::path& out) {
  std::set<std::string> names;
  for (const auto& e : fs::recursive_directory_iterator(out)) {
    if (e.path().extension() == ".bin" || e.path().extension() == ".BIN")
      names.insert(fs::relative(e.path(), out).generic_string());
  }
  return names;
}

TEST(CMakeImages, ReadAsTheProgramReadsThem) {
  const char* configs[] = {
      "a.bin\nf.sym\n",
      // Comments hide names; a third word on a line is the next entry.
      "/* x.bin\n y.bin */ a.BIN 0x1 // c.bin\nf.sym T d.bin\nf.sym\n",
      // Quotes, CR LF, tabs, "\" as separator; an image without fonts is not written.
      "\"sp ace.bin\"\r\n\"f.sym\"\r\nempty.bin\nsub\\n.bin\tID\nf.sym\n",
      // GREYMODE reads one word, a palette none.
      "GREYMODE 4 g.bin\nf.sym\np.pal x.bin\nf.sym\n",
      // A comment holding a line end ends the line; an empty quoted word is no word.
      "q.bin /* multi\nline */ f.sym\nr.bin \"\"\nf.sym\n",
      // A byte order mark at the start is skipped.
      "\xEF\xBB\xBF" "bom.bin\nf.sym\n",
  };
  for (const char* config : configs) {
    TempDir dir;
    dir.write("cfg.vfg", config);
    dir.write("f.sym", "{{8,1},{0x81}}\n");
    dir.write("p.pal", "{ {0}, {255} }\n");
    fs::create_directories(dir.path() / "out/sub");
    const RunResult r = run_tralk(dir.path(), "--output-dir out cfg.vfg");
    ASSERT_EQ(r.status, 0) << config << "\n" << r.out;
    EXPECT_EQ(images_cmake_expects(dir), images_written(dir.path() / "out")) << config;
  }
}

}  // namespace
