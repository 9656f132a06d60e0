// The lexer's procedural interface: each operation reaches the scanner (whose
// own tests are in tests/base), on one current stream, and the cfg_
// operations keep the configuration's line state of their own.
#include "support/lex.h"

#include <gtest/gtest.h>

#include <string>

#include "base/fileio.h"
#include "support/text_stream.h"

namespace {

TEST(LexCompat, EachOperationReadsTheCurrentStream) {
  FilePtr f = stream_of("\tx 0x1F,/*c*/ \"a b\" \"open\n");
  lex_open(f.get(), false);
  EXPECT_EQ(lex_getc(), ' ');
  EXPECT_EQ(lex_getc(), 'x');
  lex_ungetc();
  EXPECT_EQ(lex_skip(), 'x');
  EXPECT_EQ(lex_number(), 31);
  EXPECT_EQ(lex_skip(), ',');
  EXPECT_STREQ(lex_name(), "a b");
  EXPECT_FALSE(lex_name_rejected());
  EXPECT_EQ(lex_name(), nullptr);
  EXPECT_TRUE(lex_name_rejected());

  FilePtr g = stream_of(std::string(300, 'L') + "\nnext");
  EXPECT_EQ(std::string(lex_readline(g.get())), std::string(260, 'L'));
  EXPECT_EQ(lex_readline(nullptr), nullptr);
  EXPECT_EQ(lex_getc(), -1) << "no stream is current after a line read";
}

TEST(LexCompat, GivenBackCharacterStaysWithItsStream) {
  struct Case {
    const char* first;
    const char* second;
  } cases[] = {{"12ab", "xyz"}, {"x5", "42"}, {"/q", "r"}};
  for (const Case& c : cases) {
    FilePtr a = stream_of(c.first);
    lex_open(a.get(), false);
    lex_number();  // leaves the character after the number, or the "x", given back
    if (c.first[0] == '/') {
      EXPECT_EQ(lex_skip(), 'q') << "after the lone slash";
      lex_ungetc();
    }
    FilePtr b = stream_of(c.second);
    lex_open(b.get(), false);
    EXPECT_EQ(lex_rest(), c.second) << c.first;
    // A line read starts afresh too.
    lex_open(a.get(), false);
    lex_number();
    FilePtr d = stream_of(std::string(c.second) + "\nmore");
    EXPECT_STREQ(lex_readline(d.get()), c.second) << c.first;
  }
}

}  // namespace
