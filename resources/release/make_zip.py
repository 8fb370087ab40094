#!/usr/bin/env python3
"""Puts the release zip together: bar.exe, the user guide and the data
folder, in this order, every entry with the same fixed time and attributes,
so the same inputs always give the same bytes.

    make_zip.py BAR_EXE VERSION OUT.zip      (time: $SOURCE_DATE_EPOCH)

The guide and tianq.txt are kept in UTF-8 here and written the way Notepad
and the bar read them on a Chinese Windows: the guide UTF-8 with a BOM,
tianq.txt in GBK (the bar reads it in the ANSI code page); both with CR LF.
"""
import os
import sys
import time
import zipfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import make_click  # noqa: E402

HERE = os.path.dirname(os.path.abspath(__file__))
GUIDE = "\u4f7f\u7528\u8bf4\u660e.txt"  # 使用说明.txt


def windows_text(path, version):
    with open(path, encoding="utf-8") as f:
        text = f.read().replace("@VERSION@", version)
    return text.replace("\r\n", "\n").replace("\n", "\r\n")


def click_bytes(scratch):
    make_click.main(scratch)
    with open(scratch, "rb") as f:
        data = f.read()
    os.remove(scratch)
    return data


def main(exe, version, out):
    stamp = time.gmtime(int(os.environ["SOURCE_DATE_EPOCH"]))
    stamp = (max(stamp.tm_year, 1980),) + tuple(stamp[1:6])
    with open(exe, "rb") as f:
        bar = f.read()
    entries = [
        ("bar.exe", bar),
        (GUIDE, b"\xef\xbb\xbf" + windows_text(os.path.join(HERE, "guide.txt"), version).encode("utf-8")),
        ("data/tianq.txt", windows_text(os.path.join(HERE, "tianq.txt"), version).encode("gbk")),
        ("data/1.wav", click_bytes(out + ".wav")),
    ]
    partial = out + ".part"
    with zipfile.ZipFile(partial, "w") as z:
        for name, data in entries:
            info = zipfile.ZipInfo(name, stamp)
            info.compress_type = zipfile.ZIP_DEFLATED
            # Made on NTFS: Windows attributes, not Unix modes, and unzippers
            # take the UTF-8 flag of the guide's name (for MS-DOS they would
            # read the name in the OEM code page).
            info.create_system = 11
            info.external_attr = 0x20   # "archive", as Windows marks files
            z.writestr(info, data, compresslevel=9)
    os.replace(partial, out)


if __name__ == "__main__":
    main(*sys.argv[1:4])
