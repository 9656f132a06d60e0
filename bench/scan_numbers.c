/* The floor for reading a .sym font: a plain C program that reads the file
   once, in sequence, and scans the numbers in it (decimal, or hexadecimal
   after 0x), and does nothing else. bench/run.sh times tralk's whole run on
   the same file against it. */
#include <stdint.h>
#include <stdio.h>

static int hex_digit(int c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

int main(int argc, char** argv) {
  if (argc != 2) {
    fprintf(stderr, "usage: scan_numbers FILE\n");
    return 2;
  }
  FILE* f = fopen(argv[1], "rb");
  if (!f) {
    perror(argv[1]);
    return 1;
  }
  uint64_t count = 0, sum = 0;
  int c = getc_unlocked(f);
  while (c != EOF) {
    if (c < '0' || c > '9') {
      c = getc_unlocked(f);
      continue;
    }
    uint32_t v = (uint32_t)(c - '0');
    c = getc_unlocked(f);
    if (v == 0 && (c == 'x' || c == 'X')) {
      for (c = getc_unlocked(f); hex_digit(c) >= 0; c = getc_unlocked(f))
        v = v * 16 + (uint32_t)hex_digit(c);
    } else {
      for (; c >= '0' && c <= '9'; c = getc_unlocked(f)) v = v * 10 + (uint32_t)(c - '0');
    }
    ++count;
    sum += v;
  }
  fclose(f);
  printf("%llu numbers, sum %llu\n", (unsigned long long)count, (unsigned long long)sum);
  return 0;
}
