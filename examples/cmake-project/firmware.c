/*
   A firmware stand-in that draws text with the virtual fonts of its storage
   image. It finds the glyphs as the display library does: through a font's
   GFONTV structure (which tralk generated into ui.c) and the storage indexes
   in it, reading the storage chip. On the host the chip is the file ui.bin.

   Usage: firmware IMAGE.bin FONT TEXT
     FONT is ui12, ui20, term or logo; TEXT is UTF-8 (the logo draws its one
     symbol). Prints the pixels as rows: "." for none, "#" for ink or colour,
     1 to F for the grey levels of a 4-bit font.
*/
#include <stdio.h>
#include <string.h>

#include "ui.h"

#define MAX_SYMBOL_BYTES 4096

static FILE* chip;

/* Reads n bytes at a storage index of the device; 0 on success. */
static int storage_read(unsigned long device_id, unsigned long index, unsigned char* buf,
                        size_t n) {
  if (device_id != UI_ID || index + n > UI_SIZE) return -1;
  if (fseek(chip, (long)index, SEEK_SET) != 0) return -1;
  return fread(buf, 1, n, chip) == n ? 0 : -1;
}

static unsigned read16(const unsigned char* p) {
  return (unsigned)p[0] | (unsigned)p[1] << 8;
}

/* The symbol of a character code through the font's codepage: an unknown
   code takes the default character. -1 when neither is found; a font
   without a codepage has one symbol. */
static long symbol_of(const GFONTV* font, unsigned code) {
  const GCODEPAGEV* cp = font->codepage;
  int pass;
  if (!cp) return 0;
  for (pass = 0; pass < 2; ++pass, code = cp->defchar) {
    unsigned r;
    for (r = 0; r < cp->numranges; ++r) {
      unsigned char range[6];
      if (storage_read(font->device_id, cp->range_index + 6ul * r, range, sizeof range)) return -1;
      if (code >= read16(range) && code <= read16(range + 2))
        return (long)(read16(range + 4) + (code - read16(range)));
    }
  }
  return -1;
}

/* A symbol as stored: its width (16 bits), then its rows of pixel bytes. */
static int read_symbol(const GFONTV* font, long symbol, unsigned char* buf) {
  const unsigned long size = 2 + font->symbytes;
  if (symbol < 0 || symbol >= font->numsym || size > MAX_SYMBOL_BYTES) return -1;
  return storage_read(font->device_id, font->sym_index + (unsigned long)symbol * size, buf, size);
}

/* Pixel x of a row, as its character. */
static char pixel(const GFONTV* font, const unsigned char* row, unsigned x) {
  static const char levels[] = ".123456789ABCDEF";
  switch (font->numbits) {
    case 0:
      return row[x / 8] & (0x80 >> (x % 8)) ? '#' : '.';
    case 4:
      return levels[(row[x / 2] >> (x % 2 ? 0 : 4)) & 0x0F];
    case 16:
      return row[2 * x] | row[2 * x + 1] ? '#' : '.';
    default:
      return '?';
  }
}

/* The next character of UTF-8 text (one or two bytes). */
static unsigned next_code(const char** text) {
  const unsigned char* s = (const unsigned char*)*text;
  if (s[0] >= 0xC0 && s[0] < 0xE0 && (s[1] & 0xC0) == 0x80) {
    *text += 2;
    return (unsigned)(s[0] & 0x1F) << 6 | (s[1] & 0x3F);
  }
  *text += 1;
  return s[0];
}

static int draw(const GFONTV* font, const char* text) {
  const unsigned bits = font->numbits ? font->numbits : 1;
  unsigned row;
  for (row = 0; row < font->symheight; ++row) {
    const char* c = text;
    while (*c) {
      unsigned char sym[MAX_SYMBOL_BYTES];
      unsigned x, width;
      if (read_symbol(font, symbol_of(font, next_code(&c)), sym)) return -1;
      width = read16(sym);
      for (x = 0; x < width; ++x) putchar(pixel(font, sym + 2 + row * ((width * bits + 7) / 8), x));
    }
    putchar('\n');
  }
  return 0;
}

int main(int argc, char** argv) {
  static const struct {
    const char* name;
    const GFONTV* font;
  } fonts[] = {{"ui12", &ui12}, {"ui20", &ui20}, {"term", &term}, {"logo", &logo}};
  const GFONTV* font = NULL;
  size_t i;
  int status;
  if (argc != 4) {
    fprintf(stderr, "usage: firmware IMAGE.bin FONT TEXT\n");
    return 2;
  }
  for (i = 0; i < sizeof fonts / sizeof fonts[0]; ++i)
    if (strcmp(argv[2], fonts[i].name) == 0) font = fonts[i].font;
  chip = fopen(argv[1], "rb");
  if (!font || !chip) {
    fprintf(stderr, "firmware: no font %s or no image %s\n", argv[2], argv[1]);
    return 1;
  }
  status = draw(font, font == &logo ? "L" : argv[3]);
  fclose(chip);
  if (status) fprintf(stderr, "firmware: the storage image does not hold the font\n");
  return status ? 1 : 0;
}
