#!/usr/bin/env python3
"""Builds the seed corpus of every fuzz target in corpus/<target>/ from the
test fixtures in tests/data. Run it again when the fixtures change."""

import pathlib
import re

here = pathlib.Path(__file__).resolve().parent
data = here.parent / "tests" / "data"
corpus = here / "corpus"

# Record sizes in the order of fuzz_record.cpp's table.
record_sizes = [0, 1, 4, 324, 484, 460, 36, 312]


def put(target, name, content):
    folder = corpus / target
    folder.mkdir(parents=True, exist_ok=True)
    (folder / name).write_bytes(content)


def values(path):
    """(key, value) of every key line of a profile file."""
    for line in path.read_bytes().split(b"\r\n"):
        match = re.match(rb"([^=\[;]+)=([0-9A-Fa-f]+)$", line)
        if match:
            yield match.group(1).decode("latin-1"), match.group(2)


dat = (data / "settings-original.dat").read_bytes()
legacy = (data / "settings-legacy.dat").read_bytes()
da1 = (data / "layout-original.da1").read_bytes()
da2 = (data / "layout-original.da2").read_bytes()
partial = (data / "layout-partial.da2").read_bytes()
put("profile", "original", dat + b"\f" + da1 + b"\f" + da2)
put("profile", "legacy", legacy + b"\f" + da1 + b"\f" + partial)
put("profile", "empty", b"\f\f")

for source in ("settings-original.dat", "settings-legacy.dat", "layout-original.da1"):
    for key, value in values(data / source):
        size = (len(value) - 2) // 2
        if size in record_sizes:
            selector = bytes([record_sizes.index(size)])
            name = re.sub(r"[^A-Za-z0-9]+", "-", key).strip("-")
            put("record", f"{source}-{name}", selector + value)

for ovd in sorted(data.glob("orders-*.ovd")):
    content = ovd.read_bytes()
    if len(content) > 4096:
        content = content[:4096].rsplit(b"\r\n", 1)[0] + b"\r\n"
    put("order_file", ovd.stem, content)
    put("jis", ovd.stem, content)

# Layout items as raw records, then the order's texts.
items = b"".join(bytes.fromhex(value[:-2].decode()) for key, value in values(data / "layout-original.da1"))
order_texts = "\f".join(["山田商事株式会社", "30", "2026", "A-12",
                         "据付工事", "六角ボルト M8", "", "", ""]).encode("cp932")
put("render", "original", items + b"\f" + order_texts)
put("render", "partial", items[: 312 * 7] + b"\f" + order_texts)

for name, text in (("kanji", "注文書データファイル　 "), ("katakana", "ﾘｰｽ 現金　")):
    put("sjis", name, bytes([12]) + text.encode("cp932"))
put("sjis", "split-lead", bytes([3]) + b"ab\x88")
