#!/usr/bin/env python3
"""Generates src/korean/Cp949Tables.cpp, the code page 949 tables of the Korean converter.

Reads data/korean/cp949.txt (two-byte code -> Unicode code point) and writes
constant C++ arrays with literal initialisers, so that nothing runs when the
library is loaded:

  kCp949ToUnicode       126 x 190 entries, row (lead - 0x81), column
                        (trail - 0x41); 0 where no character is mapped.
  kUnicodeToCp949Index  one entry per block of 64 code points of the Basic
                        Multilingual Plane: the block's number in
                        kUnicodeToCp949Blocks (block 0 maps nothing).
  kUnicodeToCp949Blocks the distinct blocks of codes, 64 entries each.

Usage:
  python3 scripts/gen_korean_tables.py [--output FILE]
      Writes the tables (default: the committed src/korean/Cp949Tables.cpp).
      The output depends only on the data file, so running the generator
      again must reproduce the committed file byte for byte (a test checks
      this).
  python3 scripts/gen_korean_tables.py --refresh-data
      Rebuilds data/korean/cp949.txt from two independent sources on this
      machine, Python's cp949 codec and the C library's iconv "CP949"
      converter, over every two-byte input and every Unicode scalar value.
      The sources must agree on every decoded code and on every encoded code
      point apart from the language tags U+E0000-U+E007F, which the iconv
      converter drops without a trace (the converter reproduces that in code);
      any other disagreement stops the refresh.

Python 3 standard library only.
"""

import argparse
import ctypes
import os
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
DATA_FILE = os.path.join(ROOT, "data", "korean", "cp949.txt")
DEFAULT_OUTPUT = os.path.join(ROOT, "src", "korean", "Cp949Tables.cpp")

LEAD_FIRST, LEAD_LAST = 0x81, 0xFE
TRAIL_FIRST, TRAIL_LAST = 0x41, 0xFE
ROWS = LEAD_LAST - LEAD_FIRST + 1
COLUMNS = TRAIL_LAST - TRAIL_FIRST + 1
BLOCK_BITS = 6
BLOCK = 1 << BLOCK_BITS
TAGS = range(0xE0000, 0xE0080)

NUMBERS_PER_LINE = 16


class DataError(Exception):
    pass


# ---------------------------------------------------------------------------
# Refreshing the data from the two sources.

class Iconv:
    """A minimal iconv(3) binding through ctypes."""

    FAILED = ctypes.c_size_t(-1).value

    def __init__(self, to_charset, from_charset):
        self.libc = ctypes.CDLL(None, use_errno=True)
        self.libc.iconv_open.restype = ctypes.c_void_p
        self.libc.iconv_open.argtypes = [ctypes.c_char_p, ctypes.c_char_p]
        self.libc.iconv.restype = ctypes.c_size_t
        self.libc.iconv.argtypes = [ctypes.c_void_p] + [ctypes.c_void_p] * 4
        self.libc.iconv_close.argtypes = [ctypes.c_void_p]
        self.cd = self.libc.iconv_open(to_charset.encode(), from_charset.encode())
        if self.cd is None or self.cd == ctypes.c_void_p(-1).value:
            raise DataError(f"iconv cannot convert from {from_charset} to {to_charset}")

    def convert(self, data):
        """The converted bytes, or None when iconv fails or substitutes."""
        self.libc.iconv(self.cd, None, None, None, None)
        source = ctypes.create_string_buffer(data, len(data))
        target = ctypes.create_string_buffer(64)
        in_ptr = ctypes.c_void_p(ctypes.addressof(source))
        in_left = ctypes.c_size_t(len(data))
        out_ptr = ctypes.c_void_p(ctypes.addressof(target))
        out_left = ctypes.c_size_t(len(target))
        result = self.libc.iconv(self.cd, ctypes.byref(in_ptr), ctypes.byref(in_left),
                                 ctypes.byref(out_ptr), ctypes.byref(out_left))
        if result != 0:
            return None
        if self.libc.iconv(self.cd, None, None, ctypes.byref(out_ptr),
                           ctypes.byref(out_left)) != 0:
            return None
        return target.raw[:len(target) - out_left.value]


def python_decode(data):
    try:
        return data.decode("cp949")
    except UnicodeDecodeError:
        return None


def refresh_data():
    decoder = Iconv("UTF-8", "CP949")
    encoder = Iconv("CP949", "UTF-8")
    mapping = {}
    for byte in range(0x100):
        data = bytes([byte])
        expected = data.decode("ascii") if byte < 0x80 else None
        from_iconv = decoder.convert(data)
        if python_decode(data) != expected or (from_iconv and from_iconv.decode()) != expected:
            raise DataError(f"single byte 0x{byte:02X} is not plain ASCII in both sources")
    for lead in range(0x80, 0x100):
        for trail in range(0x100):
            data = bytes([lead, trail])
            text = python_decode(data)
            from_iconv = decoder.convert(data)
            from_iconv = from_iconv.decode() if from_iconv is not None else None
            if text != from_iconv:
                raise DataError(f"{data.hex()}: Python gives {text!r}, iconv {from_iconv!r}")
            if text is None:
                continue
            if len(text) != 1 or not LEAD_FIRST <= lead <= LEAD_LAST or trail < TRAIL_FIRST:
                raise DataError(f"{data.hex()}: unexpected character {text!r}")
            mapping[lead << 8 | trail] = ord(text)
    inverse = {}
    for code, point in mapping.items():
        if point in inverse:
            raise DataError(f"U+{point:04X} is decoded from two codes")
        inverse[point] = code
    for point in range(0x110000):
        if 0xD800 <= point < 0xE000:
            continue
        char = chr(point)
        try:
            from_python = char.encode("cp949")
        except UnicodeEncodeError:
            from_python = None
        from_iconv = encoder.convert(char.encode("utf-8"))
        if point < 0x80:
            expected = bytes([point])
        elif point in inverse:
            expected = bytes([inverse[point] >> 8, inverse[point] & 0xFF])
        else:
            expected = None
        iconv_expected = b"" if point in TAGS else expected
        if from_python != expected or from_iconv != iconv_expected:
            raise DataError(f"U+{point:04X}: Python gives {from_python!r}, "
                            f"iconv {from_iconv!r}, decoding implies {expected!r}")
    lines = [
        "# Code page 949 to Unicode: every two-byte character, %d in all." % len(mapping),
        "# Column 1: code (lead*256+trail). Column 2: Unicode code point.",
        "# Single bytes 0x00-0x7F are ASCII; no other single byte is a character.",
        "# Made by scripts/gen_korean_tables.py --refresh-data from Python's cp949",
        "# codec and the C library's iconv CP949 converter, which agree on every",
        "# two-byte input and, in reverse, on every Unicode scalar value apart from",
        "# the language tags U+E0000-U+E007F (iconv drops them when encoding).",
    ]
    lines += [f"0x{code:04X}\t0x{mapping[code]:04X}" for code in sorted(mapping)]
    os.makedirs(os.path.dirname(DATA_FILE), exist_ok=True)
    with open(DATA_FILE, "w", encoding="ascii", newline="\n") as f:
        f.write("\n".join(lines) + "\n")


# ---------------------------------------------------------------------------
# Generating the tables from the data.

def read_mapping():
    mapping = {}
    with open(DATA_FILE, encoding="ascii") as f:
        for number, line in enumerate(f, 1):
            text = line.strip()
            if not text or text.startswith("#"):
                continue
            fields = text.split()
            if len(fields) != 2:
                raise DataError(f"cp949.txt:{number}: expected two columns")
            try:
                code, point = int(fields[0], 16), int(fields[1], 16)
            except ValueError:
                raise DataError(f"cp949.txt:{number}: not a hexadecimal number") from None
            lead, trail = code >> 8, code & 0xFF
            if not (LEAD_FIRST <= lead <= LEAD_LAST and TRAIL_FIRST <= trail <= TRAIL_LAST):
                raise DataError(f"cp949.txt:{number}: code 0x{code:04X} out of range")
            if not 0x80 <= point <= 0xFFFF or 0xD800 <= point < 0xE000:
                raise DataError(f"cp949.txt:{number}: U+{point:04X} out of range")
            if code in mapping:
                raise DataError(f"cp949.txt:{number}: code 0x{code:04X} appears twice")
            mapping[code] = point
    points = sorted(mapping.values())
    if len(set(points)) != len(points):
        raise DataError("cp949.txt: a code point is mapped from two codes")
    return mapping


def emit_array(out, declaration, values):
    out.append(f"{declaration}[{len(values)}] = {{")
    for start in range(0, len(values), NUMBERS_PER_LINE):
        chunk = values[start:start + NUMBERS_PER_LINE]
        out.append(",".join(f"0x{v:X}" if v else "0" for v in chunk) + ",")
    out.append("};")
    out.append("")


def generate():
    mapping = read_mapping()
    decode = [0] * (ROWS * COLUMNS)
    for code, point in mapping.items():
        decode[((code >> 8) - LEAD_FIRST) * COLUMNS + (code & 0xFF) - TRAIL_FIRST] = point
    encode = [0] * 0x10000
    for code, point in mapping.items():
        encode[point] = code
    blocks = [tuple([0] * BLOCK)]
    numbers = {blocks[0]: 0}
    index = []
    for start in range(0, 0x10000, BLOCK):
        block = tuple(encode[start:start + BLOCK])
        if block not in numbers:
            numbers[block] = len(blocks)
            blocks.append(block)
        index.append(numbers[block])
    out = [
        "// Generated by scripts/gen_korean_tables.py from data/korean/cp949.txt.",
        "// Do not edit: change the data or the generator and run it again.",
        "//",
        f"// {len(mapping)} two-byte characters. Constant data with literal initialisers,",
        "// so no code runs at load time.",
        "// clang-format off",
        '#include "korean/Cp949Tables.h"',
        "",
        "namespace charsetkit {",
        "namespace cp949 {",
        "",
    ]
    emit_array(out, "const std::uint16_t kCp949ToUnicode", decode)
    emit_array(out, "const std::uint16_t kUnicodeToCp949Index", index)
    emit_array(out, "const std::uint16_t kUnicodeToCp949Blocks",
               [code for block in blocks for code in block])
    out.append("} // namespace cp949")
    out.append("} // namespace charsetkit")
    out.append("// clang-format on")
    return "\n".join(out) + "\n"


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--output", default=DEFAULT_OUTPUT,
                        help="file to write (default: src/korean/Cp949Tables.cpp)")
    parser.add_argument("--refresh-data", action="store_true",
                        help="rebuild data/korean/cp949.txt from Python and iconv first")
    args = parser.parse_args()
    try:
        if args.refresh_data:
            refresh_data()
        text = generate()
    except (DataError, OSError) as error:
        print(f"gen_korean_tables.py: {error}", file=sys.stderr)
        return 1
    directory = os.path.dirname(os.path.abspath(args.output))
    os.makedirs(directory, exist_ok=True)
    with open(args.output, "w", encoding="ascii", newline="\n") as f:
        f.write(text)
    return 0


if __name__ == "__main__":
    sys.exit(main())
