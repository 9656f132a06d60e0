/*
   A firmware stand-in that draws text with a virtual font. It finds its
   glyphs as the display library does: through the font's GFONTV structure
   (which tralk generated into ui.c) and the storage indexes in it, reading
   the storage chip. On the host the chip is the image file ui.bin.

   Usage: firmware IMAGE.bin TEXT   (prints TEXT as rows of "#" and "-")
*/
#include <stdio.h>
#include <string.h>

#include "ui.h"

#define MAX_SYMBOL_BYTES 256

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
   code takes the default character. -1 when neither is found. */
static long symbol_of(const GFONTV* font, unsigned code) {
  const GCODEPAGEV* cp = font->codepage;
  int pass;
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

static int draw(const GFONTV* font, const char* text) {
  unsigned row;
  for (row = 0; row < font->symheight; ++row) {
    const char* c;
    for (c = text; *c; ++c) {
      unsigned char sym[MAX_SYMBOL_BYTES];
      unsigned x, width, row_bytes;
      if (read_symbol(font, symbol_of(font, (unsigned char)*c), sym)) return -1;
      width = read16(sym);
      row_bytes = (width + 7) / 8;
      for (x = 0; x < width; ++x)
        putchar(sym[2 + row * row_bytes + x / 8] & (0x80 >> (x % 8)) ? '#' : '-');
    }
    putchar('\n');
  }
  return 0;
}

int main(int argc, char** argv) {
  int status;
  if (argc != 3) {
    fprintf(stderr, "usage: firmware IMAGE.bin TEXT\n");
    return 2;
  }
  chip = fopen(argv[1], "rb");
  if (!chip) {
    fprintf(stderr, "firmware: cannot open %s\n", argv[1]);
    return 1;
  }
  status = draw(&ui_text, argv[2]);
  fclose(chip);
  if (status) fprintf(stderr, "firmware: the storage image does not hold the font\n");
  return status ? 1 : 0;
}
