#!/usr/bin/env python3
"""Writes the orders-*.ovd fixtures: order history files as the program
keeps them. Double-byte characters are written through Python's ISO-2022-JP
codec (JIS X 0208 between ESC $ B and ESC ( B); half-width katakana and the
IBM extension kanji (lead byte 0xF0 and above) are written as their raw
Shift-JIS bytes outside the runs.

Run from tests/data: python3 make_order_fixtures.py
"""
import random

ESC_JIS = b"\x1b$B"
ESC_ASCII = b"\x1b(B"

# Python's cp932 codec writes these kanji as their NEC-selected codes; the
# program (glibc's CP932, like Windows) uses the IBM extension codes.
IBM_CODES = {"髙": b"\xfb\xfc", "﨑": b"\xfa\xb1"}


def sjis(text):
    return b"".join(IBM_CODES.get(char) or char.encode("cp932") for char in text)


def jis_of(char):
    """The two JIS X 0208 bytes of a character, or None when it has none."""
    raw = sjis(char)
    if len(raw) != 2 or raw[0] >= 0xF0:
        return None
    encoded = char.encode("iso2022_jp")
    assert encoded.startswith(ESC_JIS) and encoded.endswith(ESC_ASCII), char
    return encoded[3:-3]


def encode(text, stand_ins=None):
    """Encodes a history text. `stand_ins` maps characters to the pair that
    is written for them inside a run."""
    out = bytearray()
    in_run = False
    for char in text:
        pair = (stand_ins or {}).get(char) or jis_of(char)
        if pair is not None:
            if not in_run:
                out += ESC_JIS
                in_run = True
            out += pair
            continue
        if in_run:
            out += ESC_ASCII
            in_run = False
        out += sjis(char)
    if in_run:
        out += ESC_ASCII
    return bytes(out)


HEADER = "注文書データファイル\r\n"


def row(counterparty, payment, name1, name2, quantity, unit, price, place1, place2, fmt):
    return "\t".join([counterparty, payment, name1, name2, quantity, unit, price, place1,
                      place2, fmt])


def history(rows, tail="\r\n"):
    """Sorted by Shift-JIS bytes, as the program keeps a history."""
    ordered = sorted(set(rows), key=sjis)
    text = HEADER + "\r\n".join(ordered) + tail
    return encode(text)


def write(name, data):
    with open(name, "wb") as f:
        f.write(data)


BASIC = [
    row("株式会社山田製作所", "90", "六角ボルト", "M8×30", "     100", "本", "   12.50",
        "本社工場", "", "0"),
    row("株式会社山田製作所", "120", "六角ナット", "M8", "      10", "箱", "  800.00",
        "本社工場", "", "0"),
    row("株式会社山田製作所", "ﾘｰｽ", "複合機", "", "       1", "台", " 1200.00",
        "第二工場", "資材倉庫", "1"),
    row("有限会社佐藤商店", "現金", "梱包用テープ", "", "    2.50", "kg", "  300.00",
        "本社工場", "", "0"),
    row("有限会社佐藤商店", "現金", "段ボール", "大", "      20", "ｹｰｽ", "   95.00",
        "本社工場", "", "1"),
]

COMPANIES = ["株式会社山田製作所", "有限会社佐藤商店", "東都精機株式会社", "株式会社中村鉄工",
             "北陸化成工業株式会社", "株式会社鈴木電機", "丸共産業株式会社", "株式会社大和計器"]
ITEMS = ["六角ボルト", "平座金", "ばね座金", "軸受ユニット", "油圧ホース", "配電盤用端子",
         "ステンレス鋼板", "アルミ角パイプ", "梱包用テープ", "安全手袋"]
UNITS = ["本", "個", "枚", "箱", "組", "巻", "式", "台", "kg", "ｾｯﾄ"]
PAYMENTS = ["30", "60", "90", "120", "ﾘｰｽ", "現金"]
PLACES = ["本社工場", "第二工場", "資材倉庫", "物流センター"]


def generated_rows(count, seed):
    random.seed(seed)
    rows = set()
    while len(rows) < count:
        rows.add(row(random.choice(COMPANIES), random.choice(PAYMENTS), random.choice(ITEMS),
                     "型式%03d" % random.randrange(1000), "%8d" % random.randrange(1, 500),
                     random.choice(UNITS), "%8.2f" % (random.randrange(100, 99999) / 100),
                     random.choice(PLACES), "", random.choice("01")))
    return list(rows)


# The rows of the first print of a new history: lines 1 and 3 of one order.
FIRST_PRINT = [
    row("株式会社山田製作所", "90", "六角ボルト", "M8×30", "     100", "本", "   12.50",
        "本社工場", "", "0"),
    row("株式会社山田製作所", "90", "六角ナット", "", "    2.50", "kg", " 1200.00",
        "第二工場", "資材倉庫", "0"),
]

# Rows with IBM extension kanji: a counterparty with 髙 and a name with 﨑.
IBM_ROWS = [
    row("株式会社髙橋製作所", "90", "山﨑式ポンプ", "P-20", "       2", "台", "45000.00",
        "本社工場", "", "0"),
    row("株式会社髙橋製作所", "現金", "髙圧ホース", "", "      15", "本", "  980.00",
        "第二工場", "", "1"),
]


# 髙 (0xFB 0xFC) and 﨑 (0xFA 0xB1) pushed through the Shift-JIS to JIS
# arithmetic inside the runs, as an earlier writer left them; JIS X 0208
# holds no such codes. U+E000 and U+E001 stand for them in the text.
ARITHMETIC_CODES = {"\uE000": b"\x96\x7e", "\uE001": b"\x94\x33"}


def main():
    write("orders-header-only.ovd", encode(HEADER))
    write("orders-basic.ovd", history(BASIC))
    write("orders-first-print.ovd", history(FIRST_PRINT))
    write("orders-no-final-crlf.ovd", history(BASIC, tail=""))
    five_tabs = "\t".join(["有限会社佐藤商店", "現金", "段ボール", "", "      20", "1"])
    write("orders-five-tabs.ovd", encode(HEADER + five_tabs + "\r\n"))

    large = generated_rows(600, 4301) + IBM_ROWS
    write("orders-ibm-kanji.ovd", history(large))
    ordered = sorted(set(large), key=sjis)
    old_text = HEADER + "\r\n".join(ordered) + "\r\n"
    old_text = old_text.replace("髙", "\uE000").replace("﨑", "\uE001")
    write("orders-ibm-kanji-old.ovd", encode(old_text, ARITHMETIC_CODES))

    # A run cut short by damage: the second JIS byte of "製" in the first row
    # is lost, so an odd byte stands before ESC ( B.
    basic = history(BASIC)
    sei = jis_of("製")
    damaged = basic.replace(sei, sei[:1], 1)
    assert damaged != basic
    write("orders-damaged-run.ovd", damaged)


if __name__ == "__main__":
    main()
