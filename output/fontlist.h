// FONTLIST: everything that goes into one virtual font image.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "fonts/symfont.h"

struct FONTENTRY {
  SymFontPtr font;
  std::string name;  // the font's C identifier
};

struct FONTLIST {
  std::string binname;             // the image name as written in the configuration
  std::string id;                  // the device identifier text
  std::vector<FONTENTRY> entries;  // in order of addition
};
using FontListPtr = std::unique_ptr<FONTLIST>;

// A new, empty list; none after "\nHeap overflow in fontlistadd creation".
FontListPtr fontlistnew();
// Appends font under name (creating the list when none is given) and returns
// the list; when memory runs out prints its message, releases the whole list
// and returns none.
FontListPtr fontlistadd(FontListPtr list, SymFontPtr font, std::string name);
// Number of fonts in the list; 0 for none.
uint32_t fontlistcount(const FONTLIST* list);
// Releases the list with its names and fonts; none is accepted.
void fontlistfree(FontListPtr list);
