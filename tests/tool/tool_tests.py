#!/usr/bin/env python3
"""End-to-end tests of the charsetkit command-line tool.

Runs the built executable on the bundled samples and on crafted bad inputs,
and checks its standard output, standard error and exit status.

    tool_tests.py --tool path/to/charsetkit --samples path/to/samples [TestClass ...]
"""

import argparse
import json
import os
import pty
import resource
import select
import shutil
import signal
import subprocess
import sys
import tempfile
import threading
import time
import unittest

TOOL = None
SAMPLES = None


def run(*args, stdin=b"", cwd=None, env=None):
    """Runs the tool; returns (exit status, stdout bytes, stderr text)."""
    proc = subprocess.run([TOOL, *args], input=stdin, capture_output=True, cwd=cwd, env=env,
                          timeout=300)
    return proc.returncode, proc.stdout, proc.stderr.decode("utf-8", "replace")


def hexdump(data, limit=64):
    return " ".join(f"{b:02x}" for b in data[:limit]) + (" ..." if len(data) > limit else "")


def manifest():
    rows = []
    with open(os.path.join(SAMPLES, "MANIFEST.tsv"), encoding="utf-8") as f:
        for line in f:
            if line.startswith("#") or not line.strip():
                continue
            name, encoding, locale, detected = line.rstrip("\n").split("\t")
            rows.append((name, encoding, locale, detected))
    return rows


class ToolTestCase(unittest.TestCase):
    def setUp(self):
        self.tmp = tempfile.mkdtemp(prefix="charsetkit-tool-test-")

    def tearDown(self):
        shutil.rmtree(self.tmp, ignore_errors=True)

    def path(self, name):
        return os.path.join(self.tmp, name)

    def write(self, name, data):
        path = self.path(name)
        with open(path, "wb") as f:
            f.write(data)
        return path

    def sample(self, name):
        return os.path.join(SAMPLES, name)

    def read_sample(self, name):
        with open(self.sample(name), "rb") as f:
            return f.read()

    def assertOneLineError(self, err, *fragments):
        """stderr is exactly one line starting with 'charsetkit' and naming the fragments."""
        lines = err.splitlines()
        self.assertEqual(len(lines), 1, f"expected one line on stderr, got: {err!r}")
        self.assertTrue(lines[0].startswith("charsetkit"), lines[0])
        for fragment in fragments:
            self.assertIn(fragment, lines[0])

    def leftovers(self, directory=None):
        """Temporary output files left behind in a directory."""
        return [n for n in os.listdir(directory or self.tmp) if ".charsetkit-" in n]


class SamplesTest(ToolTestCase):
    """The tool's answers on the bundled samples agree with the manifest."""

    def test_detect_matches_manifest(self):
        for name, _, locale, detected in manifest():
            with self.subTest(name=name):
                code, out, err = run("detect", "--locale", locale, "--json", self.sample(name))
                record = json.loads(out)
                got = record["encodings"] or ["none"]
                self.assertEqual(got, [detected],
                                 f"{name}: {hexdump(self.read_sample(name))}")
                self.assertEqual(code, 1 if detected == "none" else 0, err)
                self.assertFalse(record["ambiguous"])

    def test_detect_reads_to_the_end_with_the_same_answer(self):
        for name, _, locale, detected in manifest():
            with self.subTest(name=name):
                _, out, _ = run("detect", "--locale", locale, "--scan-to-end",
                                "--verify-characters", "--json", self.sample(name))
                self.assertEqual(json.loads(out)["encodings"] or ["none"], [detected])

    def test_verify_accepts_each_sample_in_its_encoding(self):
        for name, encoding, _, _ in manifest():
            with self.subTest(name=name):
                code, out, err = run("verify", "--encoding", encoding, self.sample(name))
                self.assertEqual(code, 0, err)
                self.assertEqual(out.decode(), f"{self.sample(name)}: valid {encoding}\n")

    def test_verify_refuses_japanese_samples_in_other_encodings(self):
        for name in ["ja-page.shift_jis.html", "ja-page.euc-jp.html", "ja-page.utf-8.html"]:
            others = {"shift_jis", "euc-jp", "utf-8", "iso-2022-jp"} - {name.split(".")[1]}
            for encoding in sorted(others):
                with self.subTest(name=name, encoding=encoding):
                    code, out, _ = run("verify", "--encoding", encoding, self.sample(name))
                    self.assertEqual(code, 1)
                    self.assertIn(f": invalid {encoding} (", out.decode())

    def test_convert_to_utf8_and_back(self):
        for name, encoding, locale, detected in manifest():
            original = name.replace(f".{encoding}.", ".utf-8.")
            if encoding == "utf-8" or original == name:
                continue
            with self.subTest(name=name):
                source = ["--from", encoding] if detected != encoding else ["--locale", locale]
                code, out, err = run("convert", *source, self.sample(name))
                self.assertEqual(code, 0, err)
                want = self.read_sample(original).replace(
                    b'charset="utf-8"', f'charset="{encoding}"'.encode())
                self.assertEqual(out, want, hexdump(out))
                code, back, err = run("convert", "--to", encoding, stdin=out)
                self.assertEqual(code, 0, err)
                self.assertEqual(back, self.read_sample(name), hexdump(back))

    def test_convert_between_two_legacy_encodings(self):
        code, out, err = run("convert", "--from", "shift_jis", "--to", "euc-jp",
                             self.sample("ja-form.shift_jis.txt"))
        self.assertEqual(code, 0, err)
        self.assertEqual(out, self.read_sample("ja-form.euc-jp.txt"))

    def test_json_detect_record(self):
        code, out, _ = run("detect", "--json", self.sample("ja-page.shift_jis.html"))
        self.assertEqual(code, 0)
        record = json.loads(out)
        self.assertEqual(record["file"], self.sample("ja-page.shift_jis.html"))
        self.assertEqual(record["encodings"], ["shift_jis"])
        self.assertEqual(record["locale"], "Japanese")

    def test_standard_input(self):
        data = self.read_sample("ja-page.euc-jp.html")
        for args in (["detect"], ["detect", "-"]):
            code, out, _ = run(*args, stdin=data)
            self.assertEqual((code, out.decode()), (0, "(standard input): euc-jp\n"))


class ConvertTest(ToolTestCase):
    """Conversion: refusals, unmapped characters and whole-or-nothing output."""

    def test_unmapped_characters_are_reported(self):
        # JIS X 0208 row 9 has no Unicode mapping.
        data = b"a\xa9\xa1\n" * 3
        code, out, err = run("convert", "--from", "euc-jp", stdin=data)
        self.assertEqual((code, out.count(b"\xf8")), (0, 3))
        self.assertOneLineError(err, "3 characters without a Unicode mapping", "tagged codes")
        code, out, err = run("convert", "--from", "euc-jp", "--replace", stdin=data)
        self.assertEqual((code, out), (0, "a\u30fb\n".encode() * 3))
        self.assertOneLineError(err, "written as U+30FB")

    def test_standard_input_read_in_part_before(self):
        # A file on standard input whose first bytes another program took:
        # the rest is converted, and refused by the byte it breaks at.
        path = self.write("partly.txt", b"skip\n\xa4\xa2\n\xa4\xa2\n")
        with open(path, "rb") as f:
            f.seek(5)
            proc = subprocess.run([TOOL, "convert", "--from", "euc-jp"], stdin=f,
                                  capture_output=True, timeout=300)
        self.assertEqual((proc.returncode, proc.stdout, proc.stderr), (0, "あ\nあ\n".encode(), b""))
        path = self.write("partly-bad.txt", b"skip\n\xa4\xa2\n\xa4\n")
        with open(path, "rb") as f:
            f.seek(5)
            proc = subprocess.run([TOOL, "convert", "--from", "euc-jp"], stdin=f,
                                  capture_output=True, timeout=300)
        self.assertEqual((proc.returncode, proc.stdout), (1, b""))
        self.assertOneLineError(proc.stderr.decode(), "byte 0x0a at offset 4, line 2")

    def test_ambiguous_detection_is_refused(self):
        # Two half-width katakana in Shift_JIS are one EUC-JP character as well.
        path = self.write("kana.txt", b"\xb1\xb2")
        code, out, _ = run("detect", path)
        self.assertEqual((code, out.decode()), (0, f"{path}: shift_jis euc-jp (ambiguous)\n"))
        code, out, err = run("convert", "-o", self.path("out.txt"), path)
        self.assertEqual((code, out), (1, b""))
        self.assertOneLineError(err, path, "shift_jis or euc-jp", "--from", "refused")
        self.assertFalse(os.path.exists(self.path("out.txt")))
        code, out, err = run("convert", "--from", "sjis", path)
        self.assertEqual((code, out), (0, "ｱｲ".encode()), err)

    def test_undetectable_input_is_refused(self):
        path = self.write("garbage.bin", bytes([0xFF, 0xFE, 0x00, 0x80, 0xFD]) * 100)
        code, out, err = run("convert", path)
        self.assertEqual((code, out), (1, b""))
        self.assertOneLineError(err, path, "cannot detect", "refused")

    def test_invalid_input_for_the_named_encoding_is_refused(self):
        path = self.write("bad.txt", b"abc\x82")  # a Shift_JIS lead byte at the very end
        code, out, err = run("convert", "--from", "shift_jis", path)
        self.assertEqual((code, out), (1, b""))
        self.assertOneLineError(err, "not valid shift_jis", "ends inside")
        code, out, _ = run("verify", "--encoding", "shift_jis", path)
        self.assertEqual(code, 1)
        self.assertIn("invalid shift_jis (ends inside a multi-byte character)", out.decode())

    def test_character_the_target_cannot_hold_is_named_and_nothing_is_written(self):
        target = self.write("out.txt", b"previous content")
        source = self.write("in.txt", "日本語\nabc 한국어\n".encode())
        code, out, err = run("convert", "--to", "shift_jis", "-o", target, source)
        self.assertEqual((code, out), (1, b""))
        self.assertOneLineError(err, "U+D55C", "line 2, column 5", "shift_jis", "refused")
        with open(target, "rb") as f:
            self.assertEqual(f.read(), b"previous content")
        self.assertEqual(self.leftovers(), [])

    def test_western_text_is_converted_as_windows_1252(self):
        path = self.write("w.txt", b"caf\xe9 \x80 \xff")
        code, out, err = run("convert", "--from", "latin1", path)
        self.assertEqual((code, out), (0, "café € ÿ".encode()), err)
        code, back, err = run("convert", "--to", "windows-1252", stdin=out)
        self.assertEqual((code, back), (0, b"caf\xe9 \x80 \xff"), err)
        code, _, err = run("convert", "--to", "iso-8859-1", stdin="日本".encode())
        self.assertEqual(code, 1)
        self.assertIn("U+65E5", err)

    def test_output_file_is_replaced_whole(self):
        target = self.write("out.html", b"old")
        code, out, err = run("convert", "-o", target, self.sample("ja-page.iso-2022-jp.html"))
        self.assertEqual(code, 0, err)
        self.assertIn(f"iso-2022-jp -> utf-8, ", out.decode())
        with open(target, "rb") as f:
            self.assertIn("文字コード".encode(), f.read())
        self.assertEqual(self.leftovers(), [])

    def test_output_over_its_own_input(self):
        path = self.write("page.html", self.read_sample("ja-page.euc-jp.html"))
        code, _, err = run("convert", "-o", path, path)
        self.assertEqual(code, 0, err)
        code, out, _ = run("detect", path)
        self.assertEqual(out.decode(), f"{path}: utf-8\n")

    def test_json_summary(self):
        target = self.path("out.txt")
        code, out, _ = run("convert", "--json", "-o", target, self.sample("ko-form.euc-kr.txt"),
                           "--locale", "korean")
        self.assertEqual(code, 0)
        record = json.loads(out)
        self.assertEqual((record["from"], record["to"], record["output"]),
                         ("euc-kr", "utf-8", target))
        self.assertEqual(record["bytes"], os.path.getsize(target))

    def test_output_directory_or_missing_directory(self):
        sample = self.sample("ja-form.utf-8.txt")
        code, _, err = run("convert", "-o", self.tmp, sample)
        self.assertEqual(code, 2)
        self.assertOneLineError(err, self.tmp, "is a directory")
        missing = self.path("no/such/dir/out.txt")
        code, _, err = run("convert", "-o", missing, sample)
        self.assertEqual(code, 2)
        self.assertOneLineError(err, missing, "No such file or directory")

    def test_failing_standard_output_is_an_error(self):
        if not os.path.exists("/dev/full"):
            self.skipTest("no /dev/full")
        with open("/dev/full", "wb") as full:
            proc = subprocess.run([TOOL, "convert", self.sample("ja-page.utf-8.html")],
                                  stdout=full, stderr=subprocess.PIPE, timeout=60)
        self.assertEqual(proc.returncode, 2)
        self.assertIn(b"standard output", proc.stderr)

    def test_piecewise_conversion_to_a_file_equals_the_whole(self):
        # Over a megabyte, so that -o converts it in pieces cut after line ends;
        # some line ends fall while JIS-Roman is designated, where no cut may be.
        lines = []
        for i in range(60000):
            text = f"行{i}：漢字とかな。".encode("iso-2022-jp")
            if i % 7 == 0:
                text += b"\x1b(J~\\"  # JIS-Roman overline and yen sign, left open
                text += b"\n" + b"x" * (i % 5) + b"\x1b(B"
            lines.append(text + b"\n")
        data = b"".join(lines)
        self.assertGreater(len(data), 2 * 2**20)
        source = self.write("big.iso-2022-jp.txt", data)
        code, whole, err = run("convert", "--from", "iso-2022-jp", source)
        self.assertEqual(code, 0, err)
        target = self.path("out.txt")
        code, _, err = run("convert", "--from", "iso-2022-jp", "-o", target, source)
        self.assertEqual(code, 0, err)
        with open(target, "rb") as f:
            self.assertEqual(f.read(), whole)
        for to in ("euc-jp", "shift_jis", "iso-2022-jp"):
            with self.subTest(to=to):
                code, whole, err = run("convert", "--from", "iso-2022-jp", "--to", to, source)
                self.assertEqual(code, 0, err)
                code, _, err = run("convert", "--from", "iso-2022-jp", "--to", to, "-o", target,
                                   source)
                self.assertEqual(code, 0, err)
                with open(target, "rb") as f:
                    self.assertEqual(f.read(), whole)

    def test_refusal_in_a_later_piece(self):
        data = "一行のテキスト\n".encode() * 300000 + "최후\n".encode()
        source = self.write("big.txt", data)
        target = self.path("out.txt")
        code, out, err = run("convert", "--to", "euc-jp", "-o", target, source)
        self.assertEqual((code, out), (1, b""))
        self.assertOneLineError(err, "U+CD5C", "line 300001, column 1", "refused")
        self.assertFalse(os.path.exists(target))
        self.assertEqual(self.leftovers(), [])

    def test_output_through_a_symbolic_link(self):
        # The file the link leads to is replaced and the link stays, as with a
        # shell redirection; the temporary file goes beside the real file.
        os.makedirs(self.path("real"))
        os.makedirs(self.path("links"))
        real = self.write("real/out.txt", b"old")
        link = self.path("links/out.txt")
        os.symlink(real, link)
        code, _, err = run("convert", "-o", link, self.sample("ja-form.shift_jis.txt"))
        self.assertEqual(code, 0, err)
        self.assertTrue(os.path.islink(link))
        with open(real, "rb") as f:
            self.assertEqual(f.read(), self.read_sample("ja-form.utf-8.txt"))
        self.assertEqual(self.leftovers(self.path("real")) + self.leftovers(self.path("links")),
                         [])
        # A link to nothing is refused rather than replaced.
        dangling = self.path("links/dangling.txt")
        os.symlink(self.path("real/missing.txt"), dangling)
        code, _, err = run("convert", "-o", dangling, self.sample("ja-form.shift_jis.txt"))
        self.assertEqual(code, 2)
        self.assertOneLineError(err, dangling, "symbolic link to a missing file")
        self.assertTrue(os.path.islink(dangling))
        self.assertFalse(os.path.exists(self.path("real/missing.txt")))

    def test_output_name_of_the_longest_length(self):
        target = self.path("n" * 255)
        code, _, err = run("convert", "-o", target, self.sample("ja-form.euc-jp.txt"))
        self.assertEqual(code, 0, err)
        self.assertEqual(os.path.getsize(target), len(self.read_sample("ja-form.utf-8.txt")))

    def test_file_size_limit_leaves_nothing_behind(self):
        # Past "ulimit -f" a write fails; the process is not killed halfway.
        source = self.write("in.txt", "日本語のテキスト。\n".encode("shift_jis") * 10000)
        target = self.path("out.txt")

        def limit():
            resource.setrlimit(resource.RLIMIT_FSIZE, (64 * 1024, 64 * 1024))

        proc = subprocess.run([TOOL, "convert", "--from", "sjis", "-o", target, source],
                              capture_output=True, preexec_fn=limit, timeout=60)
        self.assertEqual(proc.returncode, 2, proc.stderr)
        self.assertOneLineError(proc.stderr.decode(), target, "File too large")
        self.assertFalse(os.path.exists(target))
        self.assertEqual(self.leftovers(), [])

    def test_lines_longer_than_a_piece(self):
        # Pieces are cut between characters when no line end comes; what -o
        # writes equals what standard output gets, and positions stay true.
        # Single-byte katakana and three-byte JIS X 0212 characters among the
        # double-byte ones leave no fixed rhythm to the character starts.
        mixed = "ｱ日本語ｶﾀｶﾅ漢。" * 300000
        texts = {"shift_jis": mixed, "euc-jp": mixed.replace("漢", "丂"),
                 "iso-2022-jp": "日本語のテキスト、カタカナ。 abc ~ " * 120000}
        texts["utf-8"] = texts["iso-2022-jp"]
        for encoding, text in texts.items():
            with self.subTest(encoding=encoding):
                source = self.write("long.txt", text.encode(encoding))
                target = self.path("out.txt")
                code, _, err = run("convert", "--from", encoding, "-o", target, source)
                self.assertEqual(code, 0, err)
                with open(target, "rb") as f:
                    self.assertEqual(f.read(), text.encode())
                # Between two encodings (Shift_JIS cannot hold JIS X 0212).
                to = "iso-2022-jp" if encoding == "euc-jp" else "euc-jp"
                code, _, err = run("convert", "--from", encoding, "--to", to, "-o", target,
                                   source)
                self.assertEqual(code, 0, err)
                code, out, err = run("convert", "--from", to, target)
                self.assertEqual((code, out), (0, text.encode()), err)
        source = self.write("long.txt", ("あ" * 1500000 + "한").encode())
        code, _, err = run("convert", "--to", "euc-jp", "-o", self.path("out.txt"), source)
        self.assertEqual(code, 1)
        self.assertOneLineError(err, "U+D55C", "line 1, column 1500001")

    def test_interrupted_conversion_leaves_no_partial_file(self):
        big = self.write("big.txt", "日本語のテキスト。\n".encode("shift_jis") * 2_000_000)
        target = self.path("out.txt")
        proc = subprocess.Popen([TOOL, "convert", "--from", "shift_jis", "-o", target, big],
                                stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        time.sleep(0.3)
        proc.send_signal(signal.SIGTERM)
        proc.wait(timeout=120)
        if os.path.exists(target):  # it finished before the signal: then it is whole
            self.assertEqual(os.path.getsize(target), len("日本語のテキスト。\n".encode()) * 2_000_000)
        self.assertEqual(self.leftovers(), [])


class BadInputTest(ToolTestCase):
    """Bad input and bad usage get one clear line and the documented status."""

    def test_missing_file(self):
        missing = self.path("missing.txt")
        for command in (["detect"], ["verify", "--encoding", "utf-8"], ["convert"],
                        ["decode"], ["check", "--forbid", "<"]):
            with self.subTest(command=command[0]):
                code, out, err = run(*command, missing)
                self.assertEqual(code, 2)
                self.assertOneLineError(err, missing, "No such file or directory")

    def test_other_files_are_still_processed(self):
        missing = self.path("missing.txt")
        code, out, err = run("detect", missing, self.sample("ja-page.shift_jis.html"))
        self.assertEqual(code, 2)
        self.assertIn("ja-page.shift_jis.html: shift_jis", out.decode())
        self.assertOneLineError(err, missing)

    def test_unreadable_file(self):
        if os.geteuid() == 0:
            self.skipTest("permissions do not apply to root")
        path = self.write("secret.txt", b"x")
        os.chmod(path, 0)
        code, _, err = run("detect", path)
        self.assertEqual(code, 2)
        self.assertOneLineError(err, path, "Permission denied")

    def test_directory_where_a_file_is_expected(self):
        code, _, err = run("detect", self.tmp)
        self.assertEqual(code, 2)
        self.assertOneLineError(err, self.tmp, "is a directory", "-r")
        code, _, err = run("convert", self.tmp)
        self.assertEqual(code, 2)
        self.assertOneLineError(err, "is a directory")

    def test_empty_input(self):
        code, out, _ = run("detect", stdin=b"")
        self.assertEqual((code, out.decode()), (1, "(standard input): none (empty input)\n"))
        code, out, _ = run("verify", "--encoding", "iso-2022-jp", stdin=b"")
        self.assertEqual(code, 0)
        # Detection has nothing to go by, so --from auto refuses as detect does.
        code, out, err = run("convert", stdin=b"")
        self.assertEqual((code, out), (1, b""))
        self.assertOneLineError(err, "(standard input)", "empty input", "--from", "refused")
        code, out, err = run("convert", "--from", "shift_jis", stdin=b"")
        self.assertEqual((code, out), (0, b""), err)
        code, out, _ = run("decode", stdin=b"")
        self.assertEqual((code, out), (0, b""))

    def test_binary_garbage(self):
        garbage = bytes(range(256)) * 64 + bytes([0x1B, 0x24, 0xFF, 0x0E])
        code, out, err = run("detect", stdin=garbage)
        self.assertEqual((code, out.decode(), err), (1, "(standard input): none\n", ""))
        for encoding in ("utf-8", "shift_jis", "euc-jp", "iso-2022-jp", "euc-kr", "latin1"):
            with self.subTest(encoding=encoding):
                code, out, _ = run("verify", "--encoding", encoding, stdin=garbage)
                self.assertEqual(code, 1)
                code, out, err = run("check", "--forbid", "\\x00-\\x08", "--escapes",
                                     "--encoding", encoding, stdin=garbage)
                self.assertEqual(code, 1, err)

    def test_verify_names_the_first_byte_that_does_not_fit(self):
        cases = [
            ("shift_jis", b"abc\n\x82\xa0\xff", "byte 0xff at offset 6, line 2", 6),
            ("euc-jp", b"<p>\xa4\xa2\x82</p>", "byte 0x82 at offset 5, line 1", 5),
            ("utf-8", b"ok\n\n\xc3\x28", "byte 0x28 '(' at offset 5, line 3", 5),
            ("euc-kr", b"\xb0\xa1\xb0\x20", "byte 0x20 ' ' at offset 3, line 1", 3),
            ("iso-8859-1", b"caf\xe9\x1b", "byte 0x1b at offset 4, line 1", 4),
            ("iso-2022-jp", b"\x1b$B\x30\x21", "does not end in ASCII or JIS-Roman mode", 5),
            ("utf-8", b"abc\xe3\x81", "ends inside a multi-byte character", 5),
            ("euc-kr", b"abc\xb0", "ends inside a multi-byte character", 4),
            ("euc-jp", b"\xa4\xa2\x8f\xb0", "ends inside a multi-byte character", 4),
        ]
        for encoding, data, reason, offset in cases:
            with self.subTest(encoding=encoding, data=data):
                code, out, _ = run("verify", "--encoding", encoding, stdin=data)
                self.assertEqual(code, 1, hexdump(data))
                self.assertEqual(out.decode(), f"(standard input): invalid {encoding} ({reason})\n")
                _, out, _ = run("verify", "--json", "--encoding", encoding, stdin=data)
                self.assertEqual(json.loads(out)["offset"], offset)

    def test_inputs_too_large_for_one_call(self):
        huge = self.path("huge.bin")
        with open(huge, "wb") as f:  # sparse: takes no room on disk
            f.truncate(2**32)
        code, out, err = run("detect", huge)
        self.assertEqual((code, out), (2, b""))
        self.assertOneLineError(err, huge, "too large")
        with open(huge, "r+b") as f:
            f.truncate(2**31)
        code, out, err = run("check", "--forbid", "<", huge)
        self.assertEqual(code, 2)
        self.assertOneLineError(err, huge, "too large")

    def test_input_that_shrinks_while_it_is_read(self):
        # A mapped file cut short under the tool: one line naming it, exit 2,
        # and no output file or temporary file left.
        huge = self.path("shrinking.txt")
        with open(huge, "wb") as f:  # sparse: takes no room on disk
            f.truncate(4_000_000_000)
        target = self.path("out.txt")
        proc = subprocess.Popen([TOOL, "convert", "--from", "utf-8", "-o", target, huge],
                                stdout=subprocess.PIPE, stderr=subprocess.PIPE)
        time.sleep(0.5)
        if proc.poll() is not None:
            proc.communicate()
            self.skipTest("the input was read before it could be cut")
        with open(huge, "r+b") as f:
            f.truncate(0)
        out, err = proc.communicate(timeout=300)
        self.assertEqual((proc.returncode, out), (2, b""))
        self.assertOneLineError(err.decode(), huge, "changed or became unreadable")
        self.assertFalse(os.path.exists(target))
        self.assertEqual(self.leftovers(), [])

    def test_errors_also_appear_as_json_records(self):
        missing = self.path("missing.txt")
        code, out, err = run("detect", "--json", missing, self.sample("en-page.html"))
        self.assertEqual(code, 2)
        records = [json.loads(line) for line in out.decode().splitlines()]
        self.assertEqual(records[0], {"file": missing, "error": "No such file or directory"})
        self.assertEqual(records[1]["encodings"], ["iso-8859-1"])

    def test_usage_errors(self):
        cases = [
            (["frobnicate"], "unknown command 'frobnicate'"),
            ([], "no command given"),
            (["detect", "--bogus"], "unknown option --bogus"),
            (["detect", "--locale"], "--locale needs a value"),
            (["detect", "--locale", "french"], "unknown locale 'french'"),
            (["detect", "--supported", "some"], "--supported takes local, utf8 or both"),
            (["detect", "--escape-run-limit", "-1"], "whole number"),
            (["detect", "--escape-run-limit", "3x"], "whole number"),
            (["detect", "--scan-to-end=yes"], "takes no value"),
            (["detect", "--locale", "jp", "--locale", "ko"], "given more than once"),
            (["detect", "-", "-"], "only once"),
            (["detect", "-r", "-"], "standard input"),
            (["verify"], "--encoding LABEL is required"),
            (["verify", "--encoding", "klingon"], "unknown encoding label 'klingon'"),
            (["verify", "--encoding", " utf-8"], "unknown encoding label"),
            (["verify", "--encoding", "Unicode (UFT-8)"], "unknown encoding label"),
            (["convert", "--to", "EUC_JP"], "unknown encoding label 'EUC_JP'"),
            (["convert", "a", "b"], "one input file"),
            (["convert", "--from", "sjis", "--locale", "korean"], "--locale applies only"),
            (["convert", "--to", "sjis", "--replace"], "--replace applies only"),
            (["convert", "--json"], "--json needs -o"),
            (["convert", "-o", ""], "-o needs a file name"),
            (["decode", "--output="], "-o needs a file name"),
            (["detect", "--escape-run-limit", "99999999999"], "at most 1000000"),
            (["verify", "--encoding", "utf-8\n\x1b[2J"], "'utf-8\\x0a\\x1b[2J'"),
            (["decode", "--json"], "--json needs -o"),
            (["check"], "--forbid BYTES is required"),
            (["check", "--forbid", ""], "at least one byte"),
            (["check", "--forbid", "z-a"], "runs backwards"),
            (["check", "--forbid", "\\q"], "\\xHH"),
            (["check", "--forbid", "<", "--accept-percent"], "--accept-percent applies only"),
            (["labels", "file"], "takes no file"),
        ]
        for args, fragment in cases:
            with self.subTest(args=args):
                code, out, err = run(*args, stdin=b"abc")
                self.assertEqual(code, 2, err)
                self.assertEqual(out, b"")
                self.assertOneLineError(err, fragment)

    def test_failing_standard_output_is_an_error_for_every_command(self):
        # A full device, and a standard output the caller closed (">&-").
        sample = self.sample("ja-form.shift_jis.txt")
        commands = [["detect", sample], ["verify", "--encoding", "sjis", sample],
                    ["check", "--forbid", "<", sample], ["labels"], ["detect", "--help"],
                    ["--version"], ["convert", sample], ["decode", sample]]
        for command in commands:
            for how in ("full", "closed"):
                with self.subTest(command=command, stdout=how):
                    if how == "full":
                        with open("/dev/full", "wb") as full:
                            proc = subprocess.run([TOOL, *command], stdout=full,
                                                  stderr=subprocess.PIPE, timeout=60)
                    else:
                        proc = subprocess.run([TOOL, *command], stderr=subprocess.PIPE,
                                              preexec_fn=lambda: os.close(1), timeout=60)
                    self.assertEqual(proc.returncode, 2, proc.stderr)
                    self.assertOneLineError(proc.stderr.decode(), "standard output")

    def test_file_names_cannot_break_lines_or_drive_the_terminal(self):
        names = [b"a\nb.txt", b"red\x1b[31m.txt", b"csi\xc2\x9b2J.txt", b"tab\t.txt"]
        for name in names:
            with open(os.path.join(self.tmp.encode(), name), "wb") as f:
                f.write(b"abc")
        code, out, err = run("detect", "-r", self.tmp)
        self.assertEqual((code, err), (0, ""))
        lines = out.split(b"\n")[:-1]
        self.assertEqual(len(lines), len(names), out)
        self.assertEqual(sorted(line.rsplit(b"/", 1)[1] for line in lines),
                         [b"a\\x0ab.txt: iso-8859-1", b"csi\\xc2\\x9b2J.txt: iso-8859-1",
                          b"red\\x1b[31m.txt: iso-8859-1", b"tab\\x09.txt: iso-8859-1"])
        # JSON carries the names themselves.
        code, out, _ = run("detect", "--json", "-r", self.tmp)
        got = sorted(os.path.basename(json.loads(line)["file"]) for line in out.splitlines())
        self.assertEqual(got, sorted(name.decode() for name in names))
        # Messages stay one line.
        missing = self.path("no\nsuch\x1b[2J")
        for command in (["detect"], ["convert"], ["check", "--forbid", "<"]):
            with self.subTest(command=command[0]):
                code, _, err = run(*command, missing)
                self.assertEqual(code, 2)
                self.assertOneLineError(err, "no\\x0asuch\\x1b[2J", "No such file")
        code, _, err = run("convert", "-o", missing + "/out.txt", self.sample("en-page.html"))
        self.assertEqual(code, 2)
        self.assertOneLineError(err, "no\\x0asuch\\x1b[2J/out.txt", "cannot create")

    def test_labels_are_matched_without_regard_to_case(self):
        for label in ("SHIFT_JIS", "Shift-JIS", "x-sjis", "EUC-JP", "x-EUC", "KS_C_5601-1987", "UTF8", "Latin1", "windows-1252"):
            with self.subTest(label=label):
                code, _, err = run("verify", "--encoding", label, stdin=b"abc")
                self.assertEqual(code, 0, err)


class LabelsTest(ToolTestCase):
    def test_every_listed_label_names_its_encoding_in_the_library(self):
        code, out, _ = run("labels", "--json")
        self.assertEqual(code, 0)
        records = [json.loads(line) for line in out.decode().splitlines()]
        self.assertEqual([r["preferred"] for r in records],
                         ["iso-8859-1", "utf-8", "euc-jp", "shift_jis", "iso-2022-jp", "euc-kr"])
        self.assertEqual([len(r["aliases"]) for r in records], [21, 5, 5, 8, 2, 13])
        self.assertEqual(records[1]["display"], "Unicode (UFT-8)")
        self.assertEqual([r["stateful"] for r in records], [False] * 4 + [True, False])
        for record in records:
            self.assertEqual(record["aliases"][0], record["preferred"])
            for alias in record["aliases"]:
                with self.subTest(alias=alias):
                    code, out, err = run("verify", "--json", "--encoding", alias, stdin=b"a")
                    self.assertEqual(code, 0, err)
                    named = json.loads(out)["encoding"]
                    # "x-euc" is both an EUC-JP and an EUC-KR label; the tool takes EUC-JP.
                    want = "euc-jp" if alias == "x-euc" else record["preferred"]
                    self.assertEqual(named, want)

    def test_plain_listing(self):
        code, out, _ = run("labels")
        text = out.decode()
        self.assertEqual(code, 0)
        self.assertIn("4 shift_jis\n    display name: Japanese (Shift-JIS)\n    runtime name: SJIS\n",
                      text)
        self.assertIn("ks_c_5601-1987", text)
        self.assertTrue(all(len(line) <= 80 for line in text.splitlines()))

    def test_help_and_version(self):
        code, out, _ = run("--version")
        self.assertEqual(code, 0)
        self.assertRegex(out.decode(), r"^charsetkit \d+\.\d+\.\d+\n$")
        for command in ("detect", "verify", "convert", "decode", "check", "labels"):
            with self.subTest(command=command):
                code, out, err = run(command, "--help")
                self.assertEqual((code, err), (0, ""))
                self.assertTrue(out.decode().startswith(f"Usage: charsetkit {command}"))
                code, out2, _ = run("help", command)
                self.assertEqual((code, out2), (0, out))
        code, out, _ = run("--help")
        self.assertEqual(code, 0)
        self.assertIn("Commands:", out.decode())


class DecodeCheckTest(ToolTestCase):
    def test_decode_form_body(self):
        code, out, err = run("decode", self.sample("form-urlencoded.txt"))
        self.assertEqual(code, 0, err)
        self.assertEqual(out.decode(), "name=山田&message=こんにちは&note=a+b!\n")

    def test_decode_examples(self):
        cases = [
            (b"a%20b", b"a b"), (b"%41%42", b"AB"), (b"a+b", b"a+b"), (b"100%", b"100%"),
            (b"50%4", b"50%4"), (b"%2541", b"%41"), (b"%e3%81%82", b"\xe3\x81\x82"),
        ]
        for given, want in cases:
            with self.subTest(given=given):
                code, out, err = run("decode", stdin=given)
                self.assertEqual((code, out), (0, want), err)

    def test_malformed_escape_decodes_nothing(self):
        target = self.path("out.txt")
        code, out, err = run("decode", "-o", target, stdin=b"ok=1&x=%zz&y=%41")
        self.assertEqual((code, out), (1, b""))
        self.assertOneLineError(err, "malformed percent escape '%zz' at byte 7", "nothing decoded")
        self.assertFalse(os.path.exists(target))

    def test_percent_inside_a_double_byte_character_is_not_an_escape(self):
        # ESC $ B, then the JIS X 0208 pair 0x25 0x34 (a katakana), then back to ASCII.
        data = b"\x1b$B%4\x1b(B%41"
        code, out, err = run("decode", "--encoding", "iso-2022-jp", stdin=data)
        self.assertEqual((code, out), (0, b"\x1b$B%4\x1b(BA"), err)

    def test_check_suspicious_form(self):
        path = self.sample("form-suspicious.txt")
        code, out, _ = run("check", "--forbid", "<>", "--escapes", path)
        self.assertEqual(code, 1)
        self.assertEqual(out.decode(),
                         f"{path}: forbidden 0x3c '<', 0x3e '>'; malformed escapes: %G1\n")
        code, out, _ = run("check", "--forbid", "<>", "--json", path)
        record = json.loads(out)
        self.assertEqual((record["clean"], record["forbidden"], record["malformedEscapes"]),
                         (False, [0x3C, 0x3E], []))

    def test_check_clean_and_ranges(self):
        code, out, _ = run("check", "--forbid", "\\x00-\\x08", "--forbid", "\\\\", stdin=b"abc")
        self.assertEqual((code, out.decode()), (0, "(standard input): clean\n"))
        code, out, _ = run("check", "--forbid", "a-c", stdin=b"xyzb")
        self.assertEqual((code, out.decode()), (1, "(standard input): forbidden 0x62 'b'\n"))
        code, out, _ = run("check", "--forbid", "-", stdin=b"a-b")
        self.assertEqual(code, 1)

    def test_check_skips_bytes_inside_multibyte_characters(self):
        # 0x5C ('\\') is the trail byte of the Shift_JIS character 0x95 0x5C.
        data = "表".encode("shift_jis")
        self.assertEqual(data, b"\x95\x5c")
        code, _, _ = run("check", "--forbid", "\\\\", "--encoding", "shift_jis", stdin=data)
        self.assertEqual(code, 0)
        code, _, _ = run("check", "--forbid", "\\\\", stdin=data)
        self.assertEqual(code, 1)

    def test_long_list_of_malformed_escapes(self):
        # The list is written as it is read, far longer than one write.
        data = b"<" + b"%zz" * 100000 + b"%\x01"
        code, out, _ = run("check", "--forbid", "<", "--escapes", stdin=data)
        self.assertEqual(code, 1)
        head = b"(standard input): forbidden 0x3c '<'; malformed escapes: "
        self.assertEqual(out, head + b", ".join([b"%zz"] * 100000 + [b"%\\x01"]) + b"\n")
        code, out, _ = run("check", "--forbid", "<", "--escapes", "--json", stdin=data)
        self.assertEqual(code, 1)
        record = json.loads(out)
        self.assertEqual((record["forbidden"], len(record["malformedEscapes"])), ([0x3C], 100001))
        self.assertEqual(record["malformedEscapes"][-2:], ["%zz", "%\\x01"])

    def test_check_escapes_at_the_end(self):
        code, out, _ = run("check", "--forbid", "<", "--escapes", stdin=b"%zz&abc%q")
        self.assertEqual(code, 1)
        self.assertEqual(out.decode(), "(standard input): malformed escapes: %zz, %q\n")


class OptionsTest(ToolTestCase):
    def test_escape_run_limit_counts_designations_in_a_row(self):
        def escapes(count):
            return b"x" + b"\x1b(B" * count + b"y\n"

        cases = [([], 3, 0), ([], 4, 1), (["--escape-run-limit", "4"], 4, 0),
                 (["--escape-run-limit", "0004"], 5, 1), (["--escape-run-limit=1"], 1, 0),
                 (["--escape-run-limit=1"], 2, 1), (["--escape-run-limit", "0"], 0, 1)]
        for options, count, status in cases:
            with self.subTest(options=options, count=count):
                code, out, err = run("verify", "--encoding", "iso-2022-jp", *options,
                                     stdin=escapes(count))
                self.assertEqual(code, status, out + err.encode())
                code, out, _ = run("detect", "--json", "--scan-to-end", *options,
                                   stdin=b"\x1b$B0!" + escapes(count)[1:])
                self.assertEqual(json.loads(out)["encodings"],
                                 ["iso-2022-jp"] if status == 0 else [], options)

    def test_words_are_matched_without_regard_to_case(self):
        for word in ("AUTO", "Auto"):
            code, out, err = run("convert", "--from", word, stdin="日本語".encode("euc-jp"))
            self.assertEqual((code, out), (0, "日本語".encode()), err)
        code, out, err = run("detect", "--supported", "UTF8", stdin="日本語".encode("euc-jp"))
        self.assertEqual((code, out.decode()), (1, "(standard input): none\n"), err)


class TreeTest(ToolTestCase):
    def test_recursive_walk_in_name_order(self):
        os.makedirs(self.path("b/c"))
        os.makedirs(self.path("a"))
        shutil.copy(self.sample("ja-page.shift_jis.html"), self.path("b/c/z.html"))
        shutil.copy(self.sample("ko-page.euc-kr.html"), self.path("b/k.html"))
        shutil.copy(self.sample("en-page.html"), self.path("a/e.html"))
        os.symlink(self.tmp, self.path("b/loop"))  # a link to a directory is not followed
        os.mkfifo(self.path("a/fifo"))  # special files are skipped, never read
        code, out, err = run("detect", "-r", "--locale", "korean", self.tmp)
        self.assertEqual(err, "")
        lines = out.decode().splitlines()
        self.assertEqual([line.split(": ")[0] for line in lines],
                         [self.path("a/e.html"), self.path("b/c/z.html"), self.path("b/k.html")])
        self.assertEqual(lines[2].split(": ")[1], "euc-kr")
        self.assertEqual(code, 1)  # the Shift_JIS page fits no Korean encoding

    def test_unreadable_directory_is_reported_and_the_walk_goes_on(self):
        if os.geteuid() == 0:
            self.skipTest("permissions do not apply to root")
        os.makedirs(self.path("locked"))
        os.chmod(self.path("locked"), 0)
        self.write("ok.txt", b"abc")
        code, out, err = run("verify", "-r", "--encoding", "ascii", self.tmp)
        os.chmod(self.path("locked"), 0o755)
        self.assertEqual(code, 2)
        self.assertIn("ok.txt: valid", out.decode())
        self.assertOneLineError(err, "locked", "Permission denied")

    def test_no_progress_line_when_stderr_is_not_a_terminal(self):
        for i in range(300):
            self.write(f"f{i:03}.txt", b"plain text\n" * 2000)
        code, out, err = run("detect", "-r", self.tmp)
        self.assertEqual((code, err), (0, ""))
        self.assertEqual(len(out.splitlines()), 300)
        self.assertNotIn(b"\r", out)

    def test_progress_line_on_a_terminal_goes_to_stderr_only(self):
        # The second input is a pipe that delivers its bytes after a second, so
        # the run lasts long enough for the progress line to appear.
        first = self.write("a.txt", b"abc")
        last = self.write("b.txt", b"def")
        pipe = self.path("slow")
        os.mkfifo(pipe)

        def feed():
            time.sleep(1.0)
            with open(pipe, "wb") as f:
                f.write(b"\xe3\x81\x82")

        feeder = threading.Thread(target=feed)
        feeder.start()
        master, slave = pty.openpty()
        proc = subprocess.Popen([TOOL, "detect", first, pipe, last],
                                stdout=subprocess.PIPE, stderr=slave)
        os.close(slave)
        terminal = b""
        while True:
            ready, _, _ = select.select([master], [], [], 0.1)
            if ready:
                try:
                    chunk = os.read(master, 4096)
                except OSError:
                    break
                if not chunk:
                    break
                terminal += chunk
            elif proc.poll() is not None:
                break
        out = proc.stdout.read()
        proc.stdout.close()
        proc.wait()
        feeder.join()
        os.close(master)
        self.assertEqual(proc.returncode, 0)
        self.assertEqual(out.decode(), f"{first}: iso-8859-1\n{pipe}: utf-8\n{last}: iso-8859-1\n")
        self.assertIn(b"\r\x1b[Kcharsetkit: detect: 2/3 files, ", terminal)
        self.assertTrue(terminal.endswith(b"\r\x1b[K"), terminal)


class LargeInputTest(ToolTestCase):
    """Inputs of tens of megabytes: memory stays near their size, work is linear."""

    SIZE_MB = 48

    # The peak memory of a process started straight from this one would count
    # this one's own peak too (the kernel keeps the larger of the two across
    # exec), so a small fresh interpreter starts the tool and reports it.
    MEASURE = (
        "import os, sys\n"
        "pid = os.fork()\n"
        "if pid == 0:\n"
        "    os.execv(sys.argv[2], sys.argv[2:])\n"
        "_, status, usage = os.wait4(pid, 0)\n"
        "with open(sys.argv[1], 'w') as f:\n"
        "    f.write(str(usage.ru_maxrss * 1024))\n"
        "sys.exit(os.waitstatus_to_exitcode(status) & 0xFF)\n")

    def run_measured(self, *args, stdin=None):
        """Runs the tool; returns (exit status, stderr text, peak bytes, seconds)."""
        report = self.path("peak-memory")
        start = time.monotonic()
        proc = subprocess.run([sys.executable, "-c", self.MEASURE, report, TOOL, *args],
                              input=stdin, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE,
                              timeout=300)
        seconds = time.monotonic() - start
        with open(report) as f:
            peak = int(f.read())
        return proc.returncode, proc.stderr.decode(), peak, seconds

    def test_large_shift_jis_file(self):
        line = "大きなファイルの文字コードを判定します。<p>\n".encode("shift_jis")
        count = self.SIZE_MB * 1024 * 1024 // len(line)
        path = self.write("big.html", line * count)
        size = os.path.getsize(path)
        for args, factor in ((["detect", "--scan-to-end", path], 1.2),
                             (["verify", "--encoding", "shift_jis", path], 1.2),
                             (["convert", "-o", self.path("out.html"), path], 3.0)):
            with self.subTest(command=args[0]):
                code, err, rss, seconds = self.run_measured(*args)
                self.assertEqual(code, 0, err)
                self.assertLess(rss, size * factor + 32 * 1024 * 1024,
                                f"{args[0]}: {rss / 2**20:.0f} MiB for a {size / 2**20:.0f} MiB input")
                print(f"\n  {args[0]}: {seconds:.2f} s, {rss / 2**20:.0f} MiB peak memory "
                      f"for {size / 2**20:.0f} MiB", file=sys.stderr)
        with open(self.path("out.html"), "rb") as f:
            self.assertEqual(f.read(len(line.decode("shift_jis").encode())),
                             line.decode("shift_jis").encode())
        self.assertEqual(os.path.getsize(self.path("out.html")),
                         len(line.decode("shift_jis").encode()) * count)

    def test_large_input_on_a_pipe(self):
        data = b"<p>ascii only</p>\n" * (self.SIZE_MB * 1024 * 1024 // 18)
        code, err, rss, _ = self.run_measured("verify", "--encoding", "utf-8", stdin=data)
        self.assertEqual((code, err), (0, ""))
        self.assertLess(rss, len(data) * 1.2 + 32 * 1024 * 1024)

    def test_convert_from_a_pipe_in_constant_memory(self):
        line = "大きなファイルの文字コードを判定します。<p>\n"
        encoded = line.encode("euc-jp")
        count = self.SIZE_MB * 1024 * 1024 // len(encoded)
        data = encoded * count
        out = self.path("piped.html")
        for args in (["convert", "--from", "euc-jp"], ["convert", "--from", "euc-jp", "-o", out]):
            with self.subTest(args=args):
                code, err, rss, _ = self.run_measured(*args, stdin=data)
                self.assertEqual(code, 0, err)
                self.assertLess(rss, 32 * 1024 * 1024,
                                f"{rss / 2**20:.0f} MiB for a {len(data) / 2**20:.0f} MiB pipe")
        self.assertEqual(os.path.getsize(out), len(line.encode()) * count)
        # Refused by its last byte: nothing reaches standard output.
        proc = subprocess.run([TOOL, "convert", "--from", "euc-jp"], input=data + b"\xa4",
                              capture_output=True, timeout=300)
        self.assertEqual((proc.returncode, proc.stdout), (1, b""))
        self.assertIn("ends inside a multi-byte character", proc.stderr.decode())

    def test_one_long_line(self):
        text = "一行だけの長いテキスト。".encode("euc-jp")
        path = self.write("long.txt", text * (self.SIZE_MB * 1024 * 1024 // len(text)))
        size = os.path.getsize(path)
        code, err, rss, _ = self.run_measured("convert", "--from", "euc-jp", "-o",
                                              self.path("out.txt"), path)
        self.assertEqual(code, 0, err)
        self.assertLess(rss, size * 1.2 + 32 * 1024 * 1024)

    def test_many_malformed_escapes(self):
        path = self.write("percent.txt", b"%" * (16 * 1024 * 1024))
        code, err, rss, _ = self.run_measured("check", "--forbid", "<", "--escapes", path)
        self.assertEqual(code, 1, err)
        # The checker's own list of escapes takes 5/3 of the input.
        self.assertLess(rss, 3 * 16 * 1024 * 1024 + 32 * 1024 * 1024)

    def test_endless_input_stops_at_the_limit(self):
        if not os.path.exists("/dev/zero"):
            self.skipTest("no /dev/zero")
        code, err, rss, _ = self.run_measured("check", "--forbid", "<", "/dev/zero")
        self.assertEqual(code, 2)
        self.assertOneLineError(err, "/dev/zero", "too large", str(2**31 - 1))
        self.assertLess(rss, 2**31 + 64 * 1024 * 1024)


class SniffTest(ToolTestCase):
    def sniff_json(self, *args, stdin=b""):
        code, out, err = run("sniff", "--json", *args, stdin=stdin)
        self.assertEqual(code, 0, err)
        return [json.loads(line) for line in out.decode().splitlines()]

    def test_samples_declare_their_own_encoding(self):
        for name, locale, want in [("ja-page.shift_jis.html", "japanese", "shift_jis"),
                                   ("ja-page.euc-jp.html", "japanese", "euc-jp"),
                                   ("ja-page.iso-2022-jp.html", "japanese", "iso-2022-jp"),
                                   ("ko-page.euc-kr.html", "korean", "euc-kr"),
                                   ("western-page.iso-8859-1.html", "japanese", "iso-8859-1")]:
            with self.subTest(sample=name):
                code, out, err = run("sniff", "--locale", locale, self.sample(name))
                self.assertEqual(code, 0, err)
                self.assertEqual(out.decode(), f"{self.sample(name)}: {want} (meta)\n")

    def test_a_byte_order_mark_overrides_every_declaration(self):
        page = b"\xef\xbb\xbf<meta charset=shift_jis>abc"
        [record] = self.sniff_json("--header", "text/html; charset=euc-jp", stdin=page)
        self.assertEqual((record["encoding"], record["source"]), ("utf-8", "bom"))
        self.assertIsNone(record["declared"])
        for bom, want in [(b"\xfe\xff", "utf-16be"), (b"\xff\xfe", "utf-16le")]:
            code, out, _ = run("sniff", stdin=bom + b"\x00a")
            self.assertEqual((code, out.decode()), (0, f"(standard input): {want} (bom)\n"))

    def test_the_transport_label_overrides_the_page(self):
        page = self.read_sample("ja-page.euc-jp.html")
        [record] = self.sniff_json("--header", 'text/html; Charset="EUC-JP" ', stdin=page)
        self.assertEqual(record["encoding"], "euc-jp")
        self.assertEqual(record["source"], "transport")
        self.assertEqual(record["declared"], "EUC-JP")
        self.assertFalse(record["contradicted"])

    def test_a_declaration_the_bytes_contradict_gives_way_to_detection(self):
        page = self.read_sample("ja-page.iso-2022-jp.html")
        [record] = self.sniff_json("--header", "text/html; charset=shift_jis", stdin=page)
        self.assertEqual(record["encoding"], "iso-2022-jp")
        self.assertEqual(record["source"], "detected")
        self.assertEqual((record["declared"], record["declared_in"]), ("shift_jis", "transport"))
        self.assertTrue(record["contradicted"])
        self.assertEqual(record["candidates"], ["iso-2022-jp"])
        code, out, _ = run("sniff", "--header", "text/html; charset=shift_jis", stdin=page)
        self.assertEqual(out.decode(),
                         "(standard input): iso-2022-jp (detected; declared shift_jis contradicted)\n")

    def test_without_declarations_detection_or_the_default_decides(self):
        [record] = self.sniff_json(stdin="<p>\u65e5\u672c</p>".encode("euc-jp"))
        self.assertEqual((record["encoding"], record["source"]), ("euc-jp", "detected"))
        self.assertIn("euc-jp", record["candidates"])
        [record] = self.sniff_json("--locale", "korean", stdin=b"")
        self.assertIn(record["source"], ("detected", "default"))
        self.assertIsNotNone(record["encoding"])

    def test_convert_auto_follows_declarations_the_bytes_verify_in(self):
        text = "<p>\u65e5\u672c\u8a9e</p>\n"
        # Short EUC-JP text also reads as Shift_JIS: detection alone refuses.
        page = text.encode("euc-jp")
        code, _, err = run("convert", stdin=page)
        if code == 1:
            self.assertIn("cannot detect", err.decode())
        code, out, err = run("convert", "--header", "text/html;charset=euc-jp", stdin=page)
        self.assertEqual((code, out.decode()), (0, text), err)
        meta = b"<meta charset=euc-jp>" + page
        code, out, err = run("convert", stdin=meta)
        self.assertEqual((code, out), (0, meta.decode("euc-jp").encode()), err)
        # A declaration the bytes contradict is ignored: detection decides.
        code, out, err = run("convert", "--header", "text/html; charset=iso-2022-jp",
                             stdin=self.read_sample("ja-page.shift_jis.html"))
        self.assertEqual(code, 0, err)
        _, want, _ = run("convert", "--from", "shift_jis", self.sample("ja-page.shift_jis.html"))
        self.assertEqual(out, want)
        code, _, err = run("convert", "--from", "euc-jp", "--header", "text/html", stdin=page)
        self.assertEqual(code, 2)
        self.assertOneLineError(err, "--header")
        code, _, err = run("convert", stdin=b"\xfe\xff\x00a")
        self.assertEqual(code, 1)
        self.assertOneLineError(err, "utf-16be", "refused")

    def test_usage_and_io_errors_exit_2(self):
        code, _, err = run("sniff", self.path("missing.html"))
        self.assertEqual(code, 2)
        self.assertOneLineError(err, "missing.html")
        code, _, err = run("sniff", "--header")
        self.assertEqual(code, 2)
        code, _, err = run("sniff", "--no-such-option")
        self.assertEqual(code, 2)


def main():
    global TOOL, SAMPLES
    parser = argparse.ArgumentParser()
    parser.add_argument("--tool", required=True)
    parser.add_argument("--samples", required=True)
    parser.add_argument("tests", nargs="*")
    options = parser.parse_args()
    TOOL = os.path.abspath(options.tool)
    SAMPLES = os.path.abspath(options.samples)
    unittest.main(argv=[sys.argv[0], "-v", *options.tests])


if __name__ == "__main__":
    main()
