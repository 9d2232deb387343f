"""Packs the shipped program folder as a portable zip.

Usage: make_zip.py PROGRAM_FOLDER README OUT.zip
The zip holds one folder named like the program folder, with README.txt in
it; entries are sorted and dated by their files, so equal inputs give an
equal zip.
"""

import os
import sys
import time
import zipfile


def entries(folder):
    for root, dirs, files in os.walk(folder):
        dirs.sort()
        rel_root = os.path.relpath(root, folder)
        if rel_root != "." and not files and not dirs:
            yield root, rel_root + "/"  # an empty folder (config\) is kept
        for name in sorted(files):
            yield os.path.join(root, name), os.path.normpath(os.path.join(rel_root, name))


def main():
    folder, readme, out = sys.argv[1:4]
    top = os.path.basename(os.path.normpath(folder))
    tmp = out + ".tmp"
    with zipfile.ZipFile(tmp, "w", zipfile.ZIP_DEFLATED, compresslevel=9) as z:
        # Windows line ends, for Notepad of old.
        with open(readme, encoding="utf-8") as f:
            text = f.read().replace("\r\n", "\n").replace("\n", "\r\n")
        info = zipfile.ZipInfo(f"{top}/README.txt", time.localtime(os.path.getmtime(readme))[:6])
        info.compress_type = zipfile.ZIP_DEFLATED
        z.writestr(info, text.encode("utf-8"))
        for path, name in entries(folder):
            z.write(path, f"{top}/{name}")
    os.replace(tmp, out)


if __name__ == "__main__":
    main()
