#include "output/fontlist.h"

#include <new>

#include "base/console.h"

FontListPtr fontlistnew() {
  try {
    return std::make_unique<FONTLIST>();
  } catch (const std::bad_alloc&) {
    con_printf("\nHeap overflow in fontlistadd creation");
    return nullptr;
  }
}

FontListPtr fontlistadd(FontListPtr list, SymFontPtr font, std::string name) {
  if (!list) {
    list = fontlistnew();
    if (!list) return nullptr;
  }
  try {
    list->entries.push_back(FONTENTRY{std::move(font), std::move(name)});
  } catch (const std::bad_alloc&) {
    con_printf("\nHeap overflow in fontlistadd during add of new element");
    fontlistfree(std::move(list));
    return nullptr;
  }
  return list;
}

uint32_t fontlistcount(const FONTLIST* list) {
  return list ? static_cast<uint32_t>(list->entries.size()) : 0;
}

void fontlistfree(FontListPtr list) {
  if (!list) return;
  // Names first, then each entry's name and font, in order.
  list->binname.clear();
  list->id.clear();
  for (FONTENTRY& e : list->entries) {
    e.name.clear();
    sym_free(std::move(e.font));
  }
  list.reset();
}
