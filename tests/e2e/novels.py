"""Novels shaped like the ones users download, written here, with the chapter titles a
reader expects from each: a 120-回 novel with "正文" prefixes and update-time lines, one
with 楔子 and 第01回 numbering, one with a table of contents, and a large one with volume
headings, a preface, a chapter longer than a part and headings mentioned inside paragraphs.

Each function returns (text, titles): the text with CR LF line ends and the titles of the
book's parts when it is split by chapters with the given source title.
"""

import itertools

DIGITS = "零一二三四五六七八九"

# The 3755 characters of GB2312's first level, and the running sums of 1/rank over them.
LEVEL_ONE = [bytes([a, b]).decode("gbk") for a in range(0xB0, 0xD8) for b in range(0xA1, 0xFF)
             if not (a == 0xD7 and b > 0xF9)]
RANKED = list(itertools.accumulate(1 / rank for rank in range(1, len(LEVEL_ONE) + 1)))


def ranked_text(rnd, length):
    """length characters of GB2312's first level, each drawn as often as its rank says (the
    first twice as often as the second, ...): text that deflates about as a novel does, a
    part of 150000 characters to about 250 KB."""
    return "".join(rnd.choices(LEVEL_ONE, cum_weights=RANKED, k=length))


def chinese_number(n):
    """1 一, 10 十, 11 十一, 20 二十, 105 一百零五, 120 一百二十."""
    if n < 10:
        return DIGITS[n]
    if n < 20:
        return "十" + (DIGITS[n % 10] if n % 10 else "")
    if n < 100:
        return DIGITS[n // 10] + "十" + (DIGITS[n % 10] if n % 10 else "")
    rest = n % 100
    text = DIGITS[n // 100] + "百"
    if rest == 0:
        return text
    if rest < 10:
        return text + "零" + DIGITS[rest]
    if rest < 20:
        return text + "一十" + (DIGITS[rest % 10] if rest % 10 else "")
    return text + chinese_number(rest)


SENTENCES = [
    "话说天下大势，分久必合，合久必分。",
    "却说那人听了，半晌不语，只把眼睛望着窗外。",
    "次日天明，众人收拾行装，出城往东而去。",
    "一路上山高水远，风雨兼程，不在话下。",
    "他付了 5.50 元，又问店家讨了一碗热茶。",
]


def paragraphs(seed, count):
    lines = []
    for i in range(count):
        lines.append("\u3000\u3000" + "".join(SENTENCES[(seed + i + k) % len(SENTENCES)] for k in range(3)))
    return "\r\n".join(lines) + "\r\n"


def web_novel_120():
    """正文 prefixes on every heading and an update-time line after each."""
    text = "《青禾演义》\r\n本书来自网络，仅供试读。\r\n\r\n"
    titles = ["青禾演义"]
    for n in range(1, 121):
        heading = "第%s回 回目%d" % (chinese_number(n), n)
        text += "正文 " + heading + "\r\n"
        text += "更新时间:2007-11-16 7:55:51 本章字数:%d\r\n" % (4000 + n)
        text += paragraphs(n, 3)
        titles.append("正文 " + heading)
    return text, titles


def wedge_and_zeros():
    """楔子 first, chapters numbered 第01回, an epilogue."""
    text = "楔子\r\n" + paragraphs(0, 2)
    titles = ["楔子"]
    for n in range(1, 13):
        heading = "第%02d回　雨夜%d" % (n, n)
        text += heading + "\r\n" + paragraphs(n, 2)
        titles.append(heading)
    text += "尾声\r\n" + paragraphs(3, 1)
    titles.append("尾声")
    return text, titles


def with_contents():
    """A table of contents at the top lists every heading once; it stays text of the first part."""
    headings = ["第%s章 山河%d" % (chinese_number(n), n) for n in range(1, 21)]
    text = "目录\r\n" + "".join(h + "\r\n" for h in headings) + "\r\n"
    titles = ["目录书"]
    for n, heading in enumerate(headings, 1):
        text += heading + "\r\n" + paragraphs(n, 2)
        titles.append(heading)
    return text, titles


def large_novel(part_units=150000):
    """About 3 MB in GBK: a preface, volume headings joined to their first chapter, 120
    chapters, one of them longer than a part, and two paragraphs that mention a chapter."""
    text = "前言\r\n" + paragraphs(7, 4)
    titles = ["前言"]
    for n in range(1, 121):
        heading = "第%s章 风起%d" % (chinese_number(n), n)
        title = heading
        if n % 30 == 1:
            volume = "第%s卷 卷名%d" % (chinese_number(n // 30 + 1), n // 30 + 1)
            text += volume + "\r\n\r\n"
            title = volume + " " + heading
        text += heading + "\r\n"
        body = paragraphs(n, 200 if n != 77 else 3000)
        if n == 5:
            body += "\u3000\u3000第一章说的是他小时候的事，那年下着雨。\r\n"
        if n == 9:
            body += "他翻到第三章。\r\n"
        text += body
        if n == 77:
            units = len((heading + "\r\n" + body).encode("utf-16-le")) // 2
            count = -(-units // part_units)
            titles += ["%s(%d)" % (title, i) for i in range(1, count + 1)]
        else:
            titles.append(title)
    return text, titles


def big_gbk_novel(megabytes=30, chapter_chars=5000, seed=30):
    """About `megabytes` MB of GBK: chapters "第N章 标题N" of chapter_chars characters in
    paragraphs of 100 (a 30 MB novel has about 3000 chapters). Returns (bytes, titles)."""
    import random
    rnd = random.Random(seed)
    # One pool of paragraphs, drawn from in turn: the text deflates as a novel does and
    # is made in seconds.
    pool = ["\u3000\u3000" + ranked_text(rnd, 100) + "\r\n" for _ in range(2000)]
    chunks, titles, size, n = [], [], 0, 0
    while size < megabytes * 1000 * 1000:
        n += 1
        heading = "第%d章 标题%d" % (n, n)
        body = "".join(pool[(n * 7 + i) % len(pool)] for i in range(chapter_chars // 100))
        chunk = (heading + "\r\n" + body).encode("gbk")
        chunks.append(chunk)
        titles.append(heading)
        size += len(chunk)
    return b"".join(chunks), titles
