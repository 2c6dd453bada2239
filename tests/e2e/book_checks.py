"""What the end-to-end tests share about books: a small template to build them on, the
reader of their index, and readers nobody here wrote, run on an archive we wrote: Info-ZIP's
unzip -t, 7-Zip's 7z t, Python's zipfile (the CRC of every entry) and Java's JarFile
(JarCheck.java: the manifest's main attributes, chosen entries byte for byte, every entry
read to its end). Each check gives a Verdict; the test that runs it reports it its own way.

The end-to-end tests import this module from their own folder.
"""
import os
import random
import subprocess
import zipfile
from typing import List, NamedTuple

HERE = os.path.dirname(os.path.abspath(__file__))


def make_template(path, code_size=2048):
    """A stand-in for the phone reader RDbook.dat at path: the class the manifest starts
    (code_size bytes that deflate cannot shrink, deflated as jar does) and its icon (stored),
    so that the file is about code_size + 250 bytes."""
    code = b"\xca\xfe\xba\xbe" + random.Random(5).randbytes(code_size - 4)
    with zipfile.ZipFile(path, "w") as z:
        z.writestr("Lumenread.class", code, zipfile.ZIP_DEFLATED)
        z.writestr("rd.PNG", b"\x89PNG\r\n\x1a\n" + b"\0" * 60, zipfile.ZIP_STORED)
    return path


class BookIndex(NamedTuple):
    """The lines of a book's index.txt."""
    author: str
    maker: str
    name: str
    titles: List[str]  # one per part: the title of n.txt is titles[n - 1]


def read_index(book):
    """The index of a book (a path or an open ZipFile). index.txt holds a UTF-16LE mark, then
    the author, the maker, the book's name and one title per part, each line ended by CR LF,
    then a NUL; then, from this builder, each part's length in bytes (a decimal line each,
    ended by CR LF) and another NUL, which must be the sizes of the part entries. Anything
    else raises ValueError."""
    if not isinstance(book, zipfile.ZipFile):
        with zipfile.ZipFile(book) as z:
            return read_index(z)
    data = book.read("index.txt")
    if not data.startswith(b"\xff\xfe"):
        raise ValueError("index.txt has no UTF-16LE mark: %r" % data[:8])
    text = data[2:].decode("utf-16-le") if len(data) % 2 == 0 else ""
    nul = text.find("\0")
    if nul < 2 or text[nul - 2:nul] != "\r\n":
        raise ValueError("index.txt's titles do not end in CR LF and a NUL: %r" % data[-8:])
    lines = text[:nul - 2].split("\r\n")
    if len(lines) < 3:
        raise ValueError("index.txt has %d lines, not the author, the maker and the name" % len(lines))
    titles = lines[3:]
    after = text[nul + 1:]
    if after:
        if not after.endswith("\r\n\0"):
            raise ValueError("index.txt's part lengths do not end in CR LF and a NUL: %r" % after[-8:])
        lengths = after[:-3].split("\r\n")
        sizes = [book.getinfo("%d.txt" % (i + 1)).file_size for i in range(len(titles))]
        if [int(n) if n.isdigit() else n for n in lengths] != sizes:
            raise ValueError("index.txt gives the part lengths %r, the parts have %r" % (lengths[:10], sizes[:10]))
    return BookIndex(lines[0], lines[1], lines[2], titles)


class Verdict(NamedTuple):
    reader: str  # "unzip -t", "7z t", "zipfile", "JarFile"
    ok: bool
    detail: str  # the exit code and the start of what the reader said


def unzip_test(path, prefix_allowed=False):
    """unzip -t; with prefix_allowed, the warning about bytes before the archive (exit 1)
    is accepted."""
    r = subprocess.run(["unzip", "-t", "-q", path], capture_output=True, text=True)
    said = (r.stdout + r.stderr).strip()
    ok = r.returncode == 0 or (prefix_allowed and r.returncode == 1 and "extra bytes at beginning" in said)
    return Verdict("unzip -t", ok, f"({r.returncode}) {said[:200]}")


def seven_zip_test(path):
    r = subprocess.run(["7z", "t", path], capture_output=True, text=True)
    ok = r.returncode == 0 and "Everything is Ok" in r.stdout
    return Verdict("7z t", ok, f"({r.returncode})" + ("" if ok else " " + (r.stdout + r.stderr).strip()[-200:]))


def zipfile_test(path):
    try:
        with zipfile.ZipFile(path) as z:
            bad = z.testzip()
    except (zipfile.BadZipFile, OSError) as e:
        return Verdict("zipfile", False, str(e))
    return Verdict("zipfile", bad is None, "CRC of every entry" + (f": {bad} differs" if bad else ""))


class JarFileCheck:
    """JarCheck.java, compiled once into folder."""

    def __init__(self, folder):
        self.folder = folder
        os.makedirs(folder, exist_ok=True)
        subprocess.run(["javac", "-encoding", "UTF-8", "-d", folder, os.path.join(HERE, "JarCheck.java")],
                       check=True)

    def __call__(self, path, attributes=None, entries=None):
        """attributes: the manifest's main attributes wanted, {key: value}; entries: {entry
        name: path of a file with its bytes}."""
        args = [path]
        for key, value in (attributes or {}).items():
            args += ["--attribute", f"{key}={value}"]
        for name, file in (entries or {}).items():
            args += ["--entry", f"{name}={file}"]
        # Java decodes its arguments in the locale's encoding: the values are UTF-8.
        env = dict(os.environ, LC_ALL="C.UTF-8")
        r = subprocess.run(["java", "-cp", self.folder, "JarCheck"] + args, capture_output=True, text=True, env=env)
        return Verdict("JarFile", r.returncode == 0, f"({r.returncode}) {r.stderr.strip()[:300]}")


def book_manifest(name):
    """The main attributes of the manifest of a book named name (the comma, which separates
    MIDlet-1's fields, is written full width there)."""
    return {"MIDlet-Name": name, "MIDlet-1": name.replace(",", "，") + ",/rd.PNG,Lumenread",
            "MicroEdition-Profile": "MIDP-1.0"}


def check_book(path, name, jar_check):
    """Every reader on the book named name: the archive whole, every CRC, the manifest."""
    return [unzip_test(path), seven_zip_test(path), zipfile_test(path), jar_check(path, book_manifest(name))]


def read_on_test_phone(harness, work, books, size=(240, 320)):
    """Reads each book (a jar made on the phone reader) on the reader's test phone from its
    contents to its last page (BookReading.java, compiled against the harness classes).
    Returns whether every check passed; prints what it did."""
    classes = os.path.join(work, "reading")
    subprocess.run(["javac", "-nowarn", "-encoding", "UTF-8", "-cp", harness, "-d", classes,
                    os.path.join(HERE, "BookReading.java")], check=True)
    r = subprocess.run(["java", "-Djava.awt.headless=true", "-cp", harness + os.pathsep + classes,
                        "harness.BookReading", os.path.join(work, "screens"), str(size[0]), str(size[1])]
                       + list(books), capture_output=True, text=True)
    print(r.stdout + r.stderr, end="")
    return r.returncode == 0
