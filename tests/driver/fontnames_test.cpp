#include "driver/fontnames.h"

#include <gtest/gtest.h>

namespace {

TEST(FontNames, FromTemplateOrFileName) {
  struct Case {
    const char* tmpl;  // nullptr: no template
    const char* path;
    const char* name;
  } cases[] = {
      {nullptr, "dir/arial12.sym", "arial12"},
      {"Big*", "arial12.sym", "Bigarial12"},
      {"x*", "a.sym", "x"},
      {"*?*", "arial12.sym", "arial12"},
      {"2big", "arial12.sym", "_2big"},
      {"my-font", "arial12.sym", "my_font"},
      {"F?nt", "font.sym", "Font"},
      {"", "font.sym", "_"},
      {"a??", "f.sym", "a"},
      {"*_bold", "12x.sym", "_12x_bold"},
  };
  for (const Case& c : cases) {
    std::optional<std::string> tmpl;
    if (c.tmpl) tmpl = c.tmpl;
    EXPECT_EQ(make_fontname(tmpl, std::string(c.path)), c.name) << (c.tmpl ? c.tmpl : "-");
  }
  EXPECT_EQ(make_fontname(std::string("any-thing"), std::nullopt), "any-thing");
  // Long names stop at 511 characters.
  EXPECT_EQ(make_fontname(std::string(600, 'k'), std::string("f.sym")).size(), 511u);
  // A "*" appends its source only while the name is shorter than 510.
  EXPECT_EQ(make_fontname(std::string(300, '-') + "*", std::string(254, 'a') + ".sym"),
            std::string(300, '_') + std::string(210, 'a'));
}

}  // namespace
