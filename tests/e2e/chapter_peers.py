"""The chapter detectors Chinese readers use most, re-implemented from their public sources
to measure ours beside them. Each takes the decoded text and returns the numbers (from 1)
of the lines where it starts a chapter; lines end at LF, CR LF or CR alone, as in
bookmaker-cli's numbering.

legado (gedoor/legado, the Android reader): its default local-TXT table-of-contents rules
(app/src/main/assets/defaultData/txtTocRule.json at 041bea23f360acc4197b761f42732d9d099e272a,
the enabled ones in their order) and its choice of rule (TextFile.kt, getTocRule at
020adf45ef7f9ee2b0c0b915936f29250ba5cd6a and later: every enabled rule, last first, counts
its matches more than 1000 characters apart in the first 512 KiB; the highest count of at
least 1 wins, an earlier rule on a tie). Java's regular expressions in MULTILINE mode: \\s
and \\d are ASCII, '.' and '$' stop at every line end. With no rule matching it cuts the text
into pieces of 10 KiB, which are counted here as its chapters.

kaf-cli (ystyle/kaf-cli, txt to EPUB/MOBI): its default chapter regex, volume regex and
exclusion (internal/model/book.go at b5b0eaca0074f3d689075b7d917bec3658ed1e70), applied as
its parser does (internal/core/parser.go at 390e60a323d9dd67c95254a10a9464a7eb119c8b): lines
split at LF, trimmed of white space, a line of at most 35 characters matching the chapter or
volume regex is a heading. Go's RE2: \\d and \\w are ASCII.
"""
import bisect
import re

NUMERALS = r"\d〇零一二两三四五六七八九十百千万壹贰叁肆伍陆柒捌玖拾佰仟"

# legado's enabled default rules, in the order of their serial numbers (ids -1, -2, -7,
# -8, -9, -10, -12, -14, -15, -19, -20). Rule -14's look-behind "(?<=[\s　]{0,4})" may match
# nothing and so constrains nothing; Python's re wants it fixed-width, so it is left out.
LEGADO_RULES = [
    ("目录(去空白)", r"(?<=[　\s])(?:序章|楔子|正文(?!完|结)|终章|后记|尾声|番外|第?\s{0,4}[" + NUMERALS +
     r"]+?\s{0,4}(?:章|节(?!课)|卷|集(?![合和]))).{0,30}$"),
    ("目录", r"^[ 　\t]{0,4}(?:序章|楔子|正文(?!完|结)|终章|后记|尾声|番外|第?\s{0,4}[" + NUMERALS +
     r"]+?\s{0,4}(?:章|节(?!课)|卷|集(?![合和])|部(?![分赛游])|篇(?!张))).{0,30}$"),
    ("数字 分隔符 标题名称", r"^[ 　\t]{0,4}\d{1,5}[:：,.， 、_—\-].{1,30}$"),
    ("大写数字 分隔符 标题名称", r"^[ 　\t]{0,4}(?:序章|楔子|正文(?!完|结)|终章|后记|尾声|番外|[" + NUMERALS[2:] +
     r"]{1,8})[ 、_—\-].{1,30}$"),
    ("正文 标题/序号", r"^[ 　\t]{0,4}正文[ 　]{1,4}.{0,20}$"),
    ("Chapter/Section/Part/Episode 序号 标题", r"^[ 　\t]{0,4}(?:[Cc]hapter|[Ss]ection|[Pp]art|ＰＡＲＴ|[Nn][oO]\.|"
     r"[Ee]pisode|(?:内容|文章)?简介|文案|前言|序章|楔子|正文(?!完|结)|终章|后记|尾声|番外)\s{0,4}\d{1,4}.{0,30}$"),
    ("特殊符号 序号 标题", r"(?<=[\s　])[【〔〖「『〈［\[](?:第|[Cc]hapter)[" + NUMERALS + r"]{1,10}[章节].{0,20}$"),
    ("特殊符号 标题(单个)", r"(?:[☆★✦✧].{1,30}|(?:内容|文章)?简介|文案|前言|序章|楔子|正文(?!完|结)|终章|后记|尾声|番外)[ 　]{0,4}$"),
    ("章/卷 序号 标题", r"^[ \t　]{0,4}(?:(?:内容|文章)?简介|文案|前言|序章|楔子|正文(?!完|结)|终章|后记|尾声|番外|[卷章][" +
     NUMERALS + r"]{1,8})[ 　]{0,4}.{0,30}$"),
    ("书名 括号 序号", r"^.{1,20}[(（][" + NUMERALS + r"]{1,8}[)）][ 　\t]{0,4}$"),
    ("书名 序号", r"^.{1,20}[" + NUMERALS + r"]{1,8}[ 　\t]{0,4}$"),
]
LEGADO_SAMPLE_BYTES = 512 * 1024
LEGADO_PIECE_BYTES = 10 * 1024

KAF_CHAPTER = (r"^第[0-9一二三四五六七八九十零〇百千两 ]+[章回节集幕卷部]|^[Ss]ection.{1,20}$|^[Cc]hapter.{1,20}$|"
               r"^[Pp]age.{1,20}$|^\d{1,4}$|^\d+、$|^引子$|^楔子$|^章节目录|^章节|^序章|^最终章 \w{1,20}$|"
               r"^番外\d?\w{0,20}|^完本感言.{0,4}$")
KAF_VOLUME = r"^第[0-9一二三四五六七八九十零〇百千两 ]+[卷部]"
KAF_EXCLUSION = r"^第[0-9一二三四五六七八九十零〇百千两 ]+(部门|部队|部属|部分|部件|部落|部.*：$)"
KAF_MAX_TITLE = 35


def one_line_end(text):
    """The text with every line end (CR LF, CR, LF) as LF: line numbers stay."""
    return re.sub(r"\r\n?", "\n", text)


def line_of(starts, offset):
    return bisect.bisect_right(starts, offset)


def line_starts(text):
    return [0] + [m.end() for m in re.finditer(r"\n", text)]


def legado(text, encoding):
    """(rule name or None, lines where chapters start)."""
    text = one_line_end(text)
    sample = text.encode(encoding, "replace")[:LEGADO_SAMPLE_BYTES].decode(encoding, "ignore")
    chosen, best = None, 1
    for name, rule in reversed(LEGADO_RULES):
        pattern = re.compile(rule, re.MULTILINE | re.ASCII)
        start, count = 0, 0
        for m in pattern.finditer(sample):
            if start == 0 or m.start() - start > 1000:
                count += 1
                start = m.end()
        if count >= best:
            best, chosen = count, (name, pattern)
    starts = line_starts(text)
    if chosen is None:
        # No rule: pieces of 10 KiB, each cut at the next LF.
        data = text.encode(encoding, "replace")
        lines, at = [], 0
        while at < len(data):
            lines.append(data[:at].count(b"\n") + 1)
            end = data.find(b"\n", at + LEGADO_PIECE_BYTES)
            at = len(data) if end < 0 else end + 1
        return None, lines
    name, pattern = chosen
    return name, sorted({line_of(starts, m.start()) for m in pattern.finditer(text)})


def kaf_cli(text, encoding):
    """Lines where chapters start. A UTF-8 file's byte-order mark stays in its first line."""
    chapter = re.compile(KAF_CHAPTER, re.ASCII)
    volume = re.compile(KAF_VOLUME, re.ASCII)
    exclusion = re.compile(KAF_EXCLUSION, re.ASCII)
    if encoding == "utf-8-sig":
        text = "\ufeff" + text
    ours = line_starts(one_line_end(text))
    # Offsets of kaf-cli's lines (split at LF only) in the text with one line end each.
    normalized_offset = 0
    lines = []
    for raw in text.split("\n"):
        line = raw.strip()
        if line and len(line) <= KAF_MAX_TITLE and (chapter.search(line) or volume.search(line)) \
                and not exclusion.search(line):
            lines.append(line_of(ours, normalized_offset))
        normalized_offset += len(one_line_end(raw + "\n"))
    return lines
