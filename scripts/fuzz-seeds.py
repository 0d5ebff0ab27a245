#!/usr/bin/env python3
"""Writes seed inputs for the fuzz targets: cuts of the bundled samples, the
edge cases the unit tests pin down (escape sequences, lead/trail boundaries,
characters and percent escapes broken at the end, odd UTF-16 lengths) and,
when a folder of real pages is given, small cuts of those pages. Each target
gets the payloads with the header bytes its input layout expects.

Usage: fuzz-seeds.py OUTPUT_DIR [PAGES_DIR]
Writes OUTPUT_DIR/<Target>/seed-<n>; merge them into fuzz/corpus/<Target>
with libFuzzer's -merge=1 so that only inputs adding coverage are kept.
"""
import hashlib
import os
import sys
import urllib.parse

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))

ESC = b"\x1b"
ESCAPES = [ESC + b"$B", ESC + b"$@", ESC + b"(B", ESC + b"(J", ESC + b"(I", ESC + b"$(D",
           ESC + b"$A", ESC + b"(", ESC + b"$", ESC + b"$(", ESC]

LABELS = [b"iso-8859-1", b"us-ascii", b"ISO_646.irv:1991", b"latin1", b"Windows-1252",
          b"x-ansi", b"euc-jp", b"x-euc-jp", b"x-euc", b"csEUCPkdFmtJapanese", b"euc-kr",
          b"ks_c_5601-1987", b"ksc5601", b"5601", b"iso-2022-jp", b"csISO2022JP",
          b"shift_jis", b"x-sjis", b"ms_Kanji", b"x-ms-cp932", b"utf-8", b"utf8",
          b"unicode-2-0-utf-8", b"UTF-8", b"Shift_JIS", b"EUC-JP", b"Japanese", b"jp",
          b"Korean", b"ko-Kr", b"Utf8", b"", b"utf-", b"x-euc-kr"]


def edge_cases():
    cases = []
    # Escape sequences alone, between text, repeated (redundant) and cut short.
    for esc in ESCAPES:
        cases += [esc, b"a" + esc + b"b", esc + b"$B" + esc + b"$B!!" + esc + b"(B",
                  b"x" + esc + b"$B0!" + esc]
    cases += [ESC + b"$B" + b"0!0\"" + ESC + b"(B" + ESC + b"(B" + ESC + b"(B",
              ESC + b"$B\x93!" + ESC + b"(B", ESC + b"$(D\"/" + ESC + b"(B",
              ESC + b"(I1" + ESC + b"(B", b"\x0e1\x0f", ESC + b"$B!", ESC + b"$B!!!"]
    # Lead and trail boundaries: Shift_JIS, EUC-JP, EUC-KR.
    for lead in [0x80, 0x81, 0x9F, 0xA0, 0xA1, 0xDF, 0xE0, 0xEF, 0xF0, 0xF9, 0xFA, 0xFC,
                 0xFD, 0xFE, 0xFF, 0x8E, 0x8F, 0xC9, 0xA4, 0xB0]:
        for trail in [0x3F, 0x40, 0x41, 0x5A, 0x5B, 0x60, 0x61, 0x7A, 0x7B, 0x7E, 0x7F, 0x80,
                      0x9E, 0x9F, 0xA0, 0xA1, 0xFC, 0xFD, 0xFE, 0xFF]:
            cases.append(bytes([0x41, lead, trail]))
        cases.append(bytes([0x41, lead]))  # a lead byte at the end
    cases += [b"\x8f\xa2\xaf", b"\x8f\xa1", b"\x8f", b"\x8e\xb1", b"\x8e", b"\xa4\xa2\xa4",
              b"\x87\x40\xed\x40\xfa\x40", b"\x82\xa0\x82"]
    # UTF-8: valid, overlong, surrogate, out of range, cut at the end.
    cases += [b"\xc2\x80", b"\xdf\xbf", b"\xe0\xa0\x80", b"\xef\xbf\xbf", b"\xf0\x90\x80\x80",
              b"\xf4\x8f\xbf\xbf", b"\xc0\x80", b"\xc1\xbf", b"\xe0\x80\x80", b"\xed\xa0\x80",
              b"\xf4\x90\x80\x80", b"\xf5\x80\x80\x80", b"\xe3\x81", b"\xe3", b"\xf0\x9f\x98",
              b"\xef\xbb\xbfabc", b"\xe3\x81\x82\xe3\x81", b"\xea\xb0\x80", b"\xe2\x82\xac"]
    # UTF-16 with a byte order mark, even and odd lengths.
    cases += [b"\xfe\xff\x00a\x00", b"\xff\xfea\x00b", b"\xfe\xff\xd8\x00\xdc\x00",
              b"\xff\xfe\x00\xd8", b"\x00a\x00b\x00"]
    # Percent escapes, whole and cut at the end.
    cases += [b"a%41b", b"%e3%81%82", b"%E3%81", b"%", b"%4", b"%%", b"%zz", b"a+b%20c",
              b"name=%A4%A2&x=%82%A0", b"%1B%24B"]
    return cases


def cuts(data, size, count):
    """`count` cuts of `size` bytes spread over the data, at uneven offsets
    so that some start or end inside a character."""
    if len(data) <= size:
        return [data]
    step = (len(data) - size) // max(count - 1, 1)
    return [data[i * step + (i * 7) % 5:i * step + (i * 7) % 5 + size] for i in range(count)]


def payloads(pages_dir):
    result = []
    samples = os.path.join(ROOT, "samples")
    for name in sorted(os.listdir(samples)):
        if name.endswith(".tsv"):
            continue
        with open(os.path.join(samples, name), "rb") as f:
            result += cuts(f.read(), 1024, 3)
    if pages_dir:
        for name in sorted(os.listdir(pages_dir)):
            if name.endswith(".html"):
                with open(os.path.join(pages_dir, name), "rb") as f:
                    result += cuts(f.read(), 512, 4)
    return result + edge_cases()


def pick(payload, salt, choices):
    digest = hashlib.sha256(salt + payload).digest()
    return [digest[i] for i in range(choices)]


def bitmap(payload):
    allowed = bytearray(32)
    for value in range(0x20, 0x7F):
        if value not in (ord("<"), ord(">"), ord("\"")):
            allowed[value // 8] |= 1 << (value % 8)
    digest = hashlib.sha256(payload).digest()
    for i in range(16, 32):
        allowed[i] |= digest[i] & 0x55
    return bytes(allowed)


def seeds_for(target, payload):
    if target in ("Detect_fuzz", "Convert_fuzz", "Traverse_fuzz", "Verify_fuzz",
                  "ConvertEvery_fuzz"):
        return [bytes([c]) + payload for c in pick(payload, target.encode(), 2)]
    if target == "HexDecode_fuzz":
        encoded = urllib.parse.quote(payload[:256], safe="=&").encode()
        return [bytes([c]) + p for c, p in zip(pick(payload, b"hex", 2), (payload, encoded))]
    if target == "CharsetChecker_fuzz":
        c = pick(payload, b"checker", 2)
        return [bytes(c) + bitmap(payload) + payload]
    if target == "Locale_fuzz":
        c = pick(payload, b"locale", 3)
        label = LABELS[c[2] % len(LABELS)]
        return [bytes([c[0], (c[1] & 0xF8) | (1 + k), len(label)]) + label + payload
                for k in range(3)]
    if target == "TraverserContainer_fuzz":
        c = pick(payload, b"container", 3)
        return [bytes([c[0], k, c[2]]) + payload[:512] for k in range(4)]
    return [payload]


def main():
    if len(sys.argv) < 2:
        sys.exit(__doc__)
    out = sys.argv[1]
    pages_dir = sys.argv[2] if len(sys.argv) > 2 else None
    targets = sorted(n[:-4] for n in os.listdir(os.path.join(ROOT, "fuzz"))
                     if n.endswith("_fuzz.cpp"))
    all_payloads = payloads(pages_dir)
    for target in targets:
        folder = os.path.join(out, target)
        os.makedirs(folder, exist_ok=True)
        seeds = []
        if target == "Labels_fuzz":
            seeds = [a + b"\0" + b for a in LABELS for b in (LABELS[0], a.upper(), b"")]
        else:
            for payload in all_payloads:
                seeds += seeds_for(target, payload)
        for n, seed in enumerate(seeds):
            with open(os.path.join(folder, "seed-%04d" % n), "wb") as f:
                f.write(seed)
        print("%s: %d seeds" % (target, len(seeds)))


if __name__ == "__main__":
    main()
