#!/usr/bin/env python3
"""Makes the books the reader's harness tests run on.

Usage: make_books.py BOOKMAKER_CLI TEMPLATE OUTDIR
Good books are made by bookmaker-cli (book.make_book); huge.jar is one of them with its first
part replaced by one far larger than the tool writes; the damaged ones are copies of a good
book with one defect each, named after it.
"""
import os
import random
import tempfile
import zipfile
import sys

from book import index_bytes, make_book, make_book_by_chapters, part_bytes, rewrite_book, run_tool

AUTHOR = "青禾电子书工作室"
MAKER = "青禾"

SENTENCES = [
    "海风从北面吹来，带着咸味和远处渔船的柴油气。",
    "灯塔的石阶一共有一百二十七级，他每天傍晚数一遍。",
    "「今晚会起雾吗？」女孩问。",
    "他没有回答，只是把煤油灯往窗边挪了挪。",
    "雾来的时候，整座岛安静得像一张白纸。",
    "码头上的木板被潮水泡得发黑，踩上去吱呀作响。",
    "他记得父亲说过：灯一旦亮起，就不能让它熄灭。",
    "远处传来汽笛声，一声长，两声短。",
    "女孩把信折成小方块，塞进了铁皮盒子里……",
    "第二天早上，天晴了，海面上铺满了碎金一样的光。",
    "“你看，那就是我们的船！”她指着海平线喊道。",
    "他们沿着礁石走了很久——久到影子都变短了。",
    "灯室里的玻璃要用旧报纸擦，才不会留下水痕。",
    "岛上只有一口井、一棵老榕树和一只不怎么抓老鼠的猫。",
    "冬天的夜很长，他就着灯光读那本翻烂了的航海日志。",
]


def paragraphs(rng, count, indent="　　"):
    out = []
    for _ in range(count):
        n = rng.randint(1, 6)
        out.append(indent + "".join(rng.choice(SENTENCES) for _ in range(n)))
    return "\n".join(out) + "\n"


def novel_parts():
    rng = random.Random(7)
    mixed = (
        "He said, \"The light must never go out.\" 灯塔的编号是 No.42，灯光每 15 秒闪一次。\n"
        "The keeper's log reads: calm sea, light wind, visibility good; 能见度良好。\n"
        "Supercalifragilisticexpialidocious-and-then-some-more-letters-to-overflow-any-line 之后还有中文。\n"
        "网址 https://www.qinghe.example/books/lighthouse/chapter-two/appendix-with-a-long-path 结束。\n"
        "Mixed words like café, naïve, Ελληνικά and русский текст wrap as words too.\n"
        + "word " * 60 + "\n"
    )
    odd = (
        "制表符\t之后，\t再一个。\n"
        "Windows line\r\nend, a lone CR\rhere, and CR CR LF\r\r\nthere.\n"
        "超出基本平面的字：𠀀、😀，控制字符：\x01\x7f，中间的标记：\ufeff，替换符：\ufffd。\n"
        "\n\n"
        "两个空格  之间，三个空格   之间，行尾空格   \n"
        + "。" * 40 + "\n"
        + "「" * 20 + "引号" + "」" * 20 + "\n"
        + "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789" * 2 + "\n"
        + "最后一行没有换行符"
    )
    # Titles are file names for the tool, and a file whose title would be empty is skipped.
    return [
        ("第一章 海边的小屋", paragraphs(rng, 12)),
        ("第二章 Signals and letters", mixed),
        ("第三章 奇怪的字符", odd),
        ("第四章（空白）", ""),
        ("第五章 一个字\U0001F600", "x"),
        ("第六章 长夜", paragraphs(rng, 120)),
        ("尾声", "最后的一部分。\n"),
    ]


# What a line must not be cut inside; the harness finds them in the text by its own pattern.
KEPT_WHOLE = [
    "5.50", "1,000,000", "3.14159", "12:30", "75%", "６０％",
    "bookmaker@qinghe.example", "www.qinghe.example", "https://www.qinghe.example/books/a.txt",
]


def numbers_text():
    """Each of KEPT_WHOLE after 0 to 24 ideographs, once after a space and once without, so
    that on every screen and in every font some of them meet the end of a line."""
    filler = "海风从北面吹来带着咸味和远处渔船的柴油气灯塔的石阶一共有一百二十七级"
    lines = ["他付了 5.50 元，找回 1,000 元中的零头。"]
    for case in KEPT_WHOLE:
        for k in range(25):
            lines.append(filler[:k] + " " + case + " 之后。")
            lines.append(filler[:k] + case + "之后。")
    lines.append("\u3000" * 60 + "一行全角空格。")
    return "\n".join(lines) + "\n"


def make_good(tool, template, out):
    def book(path, name, author, maker, parts, titles=None):
        """Makes a book with the tool; its titles must be `titles`, by default the parts' own."""
        made_titles = make_book(tool, template, path, name, author, maker, parts)
        expected = titles or [t for t, _ in parts]
        if made_titles != expected:
            raise RuntimeError("%s: titles %r, expected %r" % (path, made_titles, expected))

    made = {}
    path = os.path.join(out, "novel.jar")
    book(path, "灯塔守望人", AUTHOR, MAKER, novel_parts())
    made["novel"] = path

    # The same book as an older builder made it: no part lengths after the index's titles.
    path = os.path.join(out, "novel-older.jar")
    with zipfile.ZipFile(made["novel"]) as zf:
        index = zf.read("index.txt")
    text = index[2:].decode("utf-16-le")
    rewrite_book(made["novel"], path, replace={"index.txt": index[:2] + text[:text.index("\0") + 1].encode("utf-16-le")})
    made["novel-older"] = path

    rng = random.Random(11)
    many = [("第%d节" % i, "这是第%d节。" % i + paragraphs(rng, rng.randint(0, 2))) for i in range(1, 301)]
    path = os.path.join(out, "many.jar")
    book(path, "三百节", "", "", many)
    made["many"] = path

    rng = random.Random(13)
    text = ""
    while len(text.encode("utf-8")) < 450 * 1024:
        text += paragraphs(rng, 50)
    # Over 150000 UTF-16 units: the tool cuts it, and 全文(1) is a part of the largest size.
    path = os.path.join(out, "big.jar")
    book(path, "很长的一部分", AUTHOR, MAKER, [("全文", text), ("后记", "完。\n")], ["全文(1)", "全文(2)", "后记"])
    made["big"] = path

    # A part far beyond a phone's heap: the reader must never hold a part whole. Its last
    # paragraph is one the tests look for on the last page. The tool cuts texts into parts
    # of at most 150000 UTF-16 units, so this part replaces the first of a book it made.
    rng = random.Random(17)
    pieces = []
    size = 0
    while size < 16 * 1024 * 1024:
        pieces.append(paragraphs(rng, 200))
        size += len(pieces[-1].encode("utf-8"))
    path = os.path.join(out, "huge.jar")
    made_by_tool = os.path.join(out, "huge-by-tool.jar")
    book(made_by_tool, "超长的书", AUTHOR, MAKER, [("正文", "全书完。"), ("附录", "附录。\n")])
    rewrite_book(made_by_tool, path, replace={"1.txt": part_bytes("".join(pieces) + "全书完。")})
    os.remove(made_by_tool)
    made["huge"] = path

    path = os.path.join(out, "numbers.jar")
    book(path, "数字与网址", AUTHOR, MAKER, [("数字与网址", numbers_text())])
    made["numbers"] = path

    # A web novel of 3000 short chapters, split by the tool: the contents list must fit a
    # phone's heap.
    rng = random.Random(19)
    words = ["海风", "灯塔", "渔船", "石阶", "浓雾", "码头", "木板", "汽笛", "铁盒", "礁石", "老榕树", "航海日志"]
    titles = ["第%d章 %s" % (i, "".join(rng.sample(words, rng.randint(1, 3)))) for i in range(1, 3001)]
    text = "".join(t + "\n" + paragraphs(rng, 1) for t in titles)
    path = os.path.join(out, "chapters.jar")
    made_titles = make_book_by_chapters(tool, template, path, "三千章", text)
    if made_titles != titles:
        raise RuntimeError("%s: %d titles, not the 3000 chapters" % (path, len(made_titles)))
    made["chapters"] = path

    # A part of only spaces and line ends, then one with text.
    path = os.path.join(out, "blank.jar")
    book(path, "空白的书", AUTHOR, MAKER, [("空白", "\u3000\u3000  \n\n  \n"), ("正文", "有字的一部分。\n")])
    made["blank"] = path

    # Parts of 1 to 40 short lines, each ended by blank lines: on some screen and font each
    # count fills its last page exactly, and the blank lines must not make a page.
    path = os.path.join(out, "trailing.jar")
    book(path, "空行结尾", AUTHOR, MAKER,
         [("第%d段" % k, "".join("第%d段第%d行\n" % (k, i) for i in range(1, k + 1)) + "\n\u3000\u3000\n  \n")
          for k in range(1, 41)])
    made["trailing"] = path

    # Titles numbered as chapters in several ways, after a front part: 章节号 counts the
    # chapters, not the parts.
    path = os.path.join(out, "numbered.jar")
    numbered = ["前言", "第1章 起", "第2章 承", "第三回 转", "第十二章 合", "第一百零五节 末", "后记"]
    book(path, "编号的书", AUTHOR, MAKER, [(t, t + "\n正文。\n") for t in numbered])
    made["numbered"] = path

    # Three volumes of one book (卷(1).jar, 卷(2).jar, 卷(3).jar), made by --max-size.
    rng = random.Random(23)
    # Random ideographs pack poorly, so that each volume holds a few chapters.
    chapters = [("第%d章" % i, "第%d章\n" % i + "".join(
        "".join(chr(rng.randint(0x4E00, 0x9FA5)) for _ in range(30)) + "\n" for _ in range(50)))
        for i in range(1, 13)]
    with tempfile.TemporaryDirectory(prefix="book-sources-") as tmp:
        files = []
        for i, (title, text) in enumerate(chapters, 1):
            os.mkdir(os.path.join(tmp, str(i)))
            files.append(os.path.join(tmp, str(i), title + ".txt"))
            with open(files[-1], "wb") as f:
                f.write(text.encode("utf-8"))
        run_tool(tool, template, os.path.join(out, "卷.jar"), "卷", AUTHOR, MAKER, files, tmp,
                 ["--max-size", str(os.path.getsize(template) + 14 * 1024)])
    if not os.path.exists(os.path.join(out, "卷(3).jar")) or os.path.exists(os.path.join(out, "卷(4).jar")):
        raise RuntimeError("the volumes are not three: %s" % sorted(os.listdir(out)))

    path = os.path.join(out, "small.jar")
    book(path, "小书", AUTHOR, MAKER,
         [("甲", "第一部分的文字。\n"), ("乙", "第二部分的文字。\n"), ("丙", "第三部分。\n")])
    made["small"] = path
    return made


def make_damaged(small, out):
    """One defect per book; the harness tests expect the reader's alert for each."""
    good_text = "第一部分的文字。\n".encode("utf-8")
    damaged = {
        "no-index": dict(drop=("index.txt",)),
        "index-empty": dict(replace={"index.txt": b""}),
        "index-no-mark": dict(replace={"index.txt": "作者\r\n青禾\r\n书\r\n甲\r\n".encode("utf-8")}),
        "index-big-endian": dict(replace={"index.txt": b"\xfe\xff" + "作者\r\n青禾\r\n书\r\n甲\r\n\0".encode("utf-16-be")}),
        "index-odd-length": dict(replace={"index.txt": index_bytes(AUTHOR, MAKER, "小书", ["甲"]) + b"\x41"}),
        "index-two-lines": dict(replace={"index.txt": b"\xff\xfe" + "作者\r\n青禾\r\n\0".encode("utf-16-le")}),
        "index-no-titles": dict(replace={"index.txt": index_bytes(AUTHOR, MAKER, "小书", [])}),
        "missing-part": dict(drop=("2.txt",)),
        "truncated-utf8": dict(replace={"1.txt": good_text + b"\xe4\xb8"}),
        "malformed-utf8": dict(replace={"1.txt": good_text + b"a\xc0\xafb\xffc\xed\xa0\x80d\xe4\xb8e\n"}),
    }
    for name, change in damaged.items():
        rewrite_book(small, os.path.join(out, name + ".jar"), **change)


def main(tool, template, out):
    os.makedirs(out, exist_ok=True)
    made = make_good(tool, template, out)
    make_damaged(made["small"], out)


if __name__ == "__main__":
    main(sys.argv[1], sys.argv[2], sys.argv[3])
