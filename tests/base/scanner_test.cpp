// The scanner that reads every text input, over both of its byte sources: a
// stream (the configuration) and a block in memory (.sym, .cp and .pal files
// read whole). Each case runs over both and must read the same.
#include "base/scanner.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/fileio.h"
#include "support/text_stream.h"

namespace {

// Calls read(scanner) for a scanner of each source holding text, with the
// source's name for messages.
template <class Read>
void over_both_sources(const std::string& text, bool linemode, Read read) {
  FilePtr f = stream_of(text);
  Scanner<StreamBytes> from_stream(StreamBytes(f.get()), linemode);
  read(from_stream, "stream");
  const auto* bytes = reinterpret_cast<const uint8_t*>(text.data());
  Scanner<MemoryBytes> from_memory(MemoryBytes(bytes, bytes + text.size()), linemode);
  read(from_memory, "memory");
}

template <class S>
std::string rest(S& scan) {
  std::string out;
  for (int c; (c = scan.getc()) != -1;) out += static_cast<char>(c);
  return out;
}

TEST(Scanner, MapsControlCharactersAndGivesOneBack) {
  over_both_sources(std::string("a\tb\rc\r\nd\x01\xff", 10), false, [](auto& s, const char* src) {
    EXPECT_EQ(rest(s), "a b\nc\n\nd \xff") << src;
  });
  over_both_sources("\rx", false, [](auto& s, const char* src) {
    EXPECT_EQ(s.getc(), 10) << src;
    s.ungetc();
    s.ungetc();  // nothing left to give back
    EXPECT_EQ(s.getc(), 10) << src;
    EXPECT_EQ(s.getc(), 'x') << src;
    EXPECT_EQ(s.getc(), -1) << src;
  });
}

TEST(Scanner, NumberForms) {
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
      {"12\t", 12, " "},
  };
  for (const Case& c : cases) {
    over_both_sources(c.text, false, [&](auto& s, const char* src) {
      EXPECT_EQ(s.number(), c.value) << c.text << " from " << src;
      EXPECT_EQ(rest(s), c.left) << c.text << " from " << src;
    });
  }
}

TEST(Scanner, SkipsToSignificantCharactersAndLineEnds) {
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
    over_both_sources(c.text, c.linemode, [&](auto& s, const char* src) {
      std::vector<int> got;
      for (int ch; (ch = s.skip()) != -1;) got.push_back(ch);
      EXPECT_EQ(got, c.expected) << c.text << " from " << src;
      EXPECT_EQ(s.comment_unclosed(), std::string(c.text).ends_with("never closed"));
    });
  }
}

TEST(Scanner, GivingBackAfterNumbersAndSlashes) {
  // A .sym pixel list: number, its terminator given back, the comma, the
  // next number's first digit given back.
  over_both_sources("0x1F,\t7 ,/* c */0XaB}\r", false, [](auto& s, const char* src) {
    EXPECT_EQ(s.number(), 31) << src;
    EXPECT_EQ(s.skip(), ',') << src;
    EXPECT_EQ(s.skip(), '7') << src;
    s.ungetc();
    EXPECT_EQ(s.number(), 7) << src;
    EXPECT_EQ(s.skip(), ',') << src;
    EXPECT_EQ(s.number(), 0xAB) << src;
    EXPECT_EQ(s.skip(), '}') << src;
    EXPECT_EQ(s.skip(), -1) << src;
  });
  // After a lone "/" the character after it has been given back already.
  over_both_sources("/1", false, [](auto& s, const char* src) {
    EXPECT_EQ(s.skip(), '/') << src;
    s.ungetc();
    EXPECT_EQ(s.number(), 1) << src;
  });
  // A carriage return that ends a number comes back as a line end, and
  // reading it again marks the line end once more.
  over_both_sources("12\rx", true, [](auto& s, const char* src) {
    EXPECT_EQ(s.number(), 12) << src;
    EXPECT_EQ(s.getc(), 10) << src;
    EXPECT_EQ(s.newlines(), 1) << src;
    s.ungetc();
    EXPECT_EQ(s.skip(), 10) << src;
    EXPECT_EQ(rest(s), "x") << src;
  });
}

TEST(Scanner, Names) {
  const std::string n259(259, 'n');
  struct Case {
    std::string text;
    std::vector<std::string> names;  // "<rejected>" for a rejected name
  } cases[] = {
      {"one\ttwo three", {"one", "two", "three"}},
      {"\"a b\t/*c*/\" d", {"a b /*c*/", "d"}},
      {"name//x y", {"name//x", "y"}},
      {"/dir/f.sym", {"/dir/f.sym"}},
      {"\"\" e", {"", "e"}},
      {"\"open\nx", {"<rejected>"}},
      {"\"open", {"<rejected>"}},
      {n259 + " z", {n259, "z"}},
      {n259 + "n z", {"<rejected>"}},
      {"\"" + n259 + "\"", {n259}},
      {"\"" + n259 + "n\"", {"<rejected>"}},
  };
  for (const Case& c : cases) {
    over_both_sources(c.text, false, [&](auto& s, const char* src) {
      std::vector<std::string> got;
      while (const char* name = s.name()) got.push_back(name);
      if (s.name_rejected()) got.push_back("<rejected>");
      EXPECT_EQ(got, c.names) << c.text << " from " << src;
    });
  }
}

TEST(Scanner, ReadlineKeepsAtMost260Characters) {
  const std::string line(300, 'L');
  over_both_sources(line + "\nnext", false, [&](auto& s, const char* src) {
    EXPECT_EQ(std::string(s.readline()), line.substr(0, 260)) << src;
  });
  over_both_sources("// CP<a.cp> /* kept */\r\nbody", false, [](auto& s, const char* src) {
    EXPECT_EQ(std::string(s.readline()), "// CP<a.cp> /* kept */") << src;
    EXPECT_EQ(rest(s), "\nbody") << src;
  });
}

}  // namespace
