"""Makes the test books: good ones with bookmaker-cli, damaged ones as copies of a good book.

A book as the tool writes it: every entry of the template, unchanged and in its order; then
META-INF/MANIFEST.MF, naming the book; index.txt: author (or 佚名), maker (or
qinghe.example), book name, then one title per part, each line ended by CR LF, as UTF-16LE
with the mark FF FE and one NUL code unit at the end; 1.txt, 2.txt, ...: the parts' texts,
CR LF reduced to LF, UTF-8 without a mark. index_bytes and part_bytes write the last two the
same way, for the entries a damaged copy replaces.
"""
import os
import subprocess
import tempfile
import zipfile

ANONYMOUS = "佚名"
DEFAULT_MAKER = "qinghe.example"

# What a file name cannot hold (on Windows too), so what a title taken from one cannot.
NOT_IN_FILE_NAMES = set('\\/:*?"<>|') | {chr(c) for c in range(32)}


def index_bytes(author, maker, name, titles):
    text = "%s\r\n%s\r\n%s\r\n" % (author or ANONYMOUS, maker or DEFAULT_MAKER, name)
    text += "".join(t + "\r\n" for t in titles)
    return b"\xff\xfe" + (text + "\0").encode("utf-16-le")


def part_bytes(text):
    """A part's entry: text as str (encoded to UTF-8) or bytes (taken as they are)."""
    data = text.encode("utf-8") if isinstance(text, str) else text
    return data.replace(b"\r\n", b"\n")


def index_titles(book):
    """The part titles in a book's index.txt."""
    with zipfile.ZipFile(book) as zf:
        text = zf.read("index.txt")[2:].decode("utf-16-le")
    return text.split("\0")[0].split("\r\n")[3:-1]  # the part lengths follow the NUL


def make_book(tool, template, out, name, author, maker, parts):
    """Writes the book `out` with bookmaker-cli (the program `tool`) and returns its titles.

    parts is a list of (title, text) in reading order. Each text becomes a source file
    TITLE.txt in UTF-8, alone in a numbered folder (titles may repeat), and the files are
    given to the tool in that order: it takes each title from its file name and cuts a text
    of more than 150000 UTF-16 units into TITLE(1), TITLE(2)... A title must be a possible
    file name, not empty (the tool skips such a file); a text must not start with a
    byte-order mark nor hold NUL (the tool drops both). An empty author or maker is left to
    the tool's default.
    """
    with tempfile.TemporaryDirectory(prefix="book-sources-") as tmp:
        files = []
        for i, (title, text) in enumerate(parts, 1):
            if not title or set(title) & NOT_IN_FILE_NAMES:
                raise ValueError("title %r cannot be a file name" % title)
            if text.startswith("\ufeff") or "\0" in text:
                raise ValueError("text of %r would not reach the book as it is" % title)
            folder = os.path.join(tmp, str(i))
            os.mkdir(folder)
            path = os.path.join(folder, title + ".txt")
            with open(path, "wb") as f:
                f.write(text.encode("utf-8"))
            files.append(path)
        run_tool(tool, template, out, name, author, maker, files, tmp)
    return index_titles(out)


def make_book_by_chapters(tool, template, out, name, text):
    """Writes the book `out` from one UTF-8 text split by its chapters (--chapters) and
    returns its titles."""
    with tempfile.TemporaryDirectory(prefix="book-sources-") as tmp:
        path = os.path.join(tmp, name + ".txt")
        with open(path, "wb") as f:
            f.write(text.encode("utf-8"))
        run_tool(tool, template, out, name, "", "", [path], tmp, ["--chapters"])
    return index_titles(out)


def run_tool(tool, template, out, name, author, maker, files, cwd, options=()):
    command = [os.path.abspath(tool), "-n", name, "-t", os.path.abspath(template),
               "-o", os.path.abspath(out)] + list(options)
    if author:
        command += ["-a", author]
    if maker:
        command += ["-m", maker]
    done = subprocess.run(command + ["--"] + files, cwd=cwd, capture_output=True)
    if done.returncode != 0:
        raise RuntimeError("bookmaker-cli failed (%d) on %s:\n%s%s" % (
            done.returncode, out, done.stdout.decode("utf-8", "replace"),
            done.stderr.decode("utf-8", "replace")))


def write_entry(zf, name, data):
    method = zipfile.ZIP_DEFLATED if len(data) >= 5 else zipfile.ZIP_STORED
    info = zipfile.ZipInfo(name, date_time=(2024, 1, 1, 0, 0, 0))
    info.compress_type = method
    zf.writestr(info, data)


def rewrite_book(source, out, replace=None, drop=()):
    """Copies a book entry by entry, replacing the data of some entries and leaving some
    out: how the tests damage a good book. Entries of 5 bytes or more are deflated, shorter
    ones stored."""
    replace = replace or {}
    with zipfile.ZipFile(source) as src, zipfile.ZipFile(out, "w") as dst:
        for info in src.infolist():
            if info.filename in drop:
                continue
            data = replace.get(info.filename, None)
            write_entry(dst, info.filename, src.read(info) if data is None else data)
