#!/usr/bin/env python3
"""Generates src/japanese/JisTables.cpp, the JIS code tables of JapaneseConversions.

Reads the mapping files in data/jis/ and writes the eight direct-indexed tables
(JIS X 0201 katakana, JIS X 0208, JIS X 0212 and the code page 932 extensions,
each in both directions), and for the whole-buffer conversions the UTF-8 form
of every JIS X 0208 character and a two-level table from Unicode to the codes
that do not depend on a switch, as constant C++ arrays with literal initialisers, so
that nothing runs when the library is loaded.

Usage: python3 scripts/gen_jis_tables.py [--output FILE]

Without --output the committed file src/japanese/JisTables.cpp is rewritten.
The output depends only on the data files, so running the generator again
must reproduce the committed file byte for byte (a test checks this).
Python 3 standard library only.
"""

import argparse
import os
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
DATA_DIR = os.path.join(ROOT, "data", "jis")
DEFAULT_OUTPUT = os.path.join(ROOT, "src", "japanese", "JisTables.cpp")

JIS0208_FILE = "jis0208.txt"
JIS0212_FILE = "jis0212.txt"
EXTRA_FILE = "cp932-extensions.txt"

NUMBERS_PER_LINE = 16


class DataError(Exception):
    pass


def read_mapping(name):
    """Returns the (key, value) pairs of a mapping file, in file order.

    Lines hold two or more hexadecimal numbers separated by white space; only
    the first two are used. Blank lines and lines starting with '#' are skipped.
    """
    path = os.path.join(DATA_DIR, name)
    pairs = []
    with open(path, encoding="ascii") as f:
        for number, line in enumerate(f, 1):
            text = line.strip()
            if not text or text.startswith("#"):
                continue
            fields = text.split()
            if len(fields) < 2:
                raise DataError(f"{name}:{number}: expected two columns")
            try:
                key, value = int(fields[0], 16), int(fields[1], 16)
            except ValueError:
                raise DataError(f"{name}:{number}: not a hexadecimal number") from None
            if key <= 0 or value <= 0 or value > 0xFFFF:
                raise DataError(f"{name}:{number}: key or value out of range")
            pairs.append((key, value))
    return pairs


def forward_map(name, pairs):
    """The key -> value dictionary of a file; every key must be unique."""
    result = {}
    for key, value in pairs:
        if key in result:
            raise DataError(f"{name}: key 0x{key:04X} appears twice")
        result[key] = value
    return result


def one_to_one_inverse(name, forward):
    """The exact inverse of a one-to-one mapping."""
    inverse = {}
    for key, value in forward.items():
        if value in inverse:
            raise DataError(f"{name}: U+{value:04X} is mapped from two codes")
        inverse[value] = key
    return inverse


def lowest_code_inverse(forward):
    """The inverse that keeps the lowest code of each value."""
    inverse = {}
    for key in sorted(forward):
        inverse.setdefault(forward[key], key)
    return inverse


def check_row_cell(name, forward, rows):
    """Every key is row * 256 + cell with cell 0x21-0x7E and an allowed row."""
    for key in forward:
        row, cell = key >> 8, key & 0xFF
        if row not in rows or not 0x21 <= cell <= 0x7E:
            raise DataError(f"{name}: code 0x{key:04X} outside the allowed rows and cells")


def build_tables():
    jis0208 = forward_map(JIS0208_FILE, read_mapping(JIS0208_FILE))
    jis0212 = forward_map(JIS0212_FILE, read_mapping(JIS0212_FILE))
    extra = forward_map(EXTRA_FILE, read_mapping(EXTRA_FILE))

    check_row_cell(JIS0208_FILE, jis0208, range(0x21, 0x7F))
    check_row_cell(JIS0212_FILE, jis0212, range(0x21, 0x7F))
    check_row_cell(EXTRA_FILE, extra, set(range(0x21, 0x7F)) | set(range(0x93, 0x98)))

    common = set(jis0208) & set(extra)
    if common:
        raise DataError(f"extension codes that are also JIS X 0208 codes: {sorted(common)}")
    both = set(jis0208.values()) & set(jis0212.values())
    if both:
        raise DataError(f"code points in both JIS X 0208 and JIS X 0212: {sorted(both)}")

    jis0201 = {code: code + 0xFEC0 for code in range(0xA1, 0xE0)}

    # Order and names follow the static members of JapaneseConversions.
    return [
        ("Jis0201ToUnicode", jis0201),
        ("UnicodeToJis0201", one_to_one_inverse("JIS X 0201", jis0201)),
        ("Jis0208ToUnicode", jis0208),
        ("UnicodeToJis0208", one_to_one_inverse(JIS0208_FILE, jis0208)),
        ("Jis0212ToUnicode", jis0212),
        ("UnicodeToJis0212", one_to_one_inverse(JIS0212_FILE, jis0212)),
        ("JisExtraToUnicode", extra),
        ("UnicodeToJisExtra", lowest_code_inverse(extra)),
    ]


def format_number(value):
    return f"0x{value:X}" if value else "0"


def emit_table(out, name, mapping):
    bottom, top = min(mapping), max(mapping)
    entries = [mapping.get(key, 0) for key in range(bottom, top + 1)]
    member = f"JapaneseConversions::ms_{name}"
    out.append(f"// {name}: keys 0x{bottom:04X}-0x{top:04X}, {len(mapping)} mapped.")
    out.append(f"const int {member}BottomIndex = 0x{bottom:04X};")
    out.append(f"const int {member}TopIndex = 0x{top:04X};")
    out.append(f"const int {member}ConversionTable[{len(entries)}] = {{")
    for start in range(0, len(entries), NUMBERS_PER_LINE):
        chunk = entries[start:start + NUMBERS_PER_LINE]
        out.append(",".join(format_number(v) for v in chunk) + ",")
    out.append("};")
    out.append("")


def utf8_packed(value):
    """The UTF-8 bytes of a code point from 0x80 to 0xFFFF packed into one
    number: byte k in bits 8k-8k+7, the byte count in bits 24-31."""
    data = chr(value).encode("utf-8")
    if not 2 <= len(data) <= 3:
        raise DataError(f"U+{value:04X} does not take two or three bytes in UTF-8")
    packed = len(data) << 24
    for k, byte in enumerate(data):
        packed |= byte << (8 * k)
    return packed


def emit_utf8_table(out, jis0208):
    """kJis0208Utf8: the UTF-8 form of each JIS X 0208 code, 94 x 94 entries
    indexed by (row - 0x21) * 94 + (cell - 0x21), 0 where no character is
    mapped. Only the standard set: the extensions depend on a switch."""
    entries = []
    for row in range(0x21, 0x7F):
        for cell in range(0x21, 0x7F):
            value = jis0208.get(row << 8 | cell, 0)
            entries.append(utf8_packed(value) if value else 0)
    out.append(f"// Jis0208Utf8: {sum(1 for e in entries if e)} mapped.")
    out.append("namespace detail {")
    out.append(f"const std::uint32_t kJis0208Utf8[{len(entries)}] = {{")
    for start in range(0, len(entries), NUMBERS_PER_LINE):
        chunk = entries[start:start + NUMBERS_PER_LINE]
        out.append(",".join(format_number(v) for v in chunk) + ",")
    out.append("};")
    out.append("} // namespace detail")
    out.append("")


def emit_encoding_table(out, tables):
    """kUnicodeToJis: for each code point of the Basic Multilingual Plane, the
    code that the conversion from UTF-8 gives it whatever the switches say:
    a JIS X 0208 code (0x2121-0x7E7E), 0x8000 | a JIS X 0212 code, or a JIS
    X 0201 katakana byte (0xA1-0xDF); 0 for code points without a code and
    for those whose code depends on the code page 932 extensions switch.
    Two levels: kUnicodeToJisIndex names, for each block of 64 code points,
    its block in kUnicodeToJisBlocks."""
    by_name = dict(tables)
    standard = by_name["UnicodeToJis0208"]
    extra = by_name["UnicodeToJisExtra"]
    supplementary = by_name["UnicodeToJis0212"]
    katakana = by_name["UnicodeToJis0201"]
    codes = [0] * 0x10000
    for point in range(0x10000):
        if point in standard:
            codes[point] = standard[point]
        elif point in extra:
            codes[point] = 0
        elif point in supplementary:
            codes[point] = 0x8000 | supplementary[point]
        elif point in katakana:
            codes[point] = katakana[point]
    blocks = [tuple([0] * 64)]
    numbers = {blocks[0]: 0}
    index = []
    for start in range(0, 0x10000, 64):
        block = tuple(codes[start:start + 64])
        if block not in numbers:
            numbers[block] = len(blocks)
            blocks.append(block)
        index.append(numbers[block])
    out.append(f"// UnicodeToJis: {sum(1 for c in codes if c)} code points, {len(blocks)} blocks.")
    out.append("namespace detail {")
    for name, values in (("kUnicodeToJisIndex", index),
                         ("kUnicodeToJisBlocks", [c for block in blocks for c in block])):
        out.append(f"const std::uint16_t {name}[{len(values)}] = {{")
        for start in range(0, len(values), NUMBERS_PER_LINE):
            chunk = values[start:start + NUMBERS_PER_LINE]
            out.append(",".join(format_number(v) for v in chunk) + ",")
        out.append("};")
    out.append("} // namespace detail")
    out.append("")


def jis_to_sjis(code):
    """The Shift_JIS code of the JIS X 0208 code `code` (row and cell in
    0x21-0x7E), as the lead byte * 256 + the trail byte."""
    row, cell = code >> 8, code & 0xFF
    lead = ((row + 1) >> 1) + (0x70 if row < 0x5F else 0xB0)
    if row & 1:
        trail = cell + (0x1F if cell <= 0x5F else 0x20)
    else:
        trail = cell + 0x7E
    return lead << 8 | trail


def emit_sjis_encoding_table(out, tables):
    """kUnicodeToSjisBlocks: the blocks of kUnicodeToJisBlocks in the same
    order (so kUnicodeToJisIndex indexes both), each JIS X 0208 entry turned
    into its Shift_JIS code and every other entry 0, so that the conversion
    into Shift_JIS writes the common characters from one lookup."""
    by_name = dict(tables)
    standard = by_name["UnicodeToJis0208"]
    extra = by_name["UnicodeToJisExtra"]
    supplementary = by_name["UnicodeToJis0212"]
    katakana = by_name["UnicodeToJis0201"]
    codes = [0] * 0x10000
    sjis = [0] * 0x10000
    for point in range(0x10000):
        if point in standard:
            codes[point] = standard[point]
            sjis[point] = jis_to_sjis(standard[point])
        elif point in extra:
            codes[point] = 0
        elif point in supplementary:
            codes[point] = 0x8000 | supplementary[point]
        elif point in katakana:
            codes[point] = katakana[point]
    # Numbered as emit_encoding_table numbers the blocks of `codes`.
    numbers = {tuple([0] * 64): 0}
    starts = [0]
    for start in range(0, 0x10000, 64):
        block = tuple(codes[start:start + 64])
        if block not in numbers:
            numbers[block] = len(starts)
            starts.append(start)
    values = [v for start in starts for v in sjis[start:start + 64]]
    out.append(f"// UnicodeToSjis: {len(starts)} blocks.")
    out.append("namespace detail {")
    out.append(f"const std::uint16_t kUnicodeToSjisBlocks[{len(values)}] = {{")
    for start in range(0, len(values), NUMBERS_PER_LINE):
        chunk = values[start:start + NUMBERS_PER_LINE]
        out.append(",".join(format_number(v) for v in chunk) + ",")
    out.append("};")
    out.append("} // namespace detail")
    out.append("")


VALIDITY_FIRST_ROW = 0x21
VALIDITY_LAST_ROW = 0x97
VALIDITY_ROW_BYTES = 12


def emit_validity_bitmaps(out, tables):
    """kJisMapped0208, kJisMapped0208Extra and kJisMapped0212: one bit per
    code telling whether the set maps it, rows 0x21-0x97, cells 0x21-0x7E.
    Row r takes 12 bytes from (r - 0x21) * 12; cell c is bit (c - 0x21) % 8
    of byte (c - 0x21) / 8 of its row. kJisMapped0208Extra holds JIS X 0208
    and the code page 932 extensions together, the set in force while the
    extensions switch is on."""
    by_name = dict(tables)
    standard = by_name["Jis0208ToUnicode"]
    with_extra = dict(standard)
    with_extra.update(by_name["JisExtraToUnicode"])
    supplementary = by_name["Jis0212ToUnicode"]
    rows = VALIDITY_LAST_ROW - VALIDITY_FIRST_ROW + 1
    out.append(f"// JIS validity bitmaps: rows 0x{VALIDITY_FIRST_ROW:02X}-0x{VALIDITY_LAST_ROW:02X}.")
    out.append("namespace detail {")
    for name, mapping in (("kJisMapped0208", standard),
                          ("kJisMapped0208Extra", with_extra),
                          ("kJisMapped0212", supplementary)):
        bits = [0] * (rows * VALIDITY_ROW_BYTES)
        for code in mapping:
            row, cell = code >> 8, code & 0xFF
            if not (VALIDITY_FIRST_ROW <= row <= VALIDITY_LAST_ROW and 0x21 <= cell <= 0x7E):
                raise DataError(f"code 0x{code:04X} outside the validity bitmaps")
            offset = cell - 0x21
            bits[(row - VALIDITY_FIRST_ROW) * VALIDITY_ROW_BYTES + offset // 8] |= 1 << (offset % 8)
        out.append(f"const std::uint8_t {name}[{len(bits)}] = {{")
        for start in range(0, len(bits), NUMBERS_PER_LINE):
            chunk = bits[start:start + NUMBERS_PER_LINE]
            out.append(",".join(format_number(v) for v in chunk) + ",")
        out.append("};")
    out.append("} // namespace detail")
    out.append("")


def generate():
    out = [
        "// Generated by scripts/gen_jis_tables.py from data/jis/jis0208.txt,",
        "// data/jis/jis0212.txt and data/jis/cp932-extensions.txt. Do not edit:",
        "// change the data or the generator and run it again.",
        "//",
        "// Direct-indexed tables: entry i of a ...ConversionTable holds the value",
        "// mapped from key ...BottomIndex + i, or 0. Constant data with literal",
        "// initialisers, so no code runs at load time.",
        "// clang-format off",
        "#include <charsetkit/japanese/JapaneseConversions.h>",
        "",
        '#include "japanese/JisDirectTables.h"',
        '#include "japanese/JisValidity.h"',
        "",
        "namespace charsetkit {",
        "",
    ]
    tables = build_tables()
    for name, mapping in tables:
        emit_table(out, name, mapping)
    emit_utf8_table(out, dict(tables)["Jis0208ToUnicode"])
    emit_encoding_table(out, tables)
    emit_sjis_encoding_table(out, tables)
    emit_validity_bitmaps(out, tables)
    out.append("} // namespace charsetkit")
    out.append("// clang-format on")
    return "\n".join(out) + "\n"


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--output", default=DEFAULT_OUTPUT,
                        help="file to write (default: src/japanese/JisTables.cpp)")
    args = parser.parse_args()
    try:
        text = generate()
    except (DataError, OSError) as error:
        print(f"gen_jis_tables.py: {error}", file=sys.stderr)
        return 1
    directory = os.path.dirname(os.path.abspath(args.output))
    os.makedirs(directory, exist_ok=True)
    with open(args.output, "w", encoding="ascii", newline="\n") as f:
        f.write(text)
    return 0


if __name__ == "__main__":
    sys.exit(main())
