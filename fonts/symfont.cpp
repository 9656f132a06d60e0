#include "fonts/symfont.h"

void sym_free(SymFontPtr font) {
  // The record owns its symbol data and codepage; letting it go releases all.
  font.reset();
}
