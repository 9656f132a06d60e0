// The lexer keeps a pushed-back character itself: the next read of the same
// stream delivers it, and making any stream current drops it.
#include <gtest/gtest.h>

#include <string>

#include "base/fileio.h"
#include "driver/lex.h"
#include "support/text_stream.h"

namespace {

TEST(LexerPushBack, NumberListsReadAsWritten) {
  // The sequence a .sym pixel list makes: number, its terminator pushed back,
  // the comma, the next number's first digit pushed back.
  FilePtr f = stream_of("0x1F,\t7 ,/* c */0XaB}\r");
  lex_open(f.get(), false);
  EXPECT_EQ(lex_number(), 31);
  EXPECT_EQ(lex_skip(), ',');
  EXPECT_EQ(lex_skip(), '7');
  lex_ungetc();
  EXPECT_EQ(lex_number(), 7);
  EXPECT_EQ(lex_skip(), ',');
  EXPECT_EQ(lex_number(), 0xAB);
  EXPECT_EQ(lex_skip(), '}');
  EXPECT_EQ(lex_skip(), -1);
}

TEST(LexerPushBack, MappedCharacterComesBackWithItsLineState) {
  // A tab ends the number and comes back as a blank; a carriage return comes
  // back as a line end, and reading it again marks the line end once more.
  FilePtr f = stream_of("12\t\rx");
  lex_open(f.get(), true);
  EXPECT_EQ(lex_number(), 12);
  EXPECT_EQ(lex_getc(), ' ');
  EXPECT_EQ(lex_getc(), 10);
  lex_ungetc();
  EXPECT_EQ(lex_skip(), 10);
  EXPECT_EQ(lex_rest(), "x");
}

TEST(LexerPushBack, IsNotCarriedToAnotherStream) {
  struct Case {
    const char* first;
    const char* second;
    const char* second_read;
  } cases[] = {{"12ab", "xyz", "xyz"}, {"x5", "42", "42"}, {"/q", "r", "r"}};
  for (const Case& c : cases) {
    FilePtr a = stream_of(c.first);
    lex_open(a.get(), false);
    lex_number();  // leaves the character after the number, or the "x", pushed back
    if (c.first[0] == '/') {
      EXPECT_EQ(lex_skip(), 'q') << "after the lone slash";
      lex_ungetc();
    }
    FilePtr b = stream_of(c.second);
    lex_open(b.get(), false);
    EXPECT_EQ(lex_rest(), c.second_read) << c.first;
    // A line read starts afresh too.
    lex_open(a.get(), false);
    lex_number();
    FilePtr d = stream_of(std::string(c.second) + "\nmore");
    EXPECT_STREQ(lex_readline(d.get()), c.second) << c.first;
  }
}

}  // namespace
