#include <gtest/gtest.h>

#include "base/path.h"

TEST(Wildcards, MatchStarsQuestionMarksAndCase) {
  struct Case {
    const char* pattern;
    const char* name;
    bool exact;   // letter case significant
    bool folded;  // letters in either case
  } cases[] = {
      {"*.sym", "font.sym", true, true},
      {"*.sym", "font.SYM", false, true},
      {"*.sym", "font.symbol", false, false},
      {"f?nt*.sym", "font12.sym", true, true},
      {"?.sym", ".sym", false, false},
      {"a*b*c", "aXbYbZc", true, true},
      {"a*b*c", "aXbYbZ", false, false},
      {"**", "", true, true},
      {"", "x", false, false},
      {"F?NT.Sym", "font.sym", false, true},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(wildcard_match(c.pattern, c.name, false), c.exact) << c.pattern << " " << c.name;
    EXPECT_EQ(wildcard_match(c.pattern, c.name, true), c.folded) << c.pattern << " " << c.name;
  }
}
