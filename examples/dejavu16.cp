{3, 63},  /* number of ranges, default character */
{
  {32, 126, 0},  /* first code, last code, symbol index of the first code */
  {160, 255, 95},
  {1024, 1119, 191}
}
