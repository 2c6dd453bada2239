#!/usr/bin/env python3
"""End to end through the real BookMaker.exe under Wine: bookmaker_driver.exe fills the
fields, adds a GBK file through the file dialog and typed content through the add-content
dialog, generates the book in a working folder whose name holds a blank and a comma, and
sees the file manager open on it. Then readers nobody here wrote check the book: unzip -t,
7z t, Python's zipfile (every CRC; the index and each part decoded and compared) and Java's
JarFile (the manifest). Then volumes: 工具 > 分卷大小 > 300 KB chosen and a long GBK novel
generated gives 书名(1).jar ... within 300 KB with their JADs; the next start remembers the
size (the registry holds it) and makes the volumes again, and 不分卷 chosen at the end
leaves the registry as it was found.

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
import tempfile
import zipfile

import novels

BOOK_NAME = "三国 演义,上"
AUTHOR = "罗贯中"
MAKER = "青禾网"
FILE_TITLE = "第一回"
FILE_BYTES = "第一回　宴桃园豪杰三结义\r\n滚滚长江东逝水".encode("gbk")
CONTENT_TITLE = "序言"
CONTENT_TEXT = "话说天下大势，分久必合，合久必分。\\n周末七国分争，并入于秦。"

JAR_CHECK = r"""
import java.util.jar.*;
public class JarCheck {
    // args: jar, MIDlet-Name, MIDlet-1
    public static void main(String[] args) throws Exception {
        try (JarFile jar = new JarFile(args[0], true)) {
            Attributes a = jar.getManifest().getMainAttributes();
            if (!args[1].equals(a.getValue("MIDlet-Name"))) throw new Exception("MIDlet-Name: " + a.getValue("MIDlet-Name"));
            if (!args[2].equals(a.getValue("MIDlet-1"))) throw new Exception("MIDlet-1: " + a.getValue("MIDlet-1"));
            java.util.Enumeration<JarEntry> e = jar.entries();
            while (e.hasMoreElements()) jar.getInputStream(e.nextElement()).readAllBytes();
        }
    }
}
"""


def wine_path(path):
    return "Z:" + os.path.abspath(path).replace("/", "\\")


def fail(message):
    print("gui_e2e: " + message)
    sys.exit(1)


def make_template(path):
    with zipfile.ZipFile(path, "w", zipfile.ZIP_DEFLATED) as z:
        z.writestr("Lumenread.class", bytes(range(256)) * 8)
        z.writestr("rd.PNG", b"\x89PNG\r\n\x1a\n" + b"\0" * 40)


def run_driver(args, program, folder, scratch, help_line=None, name=BOOK_NAME, file_title=FILE_TITLE,
               file_bytes=FILE_BYTES, extra=""):
    source = os.path.join(scratch, file_title + ".txt")
    with open(source, "wb") as f:
        f.write(file_bytes)
    scenario = os.path.join(scratch, "scenario.txt")
    with open(scenario, "w", encoding="utf-8") as f:
        f.write(f"name={name}\nauthor={AUTHOR}\nmaker={MAKER}\nfile={wine_path(source)}\n"
                f"title={CONTENT_TITLE}\ntext={CONTENT_TEXT}\nhelp={int(help_line is not None)}\n{extra}")
    result = subprocess.run([args.emulator, args.driver, wine_path(program), wine_path(folder),
                             wine_path(scenario)],
                            stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, timeout=180)
    out = result.stdout.decode("utf-8", "replace").replace("\r", "")
    print(out, end="")
    if result.returncode != 0:
        fail("the driver failed")
    seen = [line.split("=", 1) for line in out.splitlines() if "=" in line]
    items = [v for k, v in seen if k == "item"]
    if items[-1] != CONTENT_TITLE or not items[0].startswith(file_title):
        fail(f"list shows {items}")
    if ("file_manager", os.path.basename(folder)) not in [tuple(s) for s in seen]:
        fail("the file manager did not open on the book's folder")
    if help_line is not None and ("help_first_line", help_line) not in [tuple(s) for s in seen]:
        fail("Notepad does not show readme.txt's first line")
    return items


IDM_VOLUME_NONE = 32779
IDM_VOLUME_300K = 32781
VOLUMES_NAME = "长篇"


def long_novel():
    """About 1 MB of GBK (novels.ranked_text): four parts of 150000 characters, each about
    250 KB deflated, one part a volume of 300 KB."""
    rnd = random.Random(3)
    lines = ["\u3000\u3000" + novels.ranked_text(rnd, 200) for _ in range(2500)]
    return ("\r\n".join(lines) + "\r\n").encode("gbk")


def registry_size(args, delete=False):
    """The volume size the program keeps in the registry; with delete, it is removed."""
    command = ["delete", "/f"] if delete else ["query"]
    r = subprocess.run([args.emulator, "reg", command[0], "HKCU\\Software\\BookMaker", "/v", "MaxJarSize"]
                       + command[1:], stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, timeout=60)
    words = r.stdout.decode("utf-8", "replace").split()
    return words[-1] if r.returncode == 0 and words else None


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
    registry_size(args, delete=True)  # what a run that failed half way left
    run_driver(args, program, folder, scratch, name=VOLUMES_NAME, file_title=VOLUMES_NAME, file_bytes=novel,
               extra=f"volume={IDM_VOLUME_300K}\nexpect={VOLUMES_NAME}(1).jar\n")
    check_volumes(folder, VOLUMES_NAME, count)
    if registry_size(args) != "307200":
        fail(f"the registry holds {registry_size(args)} for the volume size")
    for i in range(1, count + 1):
        os.remove(os.path.join(folder, "%s(%d).jar" % (VOLUMES_NAME, i)))
    # The next start remembers 300 KB; 不分卷 chosen at the end puts the registry back.
    run_driver(args, program, folder, scratch, name=VOLUMES_NAME, file_title=VOLUMES_NAME, file_bytes=novel,
               extra=f"expect={VOLUMES_NAME}(1).jar\nafter={IDM_VOLUME_NONE}\n")
    check_volumes(folder, VOLUMES_NAME, count)
    if registry_size(args) != "0":
        fail(f"the registry holds {registry_size(args)} for the volume size after 不分卷")


def check_book(jar, template):
    for command in (["unzip", "-tqq", jar], ["7z", "t", "-bso0", "-bsp0", jar]):
        if subprocess.run(command).returncode != 0:
            fail(" ".join(command[:2]) + " rejects the book")

    with zipfile.ZipFile(jar) as z:
        bad = z.testzip()
        if bad:
            fail("CRC mismatch in " + bad)
        names = z.namelist()
        with zipfile.ZipFile(template) as t:
            template_names = t.namelist()
        expected = template_names + ["META-INF/MANIFEST.MF", "index.txt", "1.txt", "2.txt"]
        if names != expected:
            fail(f"entries {names}, expected {expected}")
        index = z.read("index.txt")
        if not index.startswith(b"\xff\xfe"):
            fail("index.txt has no UTF-16LE mark")
        lines = index[2:].decode("utf-16-le").rstrip("\0").split("\r\n")
        want = [AUTHOR, MAKER, BOOK_NAME, FILE_TITLE, CONTENT_TITLE, ""]
        if lines != want:
            fail(f"index lines {lines}")
        part1 = z.read("1.txt").decode("utf-8")
        if part1 != FILE_BYTES.decode("gbk").replace("\r\n", "\n"):
            fail(f"1.txt holds {part1!r}")
        part2 = z.read("2.txt").decode("utf-8")
        if part2 != CONTENT_TEXT.replace("\\n", "\n"):
            fail(f"2.txt holds {part2!r}")

    classes = tempfile.mkdtemp()
    try:
        source = os.path.join(classes, "JarCheck.java")
        with open(source, "w", encoding="utf-8") as f:
            f.write(JAR_CHECK)
        subprocess.run(["javac", "-encoding", "UTF-8", "-d", classes, source], check=True)
        midlet1 = BOOK_NAME.replace(",", "，") + ",/rd.PNG,Lumenread"
        if subprocess.run(["java", "-cp", classes, "JarCheck", jar, BOOK_NAME, midlet1]).returncode != 0:
            fail("JarFile rejects the manifest")
    finally:
        shutil.rmtree(classes, ignore_errors=True)


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
            make_template(template)
        program = args.program
        help_line = None

    run_driver(args, program, folder, scratch, help_line)
    check_book(os.path.join(folder, BOOK_NAME + ".jar"), template)
    print("gui_e2e: the book passed unzip, 7z, zipfile and JarFile")
    run_volumes(args, program, folder, scratch, template)
    print("gui_e2e: 分卷大小 300 KB gave volumes within it, remembered for the next start")


if __name__ == "__main__":
    main()
