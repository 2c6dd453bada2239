#!/usr/bin/env python3
"""End to end through the real BookMaker.exe under Wine: bookmaker_driver.exe fills the
fields, adds a GBK file through the file dialog and typed content through the add-content
dialog, generates the book in a working folder whose name holds a blank and a comma, and
sees the file manager open on it; then again with 工具 > 按章节拆分 turned on, adding a novel
that becomes one entry per chapter (the switch is turned off again before the program
ends, as it is remembered). Then readers nobody here wrote check each book
(book_checks.py): unzip -t, 7z t, Python's zipfile (every CRC; here also the index and each
part decoded and compared) and Java's JarFile (the manifest). Then volumes: 工具 > 分卷大小 >
300 KB chosen and a long GBK novel generated gives 书名(1).jar ... within 300 KB with their
JADs; the next start remembers the size (the registry holds it) and makes the volumes
again, and 不分卷 chosen at the end leaves the registry as it was found. Last, a 30 MB GBK
novel by chapters: while it is added the driver clicks the window, which must answer at
once, refuse every command and keep its list until the whole novel is in; a build of it is
cancelled in its progress window (packed 最小, so that a picture of the screen is taken
while it works) and writes nothing; then it is built, and the window's line says what was written.
Then the window for long books: two files chosen at once, the window grown and maximised,
the output folder chosen in the folder chooser; and the novel in 100 KB volumes rebuilt in
300 KB ones, hundreds of older files removed without a box.

usage: gui_e2e.py --driver DRIVER.exe --emulator WINE_RUN --work DIR
                  (--program BookMaker.exe [--template RDbook.dat] | --package BookMaker.zip)

With --package the zip is unpacked into a fresh folder and everything runs from there: the
program, its RDbook.dat, readme.txt (opened from the help menu: Notepad must show its first
line, so the mark is read) and bookmaker-cli.exe. Without --template the test makes
a small template of its own.
"""
import argparse
import os
import random
import shutil
import subprocess
import sys
import time
import zipfile

import book_checks
import novels

BOOK_NAME = "三国 演义,上"
AUTHOR = "罗贯中"
MAKER = "青禾网"
FILE_TITLE = "第一回"
FILE_BYTES = "第一回　宴桃园豪杰三结义\r\n滚滚长江东逝水".encode("gbk")
CONTENT_TITLE = "序言"
CONTENT_TEXT = "话说天下大势，分久必合，合久必分。\\n周末七国分争，并入于秦。"
NOVEL_TITLE = "三国演义"
NOVEL_CHAPTERS = [("楔子", "楔子\r\n滚滚长江东逝水，浪花淘尽英雄。\r\n"),
                  ("第一回　宴桃园豪杰三结义", "第一回　宴桃园豪杰三结义\r\n话说天下大势。\r\n"),
                  ("第二回　张翼德怒鞭督邮", "第二回　张翼德怒鞭督邮\r\n且说董卓字仲颖。")]

def wine_path(path):
    return "Z:" + os.path.abspath(path).replace("/", "\\")


def fail(message):
    print("gui_e2e: " + message)
    sys.exit(1)


def run_driver(args, program, folder, scratch, source_title, source_bytes, items_wanted=None, help_line=None,
               chapters=False, name=BOOK_NAME, extra="", screenshot=None, files=None, book_folder=None,
               maximised_shot=None, check_file_manager=True):
    source = os.path.join(scratch, source_title + ".txt")
    with open(source, "wb") as f:
        f.write(source_bytes)
    chosen = "|".join(wine_path(path) for path in files) if files else wine_path(source)
    scenario = os.path.join(scratch, "scenario.txt")
    with open(scenario, "w", encoding="utf-8") as f:
        f.write(f"name={name}\nauthor={AUTHOR}\nmaker={MAKER}\nfile={chosen}\n"
                f"title={CONTENT_TITLE}\ntext={CONTENT_TEXT}\nhelp={int(help_line is not None)}\n"
                f"chapters={int(chapters)}\n{extra}")
    env = dict(os.environ)
    mark = os.path.join(scratch, "progress-shot.mark")
    if screenshot:
        env["BOOKMAKER_PROGRESS_SHOT"] = wine_path(mark)
    max_mark = os.path.join(scratch, "maximised-shot.mark")
    if maximised_shot:
        env["BOOKMAKER_MAXIMISED_SHOT"] = wine_path(max_mark)
    # Its output goes to a file: a pipe nobody reads while waiting for the mark would stop it.
    output = os.path.join(scratch, "driver-output.txt")
    with open(output, "wb") as sink:
        driver = subprocess.Popen([args.emulator, args.driver, wine_path(program), wine_path(folder),
                                   wine_path(scenario)], stdout=sink, stderr=subprocess.DEVNULL, env=env)
    if maximised_shot:
        for _ in range(6000):
            if os.path.exists(max_mark) or driver.poll() is not None:
                break
            time.sleep(0.02)
        if os.path.exists(max_mark):
            time.sleep(0.5)
            subprocess.run(["import", "-window", "root", maximised_shot], timeout=60)
            os.remove(max_mark)
    if screenshot:
        # The driver marks the moment its progress window is up; the picture is taken then.
        for _ in range(6000):
            if os.path.exists(mark) or driver.poll() is not None:
                break
            time.sleep(0.02)
        if os.path.exists(mark):
            subprocess.run(["import", "-window", "root", screenshot], timeout=60)
            os.remove(mark)
    driver.wait(timeout=300)
    with open(output, "rb") as f:
        result = subprocess.CompletedProcess(driver.args, driver.returncode, f.read())
    out = result.stdout.decode("utf-8", "replace").replace("\r", "")
    print("\n".join(line for line in out.splitlines() if not line.startswith("item=")))
    if result.returncode != 0:
        fail("the driver failed")
    seen = [line.split("=", 1) for line in out.splitlines() if "=" in line]
    items = [v for k, v in seen if k == "item"]
    if items_wanted is not None and items != items_wanted:
        fail(f"list shows {items}, not {items_wanted}")
    if items_wanted is None and (items[-1] != CONTENT_TITLE or not items[0].startswith(source_title)):
        fail(f"list shows {items}")
    if check_file_manager and ("file_manager", os.path.basename(book_folder or folder)) not in [tuple(s) for s in seen]:
        fail("the file manager did not open on the book's folder")
    if help_line is not None and ("help_first_line", help_line) not in [tuple(s) for s in seen]:
        fail("Notepad does not show readme.txt's first line")
    return dict(seen)


def run_busy(args, program, folder, scratch):
    data, titles = novels.big_gbk_novel()
    name = "大部头"
    shot = os.path.join(args.work, "progress-mid-build.png")
    seen = run_driver(args, program, folder, scratch, name, data, titles + [CONTENT_TITLE], chapters=True,
                      name=name, screenshot=shot,
                      extra=f"busy=1\ncancel=1\ncompression={IDM_COMPRESSION_SMALL}\nafter={IDM_COMPRESSION_NORMAL}\n")
    if int(seen.get("busy_probes", "0")) < 1:
        fail("the adding ended before the window could be clicked")
    if seen.get("busy_unanswered") != "0" or seen.get("busy_list_changed") != "0" or "busy_opened" in seen:
        fail("while adding, the window did not answer or carried out a command")
    if seen.get("cancelled_line") != "已取消生成：没有写入任何文件，原有的电子书保持原样。":
        fail(f"after 取消 the window says {seen.get('cancelled_line')!r}")
    if not seen.get("progress_text", "").startswith("正在写入：" + name + ".jar"):
        fail(f"the progress window says {seen.get('progress_text')!r}")
    jar = os.path.join(folder, name + ".jar")
    line = seen.get("result_line", "")
    if not line.startswith(f"已生成 {name}.jar（") or "超过 1 MB 的 jar 有些手机装不下" not in line:
        fail(f"after the build the window says {line!r}")
    if subprocess.run(["unzip", "-tqq", jar]).returncode != 0:
        fail("unzip -t rejects " + jar)
    if not os.path.exists(shot):
        fail("no picture of the progress window")
    print(f"gui_e2e: {len(data)} bytes by chapters added in {seen['add_ms']} ms while the window answered "
          f"{seen['busy_probes']} rounds of clicks; the cancelled build ended {seen['cancel_ms']} ms after 取消 "
          f"and wrote nothing; picture {shot}")
    os.remove(jar)


IDM_VOLUME_NONE = 32779
IDM_VOLUME_100K = 32780
IDM_VOLUME_300K = 32781
IDM_OUTPUT_DEFAULT = 32831
IDM_COMPRESSION_NORMAL = 32786
IDM_COMPRESSION_SMALL = 32787
VOLUMES_NAME = "长篇"


def long_novel():
    """About 1 MB of GBK (novels.ranked_text): four parts of 150000 characters, each about
    250 KB deflated, one part a volume of 300 KB."""
    rnd = random.Random(3)
    lines = ["\u3000\u3000" + novels.ranked_text(rnd, 200) for _ in range(2500)]
    return ("\r\n".join(lines) + "\r\n").encode("gbk")


def registry_value(args, name, delete=False):
    """A value the program keeps in the registry (MaxJarSize, Compression); with delete, it
    is removed."""
    command = ["delete", "/f"] if delete else ["query"]
    r = subprocess.run([args.emulator, "reg", command[0], "HKCU\\Software\\BookMaker", "/v", name]
                       + command[1:], stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, timeout=60)
    if r.returncode != 0:
        return None
    try:
        text = r.stdout.decode("utf-8")
    except UnicodeDecodeError:
        text = r.stdout.decode("gbk", "replace")  # reg writes to a pipe in the console's code page
    for line in text.splitlines():
        words = line.split(None, 2)
        if len(words) >= 2 and words[0] == name:
            return words[2].strip() if len(words) == 3 else ""  # an empty text has no third word
    return None


def check_volumes(folder, name, count):
    for i in range(1, count + 1):
        jar = os.path.join(folder, "%s(%d).jar" % (name, i))
        if not os.path.exists(jar):
            fail(f"no volume {jar}")
        size = os.path.getsize(jar)
        if size > 300 * 1024:
            fail(f"{jar} has {size} bytes")
        if subprocess.run(["unzip", "-tqq", jar]).returncode != 0:
            fail("unzip -t rejects " + jar)
        with open(jar[:-4] + ".jad", encoding="utf-8", newline="") as f:
            jad = f.read()
        if "MIDlet-Jar-Size: %d\r\n" % size not in jad or "MIDlet-Name: %s(%d)\r\n" % (name, i) not in jad:
            fail(f"the JAD of {jar} says {jad!r}")
    if os.path.exists(os.path.join(folder, "%s(%d).jar" % (name, count + 1))):
        fail(f"more than {count} volumes")


def run_volumes(args, program, folder, scratch, template):
    novel = long_novel()
    count = 4  # four parts of 150000 characters, the typed content joins the last
    for name in ("MaxJarSize", "Compression"):
        registry_value(args, name, delete=True)  # what a run that failed half way left
    # 最小 chosen too: the volumes are packed smaller and the choice is kept.
    run_driver(args, program, folder, scratch, name=VOLUMES_NAME, source_title=VOLUMES_NAME, source_bytes=novel,
               extra=f"volume={IDM_VOLUME_300K}\ncompression={IDM_COMPRESSION_SMALL}\nexpect={VOLUMES_NAME}(1).jar\n")
    check_volumes(folder, VOLUMES_NAME, count)
    small = os.path.getsize(os.path.join(folder, "%s(1).jar" % VOLUMES_NAME))
    if registry_value(args, "MaxJarSize") != "307200":
        fail(f"the registry holds {registry_value(args, 'MaxJarSize')} for the volume size")
    if registry_value(args, "Compression") != "small":
        fail(f"the registry holds {registry_value(args, 'Compression')} for the compression")
    registry_value(args, "Compression", delete=True)
    for i in range(1, count + 1):
        os.remove(os.path.join(folder, "%s(%d).jar" % (VOLUMES_NAME, i)))
    # The next start remembers 300 KB; 不分卷 chosen at the end puts the registry back.
    run_driver(args, program, folder, scratch, name=VOLUMES_NAME, source_title=VOLUMES_NAME, source_bytes=novel,
               extra=f"expect={VOLUMES_NAME}(1).jar\nafter={IDM_VOLUME_NONE}\n")
    check_volumes(folder, VOLUMES_NAME, count)
    normal = os.path.getsize(os.path.join(folder, "%s(1).jar" % VOLUMES_NAME))
    if not small < normal:
        fail(f"a volume packed 最小 has {small} bytes, 标准 {normal}")
    if registry_value(args, "MaxJarSize") != "0":
        fail(f"the registry holds {registry_value(args, 'MaxJarSize')} for the volume size after 不分卷")


def run_window(args, program, folder, scratch):
    """Two files chosen at once in the file dialog (added in name order), the window made
    larger and maximised (the list takes the room), and 工具 > 输出文件夹 chosen in the
    folder chooser: the book goes there and the settings line says so; 默认 at the end."""
    for name in ("OutputFolder", "LastFolder", "WindowPlace"):
        registry_value(args, name, delete=True)
    chapters = os.path.join(scratch, "章节")
    os.makedirs(chapters, exist_ok=True)
    files = []
    for title in ("第10章", "第2章"):
        path = os.path.join(chapters, title + ".txt")
        with open(path, "wb") as f:
            f.write((title + "\r\n正文").encode("gbk"))
        files.append(path)
    out = os.path.join(folder, "输出")
    os.makedirs(out, exist_ok=True)
    shot = os.path.join(args.work, "main-window-maximised.png")
    # The chooser opens on the working folder and goes into 输出 (Windows); Wine's chooser
    # opens on the desktop and takes the first folder there. Either way the book must be in
    # the folder chosen, which the program remembers and the settings line names.
    # A name of this run's own: under Wine the book may land on the desktop, where a book of
    # an earlier run may still be held open by the desktop's shell.
    name = f"窗口{os.getpid()}"
    seen = run_driver(args, program, folder, scratch, "unused", b"", ["第2章", "第10章", CONTENT_TITLE],
                      files=files, book_folder=None, maximised_shot=shot, check_file_manager=False, name=name,
                      extra=f"resize=1\noutput=1\nafter={IDM_OUTPUT_DEFAULT}\n")
    chosen = seen.get("output_folder", "")
    unix = subprocess.run([args.emulator, "winepath", "-u", chosen],
                          stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, timeout=60).stdout.decode().strip()
    book = os.path.join(unix, name + ".jar")
    size = lambda key: tuple(int(v) for v in seen.get(key, "0x0").split("x"))
    start, grown, maximised = size("list_size"), size("list_grown"), size("list_maximised")
    if grown != (start[0] + 200, start[1] + 150) or not (maximised[0] > grown[0] and maximised[1] > grown[1]):
        fail(f"the list was {start}, {grown} after growing the window, {maximised} maximised")
    if seen.get("list_caption") != "共 3 项":
        fail(f"the list's caption is {seen.get('list_caption')!r}")
    if "输出到 " not in seen.get("settings_line", ""):
        fail(f"the settings line says {seen.get('settings_line')!r}")
    if not chosen or os.path.normpath(unix) == os.path.normpath(folder) or not os.path.exists(book):
        fail(f"the book is not in the output folder chosen, {chosen!r} ({unix})")
    if seen.get("file_manager") != os.path.basename(unix.rstrip("/")):
        fail("the file manager did not open on the output folder")
    os.remove(book)
    os.remove(book[:-4] + ".jad")
    if registry_value(args, "LastFolder") != wine_path(chapters):
        fail(f"the registry holds {registry_value(args, 'LastFolder')!r} for the last folder")
    if registry_value(args, "OutputFolder") not in (None, ""):
        fail("默认 did not put the output folder back")
    if not registry_value(args, "WindowPlace"):
        fail("the window's place was not remembered")
    for name in ("OutputFolder", "LastFolder", "WindowPlace"):
        registry_value(args, name, delete=True)
    shutil.rmtree(out)
    print(f"gui_e2e: two files added at once in name order; the list grew {start} -> {grown} -> {maximised} "
          f"(picture {shot}); the book went to the folder chosen")


def run_many_volumes(args, program, folder, scratch):
    """The 30 MB novel by chapters in 100 KB volumes, then in 300 KB ones: the second build
    removes hundreds of older files, says so in its line, and shows no box (the driver fails
    on any box of the program)."""
    data, titles = novels.big_gbk_novel()
    name = "长卷"
    registry_value(args, "MaxJarSize", delete=True)
    run_driver(args, program, folder, scratch, name, data, titles + [CONTENT_TITLE], chapters=True, name=name,
               extra=f"volume={IDM_VOLUME_100K}\nexpect={name}(1).jar\n")
    before = len([f for f in os.listdir(folder) if f.startswith(name + "(") and f.endswith(".jar")])
    seen = run_driver(args, program, folder, scratch, name, data, titles + [CONTENT_TITLE], chapters=True,
                      name=name, extra=f"volume={IDM_VOLUME_300K}\nexpect={name}(1).jar\nafter={IDM_VOLUME_NONE}\n")
    after = len([f for f in os.listdir(folder) if f.startswith(name + "(") and f.endswith(".jar")])
    line = seen.get("result_line", "")
    removed = 2 * (before - after)
    if before < 100 or not after < before or f"已删除 {removed} 个旧的分卷文件" not in line:
        fail(f"{before} volumes, then {after}; the line says {line!r}")
    for f in os.listdir(folder):
        if f.startswith(name + "("):
            os.remove(os.path.join(folder, f))
    print(f"gui_e2e: {before} volumes of 100 KB, then {after} of 300 KB: {removed} older files removed, "
          f"said in the result line, no box")


def check_book(jar, template, jar_check, parts):
    """parts: (title, text) of every part in order, the text with CR LF."""
    for verdict in book_checks.check_book(jar, BOOK_NAME, jar_check):
        if not verdict.ok:
            fail(f"{verdict.reader} rejects the book {verdict.detail}")

    with zipfile.ZipFile(jar) as z:
        names = z.namelist()
        with zipfile.ZipFile(template) as t:
            template_names = t.namelist()
        expected = template_names + ["META-INF/MANIFEST.MF", "index.txt"] + [
            "%d.txt" % i for i in range(1, len(parts) + 1)]
        if names != expected:
            fail(f"entries {names}, expected {expected}")
        try:
            index = book_checks.read_index(z)
        except ValueError as e:
            fail(str(e))
        if index != (AUTHOR, MAKER, BOOK_NAME, [title for title, _ in parts]):
            fail(f"index {index}")
        for i, (_, text) in enumerate(parts, 1):
            part = z.read("%d.txt" % i).decode("utf-8")
            if part != text.replace("\r\n", "\n"):
                fail(f"{i}.txt holds {part!r}")


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--driver", required=True)
    parser.add_argument("--emulator", required=True)
    parser.add_argument("--work", required=True)
    parser.add_argument("--program")
    parser.add_argument("--template")
    parser.add_argument("--package")
    args = parser.parse_args()

    shutil.rmtree(args.work, ignore_errors=True)
    scratch = os.path.join(args.work, "scratch")
    os.makedirs(scratch)
    # A blank and a comma in the folder: the file manager must still select the book.
    folder = os.path.join(args.work, "工作 目录,e2e")
    if args.package:
        with zipfile.ZipFile(args.package) as z:
            z.extractall(folder)
        expected = {"BookMaker.exe", "bookmaker-cli.exe", "RDbook.dat", "readme.txt"}
        if set(os.listdir(folder)) != expected:
            fail(f"the package holds {sorted(os.listdir(folder))}")
        with open(os.path.join(folder, "readme.txt"), "rb") as f:
            readme = f.read()
        if not readme.startswith(b"\xef\xbb\xbf") or "使用说明".encode() not in readme:
            fail("readme.txt is not UTF-8 with a mark")
        cli = subprocess.run([args.emulator, os.path.join(folder, "bookmaker-cli.exe"), "--version"],
                             stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, timeout=60)
        if cli.returncode != 0:
            fail("bookmaker-cli.exe --version fails")
        program = os.path.join(folder, "BookMaker.exe")
        template = os.path.join(folder, "RDbook.dat")
        help_line = readme[3:].decode("utf-8").split("\r\n")[0]
    else:
        os.makedirs(folder)
        template = os.path.join(folder, "RDbook.dat")
        if args.template and os.path.exists(args.template):
            shutil.copyfile(args.template, template)
        else:
            book_checks.make_template(template)
        program = args.program
        help_line = None

    # What a run that failed half way left remembered (the drivers toggle these).
    for name in ("SplitByChapters", "Compression", "OutputFolder", "LastFolder", "WindowPlace"):
        registry_value(args, name, delete=True)
    jar_check = book_checks.JarFileCheck(os.path.join(args.work, "java"))
    content = (CONTENT_TITLE, CONTENT_TEXT.replace("\\n", "\r\n"))
    book = os.path.join(folder, BOOK_NAME + ".jar")
    run_driver(args, program, folder, scratch, FILE_TITLE, FILE_BYTES, [FILE_TITLE, CONTENT_TITLE], help_line)
    check_book(book, template, jar_check, [(FILE_TITLE, FILE_BYTES.decode("gbk")), content])
    print("gui_e2e: the book passed unzip, 7z, zipfile and JarFile")
    run_volumes(args, program, folder, scratch, template)
    print("gui_e2e: 分卷大小 300 KB gave volumes within it, 压缩 最小 packed them smaller than 标准, both remembered")

    novel = "".join(text for _, text in NOVEL_CHAPTERS)
    titles = [title for title, _ in NOVEL_CHAPTERS]
    run_driver(args, program, folder, scratch, NOVEL_TITLE, novel.encode("gbk"), titles + [CONTENT_TITLE],
               chapters=True)
    check_book(book, template, jar_check, NOVEL_CHAPTERS + [content])
    print("gui_e2e: the book by chapters passed unzip, 7z, zipfile and JarFile")
    run_busy(args, program, folder, scratch)
    run_window(args, program, folder, scratch)
    run_many_volumes(args, program, folder, scratch)


if __name__ == "__main__":
    main()
