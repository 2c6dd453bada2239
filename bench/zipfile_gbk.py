#!/usr/bin/env python3
"""A peer in the benchmark: the whole job in Python. Appends every GBK text file of a folder
to an existing jar as UTF-8, deflated at zlib's default level, in name order.

usage: zipfile_gbk.py JAR FOLDER
"""
import os
import sys
import zipfile


def main():
    jar, folder = sys.argv[1], sys.argv[2]
    with zipfile.ZipFile(jar, "a", compression=zipfile.ZIP_DEFLATED) as z:
        for name in sorted(os.listdir(folder)):
            if name.endswith(".txt"):
                with open(os.path.join(folder, name), "rb") as f:
                    z.writestr(name, f.read().decode("gbk").encode("utf-8"))


if __name__ == "__main__":
    main()
