#!/usr/bin/env python3
"""Records what tabulon-filter writes for a few thousand random inputs.

From a fixed seed it makes inputs of code-page text (TAB text, tables the
filter wrote fed back, some touched by hand or behind a prefix, wrapped tab
text; in UTF-8 or CP932 bytes), runs the filter on each with random options
and writes args, input, exit status, output and standard error to the record
file. The same filter gives the same bytes on every run.

Usage: make_record.py PATH/TO/tabulon-filter [RECORD]

Record format, one case after another (counts are decimal, bytes raw):
  case INDEX KIND MARK ENCODING      ENCODING of the output: utf8 or cp932
  args N / in N / out N / err N      a header line, then N bytes and "\\n";
                                     the arguments are separated by NUL
  status S
MARK is "-" for code-page text only; "lacks" where the input or title holds
characters CP932 lacks or bytes that are no character (written "?" when the
record was made); "twin" where CP932 input uses one of the codes the code
page has twice for one character.
"""

import os
import random
import subprocess
import sys

SEED = 29
CASES = 2500

ASCII = ["a", "b", "x1", "Plan", "OK", "total", "foo bar", "id", "-", "#", "a-b", "(c)",
         "~", "\\", "|", "+", "^", "=", "*", "'", "{", "}", "/*", "*/", "\"q\"", "a,b", "@"]
KANA = "ｱｲｳｴｵｶｷｸｹｺｻｼｽｾｿﾀﾁﾂﾃﾄﾅﾆﾇﾈﾉﾊﾋﾌﾍﾎﾏﾐﾑﾒﾓﾔﾕﾖﾗﾘﾙﾚﾛﾜｦﾝｰﾞﾟ｡｢｣､･"
KANJI = "表日本語東京大阪名前数量合計備考価格在庫品番予定実績月火水木金土曜"
HIRAGANA = "あいうえおかきくけこさしすせそたちつてとなにぬねのん"
SYMBOLS = ("○●◎△▲□■◇◆①②③⑩⑳ⅠⅡⅢⅰⅱαβγΩ─│┌┼┘※★☆→←↑↓〒〃々〆ー・「」『』【】、。，．"
           "：；？！＋＝＜＞％＃＆＊＠￥＄１２３ＡＢＣａｂｃ＼　㈱№℡∵≒")
# Pairs the code page keeps one code for; the filter folds the first of each.
LOOKALIKES = "〜−—‖¢£¬"
TWINS = "～－―∥￠￡￢"
LACKS = ["é", "ñ", "ü", "€", "✅", "😀", "𠮷", "한", "们", "ß", "⚠", "ç", "⚠️"]
# CP932 codes of a character that has another, the one its encoder writes:
# NEC-selected IBM extensions, IBM's twins of NEC row 13, ¬ ∵ and the like.
TWIN_CODES = [b"\xee\xef", b"\xee\xf0", b"\xed\x40", b"\xed\x9e", b"\xfa\x4a", b"\xfa\x54",
              b"\xfa\x58", b"\xfa\x5b", b"\x87\x90", b"\x87\x9a", b"\xee\xf9"]
BAD_CP932 = [b"\x80", b"\xa0", b"\xfd", b"\xfe", b"\xff", b"\x81\x20", b"\x85\x40"]
NUMBERS = ["0", "7", "12", "-5", "3.14", "-0.5", "1,234", "+8", "100", "1e3", "１２", "￥500",
           "99.9", "-1,000"]
PREFIXES = ["  // ", "# ", "> ", "\t", "-- ", "; "]

PASS = "-"


class Recorder:
    def __init__(self, filt):
        self.filt = filt
        self.code = {}  # character -> its CP932 bytes, as the filter writes them

    def run(self, args, data):
        p = subprocess.run([self.filt] + args, input=data, capture_output=True, check=False)
        return p.returncode, p.stdout, p.stderr

    def learn_codes(self):
        """The CP932 bytes of every character used, taken from the filter itself."""
        chars = sorted(set(KANA + KANJI + HIRAGANA + SYMBOLS + LOOKALIKES + TWINS + "".join(NUMBERS))
                       - set(" \t"))
        data = "".join(c + "\n" for c in chars).encode()
        status, out, err = self.run(["--rules", "none", "--no-title", "--output-encoding", "cp932"],
                                    data)
        lines = out.split(b"\n")[:-1]
        assert status == 0 and not err and len(lines) == len(chars), (err, len(lines))
        for c, line in zip(chars, lines):
            self.code[c] = line.strip(b" \t")
        for c, b in self.code.items():
            try:
                if c not in LOOKALIKES and c.encode("cp932") != b:
                    print(f"note: {c} U+{ord(c):04X} is {b.hex()} here", file=sys.stderr)
            except UnicodeEncodeError:
                pass

    def cp932(self, text):
        return b"".join(self.code.get(c) or c.encode("cp932") for c in text)


def width(rec, c):
    return len(rec.code.get(c) or c.encode("cp932"))


def word(rng):
    r = rng.random()
    if r < 0.3:
        return rng.choice(ASCII)
    pool = rng.choice([KANA, KANJI, HIRAGANA, SYMBOLS, LOOKALIKES, TWINS, KANJI + KANA])
    return "".join(rng.choice(pool) for _ in range(rng.randint(1, 3)))


def cell(rng, lacks, long=False):
    r = rng.random()
    if r < 0.15:
        return ""
    if r < 0.35:
        text = rng.choice(NUMBERS)
    else:
        text = "".join(word(rng) for _ in range(rng.randint(1, 5 if long else 2)))
    if lacks and rng.random() < 0.3:
        text += rng.choice(LACKS)
    if rng.random() < 0.12:
        text = rng.choice([" ", "  ", "　"]) + text
    if rng.random() < 0.12:
        text += rng.choice([" ", "  ", "　"])
    if rng.random() < 0.04:
        text = '"' + text.replace('"', '""') + "\n" + word(rng) + '"'  # a cell of two lines
    return text


def grid(rng, lacks, rows=None, cols=None):
    rows = rows or min(10, 1 + int(rng.expovariate(0.7)))
    cols = cols or rng.randint(1, 8)
    out = []
    for _ in range(rows):
        n = cols if rng.random() < 0.85 else rng.randint(1, cols)
        out.append([cell(rng, lacks, long=rng.random() < 0.1) for _ in range(n)])
    return out


def tab_text(cells, rng):
    eol = "\r\n" if rng.random() < 0.15 else "\n"
    text = eol.join("\t".join(row) for row in cells)
    return text + (eol if rng.random() < 0.85 else "")


def encode(rec, text, rng, want_cp932):
    """UTF-8 (a byte-order mark sometimes) or CP932 bytes of the text."""
    if want_cp932:
        return rec.cp932(text)
    data = text.encode()
    return b"\xef\xbb\xbf" + data if rng.random() < 0.05 else data


def title(rng, lacks):
    r = rng.random()
    if r < 0.03:
        return "ﾀｲﾄﾙ" * 12 + "表" * 25  # 98 columns and more: refused
    if r < 0.04:
        return "a\nb"  # refused
    text = "".join(word(rng) for _ in range(rng.randint(1, 4)))
    if lacks and rng.random() < 0.5:
        text += rng.choice(LACKS)
    return text


def options(rng, lacks, table_input):
    """Random options; a table read back is often left as it says."""
    opts = {}
    keep = table_input and rng.random() < 0.3
    def maybe(p):
        return not keep and rng.random() < p
    if maybe(0.6):
        opts["rules"] = rng.choice(["ascii", "box", "none"])
    if maybe(0.45):
        opts["title"] = title(rng, lacks) if rng.random() < 0.7 else None
    for name in ("column-headings", "row-headings"):
        if maybe(0.3):
            opts[name] = rng.random() < 0.5
    if maybe(0.6):
        opts["trim"] = rng.random() < 0.85
    if maybe(0.3):
        opts["width"] = rng.randint(12, 99) if rng.random() < 0.85 else None
    if maybe(0.5):
        opts["wrap"] = rng.choice(["plain", "brace", "slash", "quote"])
    if rng.random() < 0.97:  # the rest are refused as contradictions
        if opts.get("rules") == "none":
            for name in ("column-headings", "row-headings", "trim"):
                if opts.get(name):
                    del opts[name]
            if opts.get("width"):
                del opts["width"]
        if opts.get("trim") and opts.get("width"):
            del opts[rng.choice(["trim", "width"])]
    args = []
    for name, value in opts.items():
        if name in ("column-headings", "row-headings", "trim"):
            args.append(f"--{name}" if value else f"--no-{name}")
        elif value is None:
            args.append(f"--no-{name}")
        elif rng.random() < 0.3:
            args.append(f"--{name}={value}")
        else:
            args += [f"--{name}", str(value)]
    return args


def making_args(rng):
    """How a table fed back was first written: every style and wrap."""
    args = ["--rules", rng.choice(["ascii", "box", "ascii", "box", "none"])]
    if args[1] != "none":
        args.append(rng.choice(["--trim"] * 3 + ["--no-trim", f"--width={rng.randint(12, 99)}"]))
        for name in ("column-headings", "row-headings"):
            if rng.random() < 0.3:
                args.append(f"--no-{name}")
    if rng.random() < 0.6:
        args += ["--title", title(rng, False)[:20].replace("\n", "")]
    else:
        args.append("--no-title")
    args += ["--wrap", rng.choice(["plain", "brace", "slash", "quote"])]
    return args


def touch(rng, rec, text):
    """A table touched by hand: a cell edited, or a line's padding changed."""
    lines = text.split("\n")
    rows = [i for i, l in enumerate(lines) if any(c.isalnum() for c in l[2:])]
    if not rows:
        return text
    i = rng.choice(rows)
    line = lines[i]
    r = rng.random()
    if r < 0.4:  # a character in place of one of the same width, or of another
        spots = [k for k, c in enumerate(line) if c not in "|│+-─┼├┤┌┐└┘┬┴^='{}/* "]
        if spots:
            k = rng.choice(spots)
            same = [c for c in KANA + KANJI + "abc" if width(rec, c) == width(rec, line[k])]
            new = rng.choice(same) if rng.random() < 0.7 else rng.choice(KANJI + "xy")
            line = line[:k] + new + line[k + 1:]
    elif r < 0.7:
        line = line.rstrip("\r") + " " * rng.randint(1, 3)
    else:  # one blank fewer or more inside the line
        k = line.find(" ", 1)
        if k > 0:
            line = line[:k] + line[k + 1:] if rng.random() < 0.5 else line[:k] + " " + line[k:]
    lines[i] = line
    return "\n".join(lines)


def wrapped_by_hand(rng, cells):
    """Tab text in a comment: Basic quotes, braces or slash-star."""
    rows = ["\t".join(r).replace("\n", " ") for r in cells]
    head = "".join(word(rng) for _ in range(rng.randint(0, 2)))
    form = rng.choice(["basic", "basic-title", "brace", "slash"])
    if form == "basic":
        lines = ["'" + r for r in rows]
    elif form == "basic-title":
        lines = ["'" + head] + ["'" + r for r in rows]
    elif form == "brace":
        lines = ["{" + head] + rows + ["}"]
    else:
        lines = ["/*" + head] + rows + [" */" if rng.random() < 0.5 else "*/"]
    return "\n".join(lines) + "\n"


def make_case(rng, rec, index):
    """(kind, args, input bytes, mark by construction)."""
    lacks = rng.random() < 0.06
    cp932_in = rng.random() < 0.3
    r = rng.random()
    if index < 9:  # a few large ones: the whole grid, rows and fields beyond it
        kind = "large"
        rows, cols, args = [(300, 2, ["--rules", "none"]), (260, 1, ["--trim"]),
                            (30, 12, ["--width", "99"]), (4, 40, []), (6, 36, ["--rules=box"]),
                            (20, 20, ["--trim", "--wrap", "slash"])][index % 6]
        text = tab_text(grid(rng, False, rows=rows, cols=cols), rng)
    elif r < 0.4:
        kind = "tab"
        text = tab_text(grid(rng, lacks), rng)
        if rng.random() < 0.01:
            text = rng.choice([" \n\t\n", "\n\n", "   "])  # no cells: given back
        args = options(rng, lacks, False)
    elif r < 0.8:
        status = 1
        while status != 0:  # a grid of blank cells makes no table
            status, out, _ = rec.run(making_args(rng) + ["--output-encoding", "utf-8"],
                                     tab_text(grid(rng, lacks), rng).encode())
        text = out.decode()
        kind = "table"
        if rng.random() < 0.3:
            kind = "touched"
            text = touch(rng, rec, text)
        if rng.random() < 0.2:
            kind += "+prefix"
            prefix = rng.choice(PREFIXES)
            text = "".join(prefix + l + "\n" for l in text.split("\n")[:-1])
        args = options(rng, lacks, True)
    else:
        kind = "wrapped"
        text = wrapped_by_hand(rng, grid(rng, lacks, cols=rng.randint(2, 6)))
        args = options(rng, lacks, True)
    mark = PASS
    if any(c in text for c in "".join(LACKS)):
        mark = "lacks"
        cp932_in = False
    data = encode(rec, text, rng, cp932_in)
    if cp932_in and rng.random() < 0.05:  # codes the code page has twice
        k = data.rfind(b"\t")
        data = data[:k + 1] + rng.choice(TWIN_CODES) + data[k + 1:]
        mark = "twin"
    if rng.random() < 0.02:  # bytes that are no CP932 character
        k = data.rfind(b"\t")
        data = data[:k + 1] + rng.choice(BAD_CP932) + data[k + 1:]
        mark = "lacks"
    if cp932_in and rng.random() < 0.5:
        args.append(rng.choice(["--input-encoding", "--input-encoding=cp932"]))
        if args[-1] == "--input-encoding":
            args.append("cp932")
    if rng.random() < 0.35:
        args += ["--output-encoding", rng.choice(["utf-8", "utf8", "cp932"])]
    if rng.random() < 0.15:
        args.append("--crlf")
    if any(c in a for a in args for c in "".join(LACKS)):
        mark = "lacks"
    return kind, args, data, mark


def out_encoding(args, data):
    """The encoding of the output: asked for, else the input's, given or found."""
    def flag(name):
        value = None
        for k, a in enumerate(args):
            if a.startswith(name + "="):
                value = a.split("=", 1)[1]
            elif a == name and k + 1 < len(args):
                value = args[k + 1]
        return value and ("cp932" if value == "cp932" else "utf8")
    found = flag("--output-encoding") or flag("--input-encoding")
    if found:
        return found
    try:
        data.decode("utf-8")
        return "utf8"
    except UnicodeDecodeError:
        return "utf8" if data.startswith(b"\xef\xbb\xbf") else "cp932"


def field(name, data):
    return f"{name} {len(data)}\n".encode() + data + b"\n"


def main():
    if len(sys.argv) not in (2, 3):
        sys.exit(__doc__)
    rec = Recorder(sys.argv[1])
    path = sys.argv[2] if len(sys.argv) == 3 else os.path.join(os.path.dirname(__file__),
                                                               "filter_record.dat")
    rec.learn_codes()
    rng = random.Random(SEED)
    counts = {}
    with open(path, "wb") as f:
        for index in range(CASES):
            kind, args, data, mark = make_case(rng, rec, index)
            status, out, err = rec.run(args, data)
            if b"lacks written as" in err and mark == PASS:
                mark = "lacks"
            enc = out_encoding(args, data)
            f.write(f"case {index} {kind} {mark} {enc}\n".encode())
            assert all(args), args  # an empty argument would not show
            f.write(field("args", "\0".join(args).encode()))
            f.write(field("in", data))
            f.write(f"status {status}\n".encode())
            f.write(field("out", out))
            f.write(field("err", err))
            key = (kind, mark, status)
            counts[key] = counts.get(key, 0) + 1
    for (kind, mark, status), n in sorted(counts.items()):
        print(f"{n:5} {kind} {mark} status {status}", file=sys.stderr)


if __name__ == "__main__":
    main()
