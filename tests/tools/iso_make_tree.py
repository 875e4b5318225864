#!/usr/bin/python3
"""Generates a source tree for image tests: long, Unicode and Chinese names,
deep nesting, empty files, sizes on and around sector multiples, and a
directory of many small files. Usage: iso_make_tree.py DIR [MANY_FILES]"""
import os
import random
import sys


def write(path, size, rng):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as out:
        out.write(rng.randbytes(size))


def main():
    root = sys.argv[1]
    many = int(sys.argv[2]) if len(sys.argv) > 2 else 3000
    rng = random.Random(9660)
    for size in (0, 1, 2047, 2048, 2049, 4096, 5000, 3 * 2048, 65536, 1 << 20):
        write(os.path.join(root, "sizes", f"size_{size}.bin"), size, rng)
    names = [
        "照片.jpg", "文档.txt", "中文目录名称测试文件.doc", "Übergrößenträger.txt", "café crème.md",
        "emoji 😀 smile.txt", "Report.docx", "Report.docm", "page1.htm", "page1.html", "a.htm",
        "a.html", "AB~1.TXT", "abcd.txt", "abcd.txtx", "LICENSE", "archive.tar.gz", "no ext",
        " spaced name.txt", "x" * 40 + ".txt", "y" * 64 + ".data", "z" * 100 + ".text",
        "semi;colon.txt", "dash-and_under.txt", "UPPER.TXT",
    ]
    for index, name in enumerate(names):
        write(os.path.join(root, "names", name), 100 + index, rng)
    for name in ("目录一", "目录二", "a" * 31, "a" * 32, "a" * 33, "PROGRA~1", "Mixed Case Dir"):
        write(os.path.join(root, "dirs", name, "inside.txt"), 10, rng)
    deep = os.path.join(root, "deep")
    for level in range(12):
        deep = os.path.join(deep, f"level{level}")
    write(os.path.join(deep, "bottom.txt"), 12, rng)
    for index in range(many):
        write(os.path.join(root, "many", f"small file {index:05d}.dat"), rng.randrange(0, 3000), rng)
    os.makedirs(os.path.join(root, "empty dir"), exist_ok=True)


if __name__ == "__main__":
    main()
