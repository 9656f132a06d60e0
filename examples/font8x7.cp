/* numranges, default character */
{1, 65},
{
  {65, 67, 0}   /* three 16-bit values per range, stored unchanged in the image */
}
