# An independent reader of the Intel HEX and Motorola S-record files that
# tralk-pack writes, in Python's standard library only: it checks every
# record (its length, checksum and type; Intel data never crossing a 64 KiB
# page) and writes the memory the records describe from BASE for SIZE
# bytes, the bytes no record holds being 0xFF, as binary files.
#
#   python3 hex_reader.py BASE SIZE IN.hex OUT.bin [IN.srec OUT.bin]
import sys


def fail(path, number, why):
    sys.exit("%s line %d: %s" % (path, number, why))


def read_intel(path, base, size):
    memory = bytearray(b"\xff" * size)
    upper = 0
    ended = False
    with open(path, "rb") as f:
        lines = f.read().split(b"\n")
    if lines[-1] != b"":
        fail(path, len(lines), "no line end after the last record")
    for number, line in enumerate(lines[:-1], 1):
        if ended:
            fail(path, number, "a record after the end-of-file record")
        if not line.startswith(b":"):
            fail(path, number, "no ':'")
        data = bytes.fromhex(line[1:].decode("ascii"))
        if len(data) != data[0] + 5:
            fail(path, number, "length byte does not match")
        if sum(data) & 0xFF:
            fail(path, number, "bad checksum")
        count, address, kind, payload = data[0], (data[1] << 8) | data[2], data[3], data[4:-1]
        if kind == 0:
            if address + count > 0x10000:
                fail(path, number, "a data record crosses a 64 KiB page")
            at = (upper << 16) + address - base
            if at < 0 or at + count > size:
                fail(path, number, "data outside the chip")
            memory[at:at + count] = payload
        elif kind == 4:
            if count != 2 or address != 0:
                fail(path, number, "bad extended linear address record")
            upper = (payload[0] << 8) | payload[1]
        elif kind == 1:
            if count != 0:
                fail(path, number, "bad end-of-file record")
            ended = True
        else:
            fail(path, number, "record type %d" % kind)
    if not ended:
        fail(path, len(lines), "no end-of-file record")
    return memory


def read_srec(path, base, size):
    memory = bytearray(b"\xff" * size)
    with open(path, "rb") as f:
        lines = f.read().split(b"\n")
    kinds = []
    for number, line in enumerate(lines[:-1], 1):
        if not line.startswith(b"S"):
            fail(path, number, "no 'S'")
        kind = chr(line[1])
        data = bytes.fromhex(line[2:].decode("ascii"))
        if len(data) != data[0] + 1:
            fail(path, number, "length byte does not match")
        if (sum(data) & 0xFF) != 0xFF:
            fail(path, number, "bad checksum")
        kinds.append(kind)
        if kind == "3":
            at = int.from_bytes(data[1:5], "big") - base
            payload = data[5:-1]
            if at < 0 or at + len(payload) > size:
                fail(path, number, "data outside the chip")
            memory[at:at + len(payload)] = payload
        elif kind == "7":
            if int.from_bytes(data[1:5], "big") != base:
                fail(path, number, "the start address is not the base")
        elif kind != "0":
            fail(path, number, "record S%s" % kind)
    if not kinds or kinds[0] != "0" or kinds[-1] != "7" or kinds.count("7") != 1:
        fail(path, 1, "not S0, S3 records, S7")
    return memory


base, size = int(sys.argv[1], 0), int(sys.argv[2], 0)
with open(sys.argv[4], "wb") as out:
    out.write(read_intel(sys.argv[3], base, size))
if len(sys.argv) > 5:
    with open(sys.argv[6], "wb") as out:
        out.write(read_srec(sys.argv[5], base, size))
