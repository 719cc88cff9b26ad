#!/usr/bin/env python3
"""Records again, with a new filter, the cases of the record whose output
changed on purpose, and leaves every other case as it stands.

Usage: rerecord.py PATH/TO/tabulon-filter [--notes] [INDEX...]

The cases marked "lacks" or "twin" are run again and their status, output
and standard error replaced. Each INDEX given is a code-page case whose old
output cut a double-byte character in half: it is marked "halves" and
recorded again the same way. With --notes, the standard error of every
other case is recorded again too (its status and output stay as recorded):
for a note whose words changed on purpose.
"""

import os
import subprocess
import sys


def read(data):
    """[(head, [(name, bytes)...])] in the record's order."""
    cases, pos = [], 0
    while pos < len(data):
        eol = data.index(b"\n", pos)
        name, _, rest = data[pos:eol].partition(b" ")
        pos = eol + 1
        if name == b"case":
            cases.append([rest.decode(), []])
        elif name == b"status":
            cases[-1][1].append(("status", rest))
        else:
            n = int(rest)
            cases[-1][1].append((name.decode(), data[pos:pos + n]))
            pos += n + 1
    return cases


def main():
    if len(sys.argv) < 2:
        sys.exit(__doc__)
    filt, rest = sys.argv[1], sys.argv[2:]
    notes = "--notes" in rest
    halves = set(rest) - {"--notes"}
    path = os.path.join(os.path.dirname(os.path.abspath(__file__)), "filter_record.dat")
    with open(path, "rb") as f:
        cases = read(f.read())
    out = bytearray()
    changed = 0
    for head, fields in cases:
        index, kind, mark, enc = head.split()
        if index in halves:
            mark = "halves"
        if mark != "-" or notes:
            got = dict(fields)
            args = [a.decode() for a in got["args"].split(b"\0")] if got["args"] else []
            run = subprocess.run([filt] + args, input=got["in"], capture_output=True,
                                 check=False)
            new = {"err": run.stderr}
            if mark != "-":
                new.update(status=str(run.returncode).encode(), out=run.stdout)
            changed += any(new[k] != got.get(k) for k in new)
            fields = [(k, new.get(k, v)) for k, v in fields]
        out += f"case {index} {kind} {mark} {enc}\n".encode()
        for name, value in fields:
            if name == "status":
                out += b"status " + value + b"\n"
            else:
                out += f"{name} {len(value)}\n".encode() + value + b"\n"
    with open(path, "wb") as f:
        f.write(out)
    print(f"{changed} cases recorded again", file=sys.stderr)


if __name__ == "__main__":
    main()
