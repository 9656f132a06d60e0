/* numranges, default character */
{3, 63},
{
  {63, 63, 0},    /* "?" is symbol 0 */
  {72, 72, 1},    /* "H" is symbol 1 */
  {105, 105, 2}   /* "i" is symbol 2 */
}
