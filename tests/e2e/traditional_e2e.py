#!/usr/bin/env python3
"""A Traditional Chinese novel in Big5 (3 MB, 120 回) becomes a correct book by default, by
chapters with --chapters, in Simplified Chinese with --convert t2s (phrases checked, not
only characters); --encoding is obeyed without a warning; a text of random bytes is made
into a book with a warning; bad names are bad usage.

usage: traditional_e2e.py --tool BOOKMAKER_CLI --work DIR [--emulator WINE_RUN]
"""
import os
import sys
import zipfile

import book_checks
import cli_book
import novels
import tool_check

TITLES = ["宴桃園豪傑三結義　斬黃巾英雄首立功", "張翼德怒鞭督郵　何國舅謀誅宦豎",
          "議溫明董卓叱丁原　餽金珠李肅說呂布"]
PARAGRAPHS = [
    "滾滾長江東逝水，浪花淘盡英雄。是非成敗轉頭空：青山依舊在，幾度夕陽紅。",
    "話說天下大勢，分久必合，合久必分。周末七國分爭，并入於秦。及秦滅之後，楚、漢分爭，又并入於漢。",
    "漢朝自高祖斬白蛇而起義，一統天下，後來光武中興，傳至獻帝，遂分為三國。",
    "推其致亂之由，殆始於桓、靈二帝。桓帝禁錮善類，崇信宦官。",
]
# Phrases whose conversion is not that of their characters, with what t2s makes of them.
PHRASES = [("頭髮", "头发"), ("發現", "发现"), ("乾燥", "干燥"), ("乾隆", "乾隆"), ("理髮", "理发"),
           ("計算機", "计算机"), ("瞭解", "了解"), ("鐘錶", "钟表"), ("後來", "后来"), ("一隻", "一只")]


def novel():
    """(text, titles): 120 回 of about 12000 characters each."""
    chapters, titles = [], []
    for n in range(1, 121):
        title = "第%s回　%s" % (novels.chinese_number(n), TITLES[n - 1] if n <= len(TITLES) else "群雄逐鹿第%d" % n)
        body = "".join("\u3000\u3000" + PARAGRAPHS[(n + k) % len(PARAGRAPHS)] * 3 + "\r\n" for k in range(110))
        if n == 1:
            body = "\u3000\u3000" + "、".join(p for p, _ in PHRASES) + "。\r\n" + body
        chapters.append(title + "\r\n" + body)
        titles.append(title)
    return "".join(chapters), titles


def index_titles(book):
    return book_checks.read_index(book).titles


def parts_text(book):
    with zipfile.ZipFile(book) as zf:
        names = sorted((n for n in zf.namelist() if n[:-4].isdigit() and n.endswith(".txt")), key=lambda n: int(n[:-4]))
        return "".join(zf.read(n).decode("utf-8") for n in names)


def main():
    args = tool_check.arguments()
    c = cli_book.Checker(args)
    template = os.path.join(args.work, "RDbook.dat")
    book_checks.make_template(template)
    text, titles = novel()
    source = os.path.join(args.work, "三國演義.txt")
    with open(source, "wb") as f:
        f.write(text.encode("big5"))
    c.expect(os.path.getsize(source) > 2_500_000, "the Big5 novel is %d bytes" % os.path.getsize(source))

    def build(label, *options):
        out = os.path.join(args.work, label + ".jar")
        code, stdout, err = c.cli("-n", "三國", "-t", c.host(template), "-o", c.host(out), *options)
        return code, stdout, err, out

    code, out, err, book = build("default", c.host(source))
    c.expect(code == 0 and "（Big5，" in out and "警告" not in err, "default: read as Big5, no warning (%s)" % out.strip()[:80])
    c.expect(code == 0 and parts_text(book) == text.replace("\r\n", "\n"), "default: the parts are the novel")

    code, out, err, book = build("chapters", "--chapters", c.host(source))
    c.expect(code == 0 and index_titles(book) == titles, "--chapters: the 120 回 are the parts")

    code, out, err, book = build("t2s", "--chapters", "--convert", "t2s", c.host(source))
    got = parts_text(book) if code == 0 else ""
    c.expect("（Big5，繁体转简体，" in out and "添加：三国演义" in out, "t2s: said on the source's line (%s)" % out.strip()[:80])
    for trad, simp in PHRASES:
        c.expect(simp in got, "t2s: %s → %s" % (trad, simp))
    c.expect(code == 0 and index_titles(book)[0] == "第一回　宴桃园豪杰三结义　斩黄巾英雄首立功"
             and len(index_titles(book)) == 120, "t2s: the chapter titles are converted")
    c.expect(book_checks.read_index(book).name == "三國", "t2s: the book's name stays as typed")

    code, out, err, book = build("given", "--encoding", "gbk", c.host(source))
    c.expect(code == 0 and "（GBK，" in out and "警告" not in err, "--encoding gbk: obeyed, no warning")

    noise = os.path.join(args.work, "乱码.txt")
    with open(noise, "wb") as f:
        f.write(open(os.path.join(os.path.dirname(__file__), "..", "fixtures", "traditional", "random-bytes.txt"), "rb").read())
    code, out, err, book = build("noise", c.host(noise))
    c.expect(code == 0 and os.path.isfile(book) and "像乱码" in err and c.host(noise) in err,
             "random bytes: made, with a warning naming the file (%s)" % err.strip()[:120])

    code, _, err, _ = build("badname", "--encoding", "big-5", c.host(source))
    c.expect(code == 2 and "编码无效" in err, "--encoding big-5: bad usage")
    code, _, err, _ = build("badconvert", "--convert", "x", c.host(source))
    c.expect(code == 2 and "繁简转换方式无效" in err, "--convert x: bad usage")

    code, out, err = c.cli("chapters", "--convert", "t2s", c.host(source))
    c.expect(code == 0 and "Big5，繁体转简体，120 部分" in out, "chapters: the encoding and the conversion listed")

    return tool_check.finish(c.failures)


if __name__ == "__main__":
    sys.exit(main())
