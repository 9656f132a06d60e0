# An independent reading of a PC Screen Font (PSF1 or PSF2, gzipped or not)
# for the importer's tests: each character of its Unicode table (sequences
# skipped, the first glyph of a character taken) with its glyph, written as
# the .sym line a b&w import at the font's own height gives it.
import gzip, struct, sys
d = open(sys.argv[1], 'rb').read()
if d[:2] == b'\x1f\x8b':
    d = gzip.decompress(d)
m = {}
if d[:2] == b'\x36\x04':
    mode, h = d[2], d[3]
    n, w, cs = (512 if mode & 1 else 256), 8, d[3]
    bm, t = d[4:4 + n * cs], d[4 + n * cs:]
    g = i = 0
    seq = False
    while mode & 6 and g < n:
        v = t[i] | t[i + 1] << 8
        i += 2
        if v == 0xFFFF:
            g, seq = g + 1, False
        elif v == 0xFFFE:
            seq = True
        elif not seq:
            m.setdefault(v, g)
else:
    _, _, hs, fl, n, cs, h, w = struct.unpack('<8I', d[:32])
    bm, t = d[hs:hs + n * cs], d[hs + n * cs:]
    g = i = 0
    seq = False
    while fl & 1 and g < n:
        b = t[i]
        if b in (0xFF, 0xFE):
            i += 1
            if b == 0xFF:
                g, seq = g + 1, False
            else:
                seq = True
            continue
        k = 1 if b < 0x80 else 2 if b < 0xE0 else 3 if b < 0xF0 else 4
        c = t[i:i + k].decode('utf-8')
        i += k
        if not seq:
            m.setdefault(ord(c), g)
rb = (w + 7) // 8
mask = (0xFF00 >> (w % 8 or 8)) & 0xFF
for c in sorted(m):
    if c > 0xFFFF:
        continue
    rows = bytearray(bm[m[c] * cs:(m[c] + 1) * cs])
    for r in range(h):
        rows[r * rb + rb - 1] &= mask
    print('{{%d,%d},{%s}}, // 0x%04X' % (w, h, ','.join('0x%02X' % x for x in rows), c))
