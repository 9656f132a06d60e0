#include "driver/lex.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/fileio.h"
#include "support/text_stream.h"

namespace {

TEST(Lexer, GetcMapsControlCharacters) {
  FilePtr f = stream_of(std::string("a\tb\rc\r\nd\x01\xff", 10));
  lex_open(f.get(), false);
  EXPECT_EQ(lex_rest(), "a b\nc\n\nd \xff");
}

TEST(Lexer, UngetcPushesBackTheMappedCharacterOnce) {
  FilePtr f = stream_of("\rx");
  lex_open(f.get(), false);
  EXPECT_EQ(lex_getc(), 10);
  lex_ungetc();
  lex_ungetc();  // nothing left to push back
  EXPECT_EQ(lex_getc(), 10);
  EXPECT_EQ(lex_getc(), 'x');
  EXPECT_EQ(lex_getc(), -1);
}

TEST(Lexer, NumberForms) {
  struct Case {
    const char* text;
    long value;
    const char* left;
  } cases[] = {
      {"0x1F", 31, ""},
      {"0X1f", 31, ""},
      {"007 ", 7, " "},
      {"12ab", 12, "ab"},
      {"5x", 5, "x"},
      {"x5", -1, "x5"},
      {"-5", -1, "-5"},
      {"0x}", 0, "}"},
      {"0x", -1, ""},
      {" /* c */ 42,", 42, ","},
      {"// c\n\t9}", 9, "}"},
      {"2147483647,", 2147483647, ","},
      {"4294967295,", -1, ","},
      {"4294967296,", 0, ","},
      {"", -1, ""},
      {"0xfffe ", 65534, " "},
      {"3", 3, ""},
  };
  for (const Case& c : cases) {
    FilePtr f = stream_of(c.text);
    lex_open(f.get(), false);
    EXPECT_EQ(lex_number(), c.value) << c.text;
    EXPECT_EQ(lex_rest(), c.left) << c.text;
  }
}

TEST(Lexer, SkipReturnsSignificantCharactersAndLineEnds) {
  struct Case {
    const char* text;
    bool linemode;
    std::vector<int> expected;
  } cases[] = {
      {"a b", false, {'a', 'b'}},        {"a//x /* y\nb", false, {'a', 'b'}},
      {"a//x\nb", true, {'a', 10, 'b'}}, {"a/*x\ny*/b", true, {'a', 10, 'b'}},
      {"a/*x*/b", true, {'a', 'b'}},     {"/*/ */b", false, {'b'}},
      {"/**/b", false, {'b'}},           {"/b", false, {'/', 'b'}},
      {"q\r\n", true, {'q', 10, 10}},    {"a /* never closed", false, {'a'}},
      {"a // no line end", true, {'a'}},
  };
  for (const Case& c : cases) {
    FilePtr f = stream_of(c.text);
    lex_open(f.get(), c.linemode);
    std::vector<int> got;
    for (int ch; (ch = lex_skip()) != -1;) got.push_back(ch);
    EXPECT_EQ(got, c.expected) << c.text;
  }
}

TEST(Lexer, LoneSlashCannotBePushedBack) {
  FilePtr f = stream_of("/1");
  lex_open(f.get(), false);
  EXPECT_EQ(lex_skip(), '/');
  lex_ungetc();
  EXPECT_EQ(lex_number(), 1);
}

TEST(Lexer, Names) {
  const std::string n259(259, 'n');
  struct Case {
    std::string text;
    std::vector<std::string> names;  // "<none>" for a rejected name
  } cases[] = {
      {"one\ttwo three", {"one", "two", "three"}},
      {"\"a b\t/*c*/\" d", {"a b /*c*/", "d"}},
      {"name//x y", {"name//x", "y"}},
      {"/dir/f.sym", {"/dir/f.sym"}},
      {"\"\" e", {"", "e"}},
      {"\"open\nx", {"<none>"}},
      {"\"open", {"<none>"}},
      {n259 + " z", {n259, "z"}},
      {n259 + "n z", {"<none>"}},
      {"\"" + n259 + "\"", {n259}},
      {"\"" + n259 + "n\"", {"<none>"}},
  };
  for (const Case& c : cases) {
    FilePtr f = stream_of(c.text);
    lex_open(f.get(), false);
    std::vector<std::string> got;
    for (;;) {
      const char* name = lex_name();
      if (!name) {
        if (lex_name_rejected()) got.push_back("<none>");
        break;
      }
      got.push_back(name);
    }
    EXPECT_EQ(got, c.names) << c.text;
  }
}

TEST(Lexer, ReadlineKeepsAtMost260Characters) {
  const std::string line(300, 'L');
  FilePtr f = stream_of(line + "\nnext");
  EXPECT_EQ(std::string(lex_readline(f.get())), line.substr(0, 260));
  FilePtr g = stream_of("// CP<a.cp> /* kept */\r\nbody");
  EXPECT_EQ(std::string(lex_readline(g.get())), "// CP<a.cp> /* kept */");
  EXPECT_EQ(lex_readline(nullptr), nullptr);
  EXPECT_EQ(lex_getc(), -1) << "no stream is current after a line read";
}

// Reads a configuration as the driver does: each line's first name and its
// optional further name, as "first|arg" ("first|" when there is none).
std::vector<std::string> config_entries(const std::string& text) {
  FilePtr f = stream_of(text);
  std::vector<std::string> out;
  while (const char* first = cfg_firstname(f.get())) {
    std::string entry = std::string(first) + "|";
    const char* arg = cfg_linearg(f.get());
    if (arg) entry += arg;
    out.push_back(entry);
    if (!arg && lex_name_rejected()) {
      out.push_back("<rejected>");
      return out;
    }
  }
  if (lex_name_rejected()) out.push_back("<rejected>");
  return out;
}

TEST(ConfigReading, EntriesAndLineArguments) {
  struct Case {
    const char* text;
    std::vector<std::string> entries;
  } cases[] = {
      {"demo.bin 0x10\nfont8x7.sym\nlogo.bmp\n", {"demo.bin|0x10", "font8x7.sym|", "logo.bmp|"}},
      {"a.bin\r\nb.sym\r\n", {"a.bin|", "b.sym|"}},
      {"a.bin   \nb.sym", {"a.bin|", "b.sym|"}},
      {"a.bin // id\nb.sym", {"a.bin|", "b.sym|"}},
      {"a.bin /* c */ x\n", {"a.bin|x"}},
      {"a.bin /* c\n */ x\n", {"a.bin|", "x|"}},
      {"a.bin b c\n", {"a.bin|b", "c|"}},
      {"GREYMODE 16 extra\n", {"GREYMODE|16", "extra|"}},
      {"/* only */\n// comments\n\n", {}},
      {"\"my font.sym\" \"T x\"\n", {"my font.sym|T x"}},
      {"a.bin \"\"\nb.sym", {"a.bin|", "b.sym|"}},
      {"a.bin \"open\n", {"a.bin|", "<rejected>"}},
      {"x.sym\n\"open\n", {"x.sym|", "<rejected>"}},
  };
  for (const Case& c : cases) EXPECT_EQ(config_entries(c.text), c.entries) << c.text;
}

TEST(ConfigReading, LineStateSurvivesReadingAnotherStream) {
  struct Case {
    const char* config;
    const char* expected_arg;  // nullptr: the line has no further name
  } cases[] = {{"pic.bmp\nnext.sym\n", nullptr}, {"pic.bmp tmpl\nnext.sym\n", "tmpl"}};
  for (const Case& c : cases) {
    FilePtr cfg = stream_of(c.config);
    ASSERT_STREQ(cfg_firstname(cfg.get()), "pic.bmp");
    // Another file is read completely in between, ending on a line end.
    FilePtr other = stream_of("{{0},{255}}\n");
    lex_open(other.get(), false);
    while (lex_skip() != -1) {
    }
    const char* arg = cfg_linearg(cfg.get());
    if (c.expected_arg) {
      ASSERT_NE(arg, nullptr);
      EXPECT_STREQ(arg, c.expected_arg);
    } else {
      EXPECT_EQ(arg, nullptr);
    }
    EXPECT_STREQ(cfg_firstname(cfg.get()), "next.sym");
  }
}

}  // namespace
