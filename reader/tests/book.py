"""Makes a book the way BookMaker does: the reader template, then the book's own entries.

This is the one place the tests make books. Once `bookmaker-cli` exists, make_book is to
call it instead; the layout written here is what the tool writes:
  - every entry of the template, unchanged and in its order;
  - META-INF/MANIFEST.MF: the manifest below with the book name, UTF-8, CR LF line ends;
  - index.txt: author (or 佚名), maker (or qinghe.example), book name, then one title per
    part, each line ended by CR LF, as UTF-16LE with the mark FF FE and one NUL code unit
    at the end;
  - 1.txt, 2.txt, ...: the parts' texts, CR LF reduced to LF, UTF-8 without a mark.
Entries of 5 bytes or more are deflated, shorter ones stored.
"""
import shutil
import zipfile

MANIFEST = (
    "Manifest-Version: 1.0\r\n"
    "Ant-Version: Apache Ant 1.6.5\r\n"
    "Created-By: www.qinghe.example\r\n"
    "MIDlet-1: $$$,/rd.PNG,Lumenread\r\n"
    "MIDlet-Vendor: Qinghe.example\r\n"
    "MIDlet-Version: 1.0\r\n"
    "MIDlet-Name: $$$\r\n"
    "MicroEdition-Configuration: CLDC-1.0\r\n"
    "MicroEdition-Profile: MIDP-1.0\r\n"
)
ANONYMOUS = "佚名"
DEFAULT_MAKER = "qinghe.example"


def index_bytes(author, maker, name, titles):
    text = "%s\r\n%s\r\n%s\r\n" % (author or ANONYMOUS, maker or DEFAULT_MAKER, name)
    text += "".join(t + "\r\n" for t in titles)
    return b"\xff\xfe" + (text + "\0").encode("utf-16-le")


def part_bytes(text):
    """A part's entry: text as str (encoded to UTF-8) or bytes (taken as they are)."""
    data = text.encode("utf-8") if isinstance(text, str) else text
    return data.replace(b"\r\n", b"\n")


def write_entry(zf, name, data):
    method = zipfile.ZIP_DEFLATED if len(data) >= 5 else zipfile.ZIP_STORED
    info = zipfile.ZipInfo(name, date_time=(2024, 1, 1, 0, 0, 0))
    info.compress_type = method
    zf.writestr(info, data)


def make_book(template, out, name, author, maker, parts):
    """Writes the book `out`; parts is a list of (title, text) in reading order."""
    shutil.copyfile(template, out)
    with zipfile.ZipFile(out, "a") as zf:
        write_entry(zf, "META-INF/MANIFEST.MF", MANIFEST.replace("$$$", name).encode("utf-8"))
        write_entry(zf, "index.txt", index_bytes(author, maker, name, [t for t, _ in parts]))
        for i, (_, text) in enumerate(parts, 1):
            write_entry(zf, "%d.txt" % i, part_bytes(text))


def rewrite_book(source, out, replace=None, drop=()):
    """Copies a book entry by entry, replacing the data of some entries and leaving some
    out: how the tests damage a good book."""
    replace = replace or {}
    with zipfile.ZipFile(source) as src, zipfile.ZipFile(out, "w") as dst:
        for info in src.infolist():
            if info.filename in drop:
                continue
            data = replace.get(info.filename, None)
            write_entry(dst, info.filename, src.read(info) if data is None else data)
