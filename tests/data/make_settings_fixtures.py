#!/usr/bin/env python3
"""Writes the settings-*.dat and layout-*.da? fixtures the way the original
platform's profile functions write them: a comment line, "[SECTION]" and
"key=value" lines ending in CR LF, each value the record's bytes as upper-case
hex pairs followed by the checksum (sum of the bytes modulo 256).

Run from tests/data: python3 make_settings_fixtures.py
"""
import struct

COMMENT = ";***** このファイルは編集しないでください *****".encode("cp932")


def sjis(text, size, tail=b""):
    raw = text.encode("cp932") + b"\0" + tail
    assert len(raw) <= size
    return raw + b"\0" * (size - len(raw))


def value(record):
    return (record.hex().upper() + "%02X" % (sum(record) % 256)).encode()


def profile(sections):
    out = [COMMENT]
    for name, keys in sections:
        out.append(b"[" + name.encode() + b"]")
        for key, record in keys:
            out.append(key.encode() + b"=" + value(record))
    return b"".join(line + b"\r\n" for line in out)


def logfont(height, weight, pitch, face):
    return struct.pack("<iiiiiBBBBBBBB", height, 0, 0, 0, weight, 0, 0, 0, 128, 3, 2, 1,
                       pitch) + sjis(face, 32)


def head(name, printer, paper, paper_name, source, source_name, orientation, margins):
    return (sjis(name, 256) + struct.pack("<ii", printer, 1) + struct.pack("<h", paper) +
            sjis(paper_name, 64) + struct.pack("<h", source) + sjis(source_name, 24) +
            struct.pack("<i", orientation) + struct.pack("<12i", *margins))


def page(options, font, **kw):
    record = head(**kw) + struct.pack("<4i", *options) + font
    assert len(record) == 484
    return record


def legacy(options, face, **kw):
    record = head(**kw) + b"\x5A\xA5" + sjis(face, 34) + struct.pack("<4i", *options)
    assert len(record) == 460
    return record


def initial_data():
    record = (struct.pack("<7i", 3, -8, 24, 1024, 768, 140, 1) +
              sjis("×　株式会社", 256, b"left over") + struct.pack("<ii", 57, 9) +
              bytes(range(1, 33)))
    assert len(record) == 324
    return record


LIST_DIALOG = struct.pack("<9i", 3, 900, 420, 480, 50, 100, 100, 160, 40)

PRINTER_1 = dict(name="見積用書式", printer=1, paper=13, paper_name="B5 (JIS)", source=15,
                 source_name="トレイ１", orientation=2,
                 margins=[300, 800, 7000, 310, 810, 7010, 320, 820, 9900, 330, 830, 9910])
PRINTER_2 = dict(name="書式２", printer=0, paper=9, paper_name="A4", source=7,
                 source_name="自動", orientation=1, margins=[0, 500, 5000] * 4)
GOTHIC = logfont(-16, 400, 0x31, "ＭＳ ゴシック")
PMINCHO = logfont(-13, 700, 0x12, "ＭＳ Ｐ明朝")


def write(name, data):
    with open(name, "wb") as f:
        f.write(data)


write("settings-original.dat", profile([
    ("INIT DATA", [("InitialData", initial_data())]),
    ("PAGE DATA", [
        ("Printer No.1", page([1, 1, 0, 1], GOTHIC, **PRINTER_1)),
        ("Printer No.2", page([0, 0, 1, 0], PMINCHO, **PRINTER_2)),
        ("Display No.1", page([1, 1, 0, 1], PMINCHO, **PRINTER_1)),
        ("Display No.2", page([0, 0, 1, 0], GOTHIC, **PRINTER_2)),
    ]),
    ("LISTDLG DATA", [("SettingData", LIST_DIALOG)]),
]))

write("settings-legacy.dat", profile([
    ("INIT DATA", [("InitialData", initial_data())]),
    ("PAGE DATA", [
        ("PrinterPagedata No.1", legacy([1, 1, 0, 1], "ＭＳ ゴシック", **PRINTER_1)),
        ("PrinterPagedata No.2", legacy([0, 0, 1, 0], "Nonexistent Face", **PRINTER_2)),
        ("DisplayPagedata", legacy([0, 1, 0, 0], "ＭＳ Ｐ明朝", **PRINTER_1)),
    ]),
    ("LISTDLG DATA", [("SettingData", LIST_DIALOG)]),
]))


def layout_item(index, number):
    text = "枠%d-%02d" % (number, index)
    rect = [100 * index + number, 200 + index, 1000 + 100 * index, 400 + index]
    record = (struct.pack("<i", index) + sjis(text, 256) + struct.pack("<4i", 0, 0, 0, 0) +
              struct.pack("<4i", *rect) +
              struct.pack("<iiiB3si", index % 3, 8 + index, 400, index % 2, b"\0\0\0",
                          index % 3))
    assert len(record) == 312
    return record


def layout(number, skip=(), without_space=()):
    keys = []
    for index in range(30):
        if index in skip:
            continue
        key = "Layoutdata No.%d - %2d" % (number, index)
        if index in without_space:
            key = "Layoutdata No.%d - %d" % (number, index)
        keys.append((key, layout_item(index, number)))
    return profile([("LAYOUT DATA", keys)])


write("layout-original.da1", layout(1))
write("layout-original.da2", layout(2))
write("layout-partial.da2", layout(2, skip=(5, 6, 7, 8), without_space=(9,)))
