#include "base/path.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "base/platform.h"
#include "support/tempdir.h"

namespace {

TEST(Paths, SplitIntoBaseAndExtension) {
  struct Case {
    const char* path;
    const char* base;
    const char* ext;
  } cases[] = {
      {"a.b.sym", "a.b", ".sym"},     {"noext", "noext", ""},
      {"dir.d/noext", "noext", ""},   {"C:\\f\\Arial.SYM", "Arial", ".SYM"},
      {"/x/.sym", "", ".sym"},        {"fonts/", "", ""},
      {"font*.sym", "font*", ".sym"}, {"pic.b?p", "pic", ".b?p"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(path_base(c.path), c.base) << c.path;
    EXPECT_EQ(path_ext(c.path), c.ext) << c.path;
  }
}

TEST(Paths, Identifiers) {
  struct Case {
    std::string path;
    std::string ident;
  } cases[] = {
      {"12font.sym", "_12font"},
      {"my-font.x.sym", "my_font_x"},
      {".sym", "_"},
      {"Arial.SYM", "Arial"},
      {"dir/_ok.bin", "_ok"},
      {"\xe9t\xe9.sym", "_\x5ft_"},
      {"fonts\\a b.sym", "a_b"},
      {std::string(300, 'q') + ".s", std::string(254, 'q')},
      {"9" + std::string(300, 'q'), "_9" + std::string(253, 'q')},
  };
  for (const Case& c : cases) EXPECT_EQ(path_ident(c.path), c.ident) << c.path;
}

TEST(Paths, FullPathsResolveAgainstTheCurrentDirectory) {
  TempDir dir;
  ScopedCwd cwd(dir.path());
  const std::string here = std::filesystem::current_path().string();
  struct Case {
    std::string name;
    std::optional<std::string> full;
  } cases[] = {
      {"a.bin", here + "/a.bin"},
      {"sub/./x/../b.sym", here + "/sub/b.sym"},
      {"sub\\win\\c.sym", here + "/sub/win/c.sym"},
      {"/abs//d/../e.pal", "/abs/e.pal"},
      {"fonts/*.sym", here + "/fonts/*.sym"},
      {"dir/", here + "/dir/"},
      {"", std::nullopt},
  };
  for (const Case& c : cases) EXPECT_EQ(path_full(c.name), c.full) << c.name;
}

TEST(Paths, FullPathsLongerThan258CharactersAreRefused) {
  const std::string at_limit = "/" + std::string(257, 'p');
  EXPECT_EQ(path_full(at_limit), at_limit);
  EXPECT_EQ(path_full(at_limit + "p"), std::nullopt);
  EXPECT_EQ(path_setname(at_limit + "p", "x.sym"), std::nullopt);
}

TEST(Paths, SetNameAndExtension) {
  TempDir dir;
  ScopedCwd cwd(dir.path());
  const std::string here = std::filesystem::current_path().string();
  EXPECT_EQ(path_setext("out.bin", ".h"), here + "/out.h");
  EXPECT_EQ(path_setext("out", ".c"), here + "/out.c");
  EXPECT_EQ(path_setext("sub/FONTS.BIN", ".c"), here + "/sub/FONTS.c");
  EXPECT_EQ(path_setext("a.b.bin", "noext"), here + "/a.b");
  EXPECT_EQ(path_setname("/f/fonts/font*.sym", "font12.sym"), "/f/fonts/font12.sym");
  EXPECT_EQ(path_setname("/cfg/", "gcolor_4.pal"), "/cfg/gcolor_4.pal");
  EXPECT_EQ(path_setname("fonts/f.sym", "other/dir\\ascii.cp"), here + "/fonts/ascii.cp");
}

TEST(DirectorySearch, RegularFilesInByteOrder) {
  TempDir dir;
  for (const char* name : {"b.sym", "a.sym", "A.sym", "ab.sym", "x.txt", ".h.sym", "a.SYM"}) {
    dir.write(name, "x");
  }
  std::filesystem::create_directory(dir.path() / "dir.sym");
  struct Case {
    const char* pattern;
    std::vector<std::string> names;
  } cases[] = {
      {"*.sym", {".h.sym", "A.sym", "a.sym", "ab.sym", "b.sym"}},
      {"?.sym", {"A.sym", "a.sym", "b.sym"}},
      {"a*", {"a.SYM", "a.sym", "ab.sym"}},
      {"*b*.s?m", {"ab.sym", "b.sym"}},
      {"x.txt", {"x.txt"}},
      {"dir.sym", {}},
      {"none*.sym", {}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(plat_find_files(dir.file(c.pattern)), c.names) << c.pattern;
  }
  EXPECT_TRUE(plat_find_files(dir.file("missing/*.sym")).empty());
}

}  // namespace
