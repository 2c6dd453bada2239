#!/usr/bin/env python3
"""Drives the real bookmaker-cli (natively, or the .exe under Wine) on a folder of texts in
mixed encodings, then has readers nobody here wrote check the book (book_checks.py): unzip
-t, 7z t, Python's zipfile (every CRC; here also the index as UTF-16LE and every part as
UTF-8 against the source text) and Java's JarFile (MIDlet-1, MIDlet-Name, the profile); its
JAD is beside it.
Then the failures: a missing template, a template that is not a zip, an output folder that
cannot be written, a full disk. Each must give a clear message and exit 1, leave no file
behind and keep an older book of the same name.

usage: cli_book.py --tool BOOKMAKER_CLI --work DIR [--emulator WINE_RUN] [--reader RDbook.dat]
"""
import os
import random
import resource
import subprocess
import sys
import zipfile

import book_checks
import tool_check

BOOK_NAME = "青禾文集,第一卷"
TEMPLATE_MISSING = "找不到电子书模板文件 RDbook.dat，无法生成电子书!"
TEMPLATE_DAMAGED = "电子书模板文件 RDbook.dat 不是有效的 jar 文件，无法生成电子书!"
OLD_BOOK = b"an older book of the same name"


def long_text():
    """Over 150000 UTF-16 units with a character beyond the 16-bit plane across the cut."""
    line = "\u3000\u3000春眠不觉晓，处处闻啼鸟。夜来风雨声，花落知多少。\r\n"
    text = line * (149999 // len(line) + 1)
    text = text[:149999] + "\U00020000" + text[:60000]
    return text


def sources():
    """File name, bytes, the text as the source list holds it, the encoding the tool reports."""
    gbk = "第二回　张翼德怒鞭督邮\r\n何国舅谋诛宦竖。\r\n"
    items = [
        # The first non-ASCII character is two bytes long in UTF-8: still UTF-8.
        ("1 序.txt", "·序　é\r\n青禾电子书工作室".encode("utf-8"), "UTF-8"),
        ("2.txt", gbk.encode("gbk"), "GBK"),
        ("3.txt", b"\xfe\xff" + "第三回 UTF-16BE".encode("utf-16-be"), "UTF-16BE"),
        ("4.txt", b"\xef\xbb\xbf" + "第四回\x00前后".encode("utf-8"), "UTF-8"),
        ("5.txt", b"\xff\xfe\x00\x00" + "第五回 UTF-32LE 😀".encode("utf-32-le"), "UTF-32LE"),
        ("6.txt", b"\x00\x00\xfe\xff" + "第六回 UTF-32BE".encode("utf-32-be"), "UTF-32BE"),
        ("7 长篇.txt", long_text().encode("utf-8"), "UTF-8"),
        ("8.TXT", "第八回\rlone CR\nlone LF".encode("gbk"), "GBK"),
        ("9.txt", b"", "GBK"),
        ("10.txt", b"\xff\xfe" + "第十回 UTF-16LE\r\n".encode("utf-16-le"), "UTF-16LE"),
    ]
    out = []
    for name, data, encoding in items:
        text = decode(data)
        out.append((name, data, text.replace("\x00", ""), encoding))
    return out


def decode(data):
    for mark, codec in ((b"\xff\xfe\x00\x00", "utf-32-le"), (b"\x00\x00\xfe\xff", "utf-32-be"),
                        (b"\xef\xbb\xbf", "utf-8"), (b"\xff\xfe", "utf-16-le"), (b"\xfe\xff", "utf-16-be")):
        if data.startswith(mark):
            return data[len(mark):].decode(codec)
    try:
        return data.decode("utf-8")
    except UnicodeDecodeError:
        return data.decode("gbk")


def units(text):
    return len(text.encode("utf-16-le")) // 2


class Checker:
    def __init__(self, args):
        self.args = args
        self.failures = []

    def expect(self, ok, what):
        print(("ok   " if ok else "FAIL ") + what, flush=True)
        if not ok:
            self.failures.append(what)

    def host(self, path):
        return "Z:" + path.replace("/", "\\") if self.args.emulator else path

    def cli(self, *args, limit=None):
        cmd = ([self.args.emulator] if self.args.emulator else []) + [self.args.tool] + list(args)
        preexec = None
        if limit is not None:
            def preexec():
                resource.setrlimit(resource.RLIMIT_FSIZE, (limit, limit))
        r = subprocess.run(cmd, capture_output=True, preexec_fn=preexec)
        out = r.stdout.decode("utf-8", "replace").replace("\r\n", "\n")
        err = r.stderr.decode("utf-8", "replace").replace("\r\n", "\n")
        return r.returncode, out, err

    # --- a book from a folder of mixed encodings -------------------------------------

    def build_book(self, label, template, folder, expected, jar_check):
        out_dir = os.path.join(self.args.work, "out-" + label)
        os.makedirs(out_dir)
        book = os.path.join(out_dir, BOOK_NAME + ".jar")
        with open(book, "wb") as f:
            f.write(OLD_BOOK)
        code, out, err = self.cli("-n", BOOK_NAME, "-a", "作者", "-t", self.host(template),
                                  "-o", self.host(out_dir), self.host(folder))
        self.expect(code == 0 and err == "", f"{label}: bookmaker-cli exits 0 ({code}) {err.strip()[:300]}")
        if code != 0:
            return
        lines = out.splitlines()
        reported = [(line[3:line.index("（")], line[line.index("（") + 1:line.index("，")])
                    for line in lines if line.startswith("添加：")]
        want = [(name[:name.rindex(".")], enc) for name, _, _, enc in expected]
        self.expect(reported == want, f"{label}: one line per source, natural order, encodings {reported}")
        self.expect(lines[-2].startswith("已生成：") and BOOK_NAME + ".jar（11 部分，" in lines[-2] and
                    lines[-1].startswith("已生成：") and lines[-1].endswith(BOOK_NAME + ".jad"),
                    f"{label}: the book and its JAD listed {lines[-2:]}")
        self.expect(sorted(os.listdir(out_dir)) == sorted([BOOK_NAME + ".jar", BOOK_NAME + ".jad"]),
                    f"{label}: only the book and its JAD in the folder")

        for verdict in book_checks.check_book(book, BOOK_NAME, jar_check):
            self.expect(verdict.ok, f"{label}: {verdict.reader} {verdict.detail}")

        # Parts are cut from the text as read (CR LF still there), then CR LF becomes LF.
        titles, texts = [], []
        for name, _, text, _ in expected:
            title = name[:name.rindex(".")]
            if units(text) > 150000:
                titles += [title + "(1)", title + "(2)"]
                texts += [text[:149999], text[149999:]]  # the pair across 150000 stays whole
            else:
                titles.append(title)
                texts.append(text)
        texts = [t.replace("\r\n", "\n") for t in texts]
        with zipfile.ZipFile(book) as z:
            with zipfile.ZipFile(template) as t:
                template_names = t.namelist()
            names = z.namelist()
            self.expect(names == template_names + ["META-INF/MANIFEST.MF", "index.txt"] +
                        [f"{i}.txt" for i in range(1, len(texts) + 1)], f"{label}: entries in order")
            try:
                index = book_checks.read_index(z)
            except ValueError as e:
                self.expect(False, f"{label}: {e}")
            else:
                self.expect(index == ("作者", "qinghe.example", BOOK_NAME, titles),
                            f"{label}: index lines {index[:3]} and titles")
            for i, text in enumerate(texts, 1):
                data = z.read(f"{i}.txt")
                self.expect(not data.startswith(b"\xef\xbb\xbf") and data.decode("utf-8") == text,
                            f"{label}: {i}.txt is the source text in UTF-8 ({len(data)} bytes)")

        code, out, err = self.cli("inspect", self.host(book))
        self.expect(code == 0 and "检查结果：正确" in out, f"{label}: bookmaker-cli inspect ({code}) {err[:200]}")

    # --- a template with bytes before the archive ----------------------------------------

    def prefixed_templates(self, template, folder, jar_check):
        """A stub in front of the template, its offsets left as they were (counted from the
        archive) or adjusted by zip -A (counted from the file's start): the book keeps the
        stub in front, and the readers that accept one read it whole."""
        stub = b"MZ" + bytes(62)
        with open(template, "rb") as f:
            archive = f.read()
        for label in ("stub, offsets from the archive", "stub, offsets adjusted by zip -A"):
            work = os.path.join(self.args.work, "prefix-" + str(len(label)))
            os.makedirs(work)
            prefixed = os.path.join(work, "RDbook.dat")
            with open(prefixed, "wb") as f:
                f.write(stub + archive)
            if "adjusted" in label:
                subprocess.run(["zip", "-q", "-A", prefixed], check=True)
            code, out, err = self.cli("-n", "书", "-t", self.host(prefixed), "-o", self.host(work), self.host(folder))
            self.expect(code == 0, f"{label}: bookmaker-cli exits 0 ({code}) {err.strip()[:300]}")
            if code != 0:
                continue
            book = os.path.join(work, "书.jar")
            with open(book, "rb") as f:
                self.expect(f.read(len(stub)) == stub, f"{label}: the stub stays in front of the book")
            for verdict in (book_checks.unzip_test(book, prefix_allowed=True), book_checks.zipfile_test(book),
                            jar_check(book, book_checks.book_manifest("书"))):
                self.expect(verdict.ok, f"{label}: {verdict.reader} {verdict.detail}")
            code, out, err = self.cli("inspect", self.host(book))
            self.expect(code == 0 and "检查结果：正确" in out, f"{label}: bookmaker-cli inspect ({code}) {out[-200:]}")

    # --- failures --------------------------------------------------------------------

    def expect_failure(self, label, folder, args, message=None, code_wanted=1, limit=None):
        book = os.path.join(folder, BOOK_NAME + ".jar")
        before = sorted(os.listdir(folder))
        code, out, err = self.cli(*args, limit=limit)
        first = err.splitlines()[0] if err else ""
        self.expect(code == code_wanted, f"{label}: exit {code_wanted} ({code}) {err.strip()[:200]}")
        self.expect(first == message if message else first != "", f"{label}: message {first!r}")
        self.expect(sorted(os.listdir(folder)) == before, f"{label}: nothing left behind {os.listdir(folder)}")
        with open(book, "rb") as f:
            self.expect(f.read() == OLD_BOOK, f"{label}: the older book is unchanged")

    def failures_in(self, label, folder, template, source, **kw):
        with open(os.path.join(folder, BOOK_NAME + ".jar"), "wb") as f:
            f.write(OLD_BOOK)
        self.expect_failure(label, folder, ["-n", BOOK_NAME, "-t", self.host(template), "-o", self.host(folder),
                                            self.host(source)], **kw)

    def run_failures(self, template, folder):
        work = self.args.work
        plain = os.path.join(work, "fail-plain")
        os.makedirs(plain)
        not_zip = os.path.join(work, "not-a-zip.dat")
        with open(not_zip, "wb") as f:
            f.write(b"PK but not a zip" * 100)
        self.failures_in("missing template", plain, os.path.join(work, "RDbook.dat"), folder,
                         message=TEMPLATE_MISSING)
        self.failures_in("template not a zip", plain, not_zip, folder, message=TEMPLATE_DAMAGED)

        big = os.path.join(work, "big.txt")
        rnd = random.Random(7)
        with open(big, "wb") as f:  # deflate cannot shrink it much
            f.write("".join(chr(rnd.randint(0x4E00, 0x9FA5)) for _ in range(400000)).encode("gbk"))

        mounted = self.try_mount("full", "size=256k")
        if mounted:
            try:
                self.failures_in("full disk", mounted, template, big)
            finally:
                subprocess.run(["umount", mounted])
        elif not self.args.emulator:
            print("skip full disk on tmpfs (cannot mount); using a file size limit")
        if not self.args.emulator:
            # Beyond the limit a write fails (EFBIG); the program must clean up, not die.
            limited = os.path.join(work, "fail-limit")
            os.makedirs(limited)
            self.failures_in("file size limit", limited, template, big, limit=200 * 1024)

        readonly = self.read_only_folder()
        if readonly:
            folder_ro, undo = readonly
            try:
                self.expect_failure("output folder not writable", folder_ro,
                                    ["-n", BOOK_NAME, "-t", self.host(template), "-o", self.host(folder_ro),
                                     self.host(folder)])
            finally:
                undo()
        else:
            self.expect(False, "output folder not writable: no way to make one")

    def try_mount(self, name, options):
        path = os.path.join(self.args.work, name)
        os.makedirs(path)
        r = subprocess.run(["mount", "-t", "tmpfs", "-o", options, "tmpfs", path], capture_output=True)
        return path if r.returncode == 0 else None

    def read_only_folder(self):
        """A folder with an older book that cannot be written: a read-only tmpfs as root
        (root ignores permissions), mode 0555 otherwise."""
        if os.geteuid() != 0:
            path = os.path.join(self.args.work, "readonly")
            os.makedirs(path)
            with open(os.path.join(path, BOOK_NAME + ".jar"), "wb") as f:
                f.write(OLD_BOOK)
            os.chmod(path, 0o555)
            return path, lambda: os.chmod(path, 0o755)
        path = self.try_mount("readonly", "size=64k")
        if not path:
            return None
        with open(os.path.join(path, BOOK_NAME + ".jar"), "wb") as f:
            f.write(OLD_BOOK)
        subprocess.run(["mount", "-o", "remount,ro", path], check=True)
        return path, lambda: subprocess.run(["umount", path])


def main():
    args = tool_check.arguments()

    expected = sources()
    folder = os.path.join(args.work, "texts")
    os.makedirs(os.path.join(folder, "sub.txt"))  # a folder, skipped
    for name, data, _, _ in expected:
        with open(os.path.join(folder, name), "wb") as f:
            f.write(data)
    with open(os.path.join(folder, "readme.md"), "wb") as f:
        f.write(b"not a source")

    jar_check = book_checks.JarFileCheck(os.path.join(args.work, "java"))
    checker = Checker(args)
    # Not work/RDbook.dat: that one is the missing template of the failures.
    template = book_checks.make_template(os.path.join(args.work, "template.jar"))
    checker.build_book("small template", template, folder, expected, jar_check)
    if args.reader and os.path.isfile(args.reader):
        checker.build_book("phone reader", args.reader, folder, expected, jar_check)
    else:
        print("skip phone reader template (not built)")
    checker.prefixed_templates(template, folder, jar_check)
    checker.run_failures(template, folder)

    return tool_check.finish(checker.failures)


if __name__ == "__main__":
    sys.exit(main())
