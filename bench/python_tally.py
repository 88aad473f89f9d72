#!/usr/bin/python3
"""A plain Python tally of an answer folder, the reference that Tabulon's own
tally is compared with: it reads data.txt and every *.ans file of FOLDER as
Tabulon does, adds up the choices and writes the results file to OUT in the
same bytes. Prints the milliseconds it took, start-up not counted.

    python_tally.py FOLDER OUT
"""
import os
import sys
import time


def is_lead(byte):
    return 0x81 <= byte <= 0x9F or 0xE0 <= byte <= 0xFC


def split_lines(data):
    """LF or CR LF ends a line, a lone CR is dropped, byte 26 at the start of
    a line ends the file."""
    lines = []
    i = 0
    while i < len(data) and data[i] != 26:
        end = data.find(b"\n", i)
        stop = len(data) if end < 0 else end
        lines.append(data[i:stop].replace(b"\r", b""))
        i = stop + 1
    return lines


def read_lines(name):
    with open(name, "rb") as f:
        return split_lines(f.read())


def marker_pos(marker, text):
    """Position from 1 of the first occurrence of marker that begins a
    Shift-JIS character of text, or 0; both taken up to a NUL."""
    marker = marker.split(b"\0", 1)[0]
    text = text.split(b"\0", 1)[0]
    if not marker or not text:
        return 0
    i = 0
    while i + len(marker) <= len(text):
        if text.startswith(marker, i):
            return i + 1
        i += 2 if is_lead(text[i]) and i + 1 < len(text) else 1
    return 0


def begins_with(line, marker):
    return marker_pos(marker, line) == 1


def contains(line, marker):
    return marker_pos(marker, line) > 0


def upper_ascii(text):
    out = bytearray(text)
    i = 0
    while i < len(out):
        if is_lead(out[i]) and i + 1 < len(out):
            i += 2
            continue
        if 0x61 <= out[i] <= 0x7A:
            out[i] -= 0x20
        i += 1
    return bytes(out)


def remove_first_marker(text, marker):
    position = marker_pos(upper_ascii(marker), upper_ascii(text))
    if position == 0:
        return text
    return text[:position - 1] + text[position - 1 + len(marker):]


def line_of(lines, k):
    return lines[k - 1] if 1 <= k <= len(lines) else b""


def questionnaire():
    lines = read_lines("data.txt")
    markers = (b"[R]", b"[C]", b"[T]")

    def marker_of(line):
        for marker in markers:
            if begins_with(line, marker):
                return marker
        return None

    questions = []
    p = 4
    while len(questions) < 10:
        while p <= len(lines) and marker_of(lines[p - 1]) is None:
            p += 1
        if p > len(lines):
            break
        marker = marker_of(lines[p - 1])
        text = remove_first_marker(lines[p - 1], marker)
        p += 1
        choices = []
        if marker != b"[T]":
            while len(choices) < 5 and p <= len(lines):
                line = lines[p - 1]
                if not line or marker_of(line) is not None:
                    break
                choices.append(line)
                p += 1
        questions.append((text, choices + [b""] * (5 - len(choices))))
    return questions


def choice_value(line):
    """The signed 32-bit value of a choice line, as Tabulon reads it."""
    rest = line.lstrip(b" ")
    negative = False
    if rest[:1] in (b"+", b"-"):
        negative = rest[:1] == b"-"
        rest = rest[1:]
    base = 10
    for prefix in (b"$", b"0x", b"0X", b"x", b"X"):
        if rest.startswith(prefix):
            rest = rest[len(prefix):]
            base = 16
            break
    digits = b"0123456789abcdefABCDEF" if base == 16 else b"0123456789"
    if not rest or any(c not in digits for c in rest):
        raise ValueError(line)
    value = int(rest, base)
    value = -value if negative else value
    if not -2**31 <= value < 2**31:
        raise ValueError(line)
    return value


def tally_file(lines, counts):
    """One file's row: computer name, respondent name, 10 x 5 answers."""
    answers = [[b""] * 5 for _ in range(10)]

    def find_header(k):
        while k <= len(lines):
            if begins_with(lines[k - 1], b"[Q"):
                return k
            k += 1
        return None

    header = find_header(2)
    for q in range(10):
        if header is None:
            break
        line = lines[header - 1]
        p = header + 1
        if contains(line, b"R]") or contains(line, b"C]"):
            c = 0
            while (c < 5 and p <= len(lines)
                   and not begins_with(lines[p - 1], b"[Q")
                   and not begins_with(lines[p - 1], b"[END]")):
                answers[q][c] = lines[p - 1]
                counts[q][c] += choice_value(lines[p - 1])
                c += 1
                p += 1
        elif contains(line, b"T]"):
            answers[q][0] = line_of(lines, p)
        header = find_header(p)
    return line_of(lines, 1), line_of(lines, 2), answers


def program_name(disk_name):
    try:
        return disk_name.decode("utf-8").encode("cp932")
    except (UnicodeDecodeError, UnicodeEncodeError):
        return disk_name


def name_key(name):
    def rank(byte):
        if byte < 0x20 or byte == 0x7F:
            return 0
        if byte >= 0x80:
            return 4
        if 0x30 <= byte <= 0x39:
            return 2
        if 0x41 <= byte <= 0x5A or 0x61 <= byte <= 0x7A:
            return 3
        return 1

    folded = [rank(b) * 256 + (b - 0x20 if 0x61 <= b <= 0x7A else b)
              for b in name]
    return folded, name


def answer_files():
    names = []
    with os.scandir(b".") as entries:
        for entry in entries:
            name = entry.name
            if name.startswith(b".") or name[-4:].upper() != b".ANS":
                continue
            if entry.is_file():
                names.append((program_name(name), name))
    names.sort(key=lambda pair: name_key(pair[0]))
    return [disk for _, disk in names]


def write_results(path, questions, rows):
    out = []

    def blocks(field):
        for q, (text, choices) in enumerate(questions):
            if not text:
                continue
            out.append(field(q, 0) + b",")
            for k in range(1, 5):
                if choices[k]:
                    out.append(field(q, k) + b",")
        out.append(b"\r\n")

    out.append("質問,,".encode("cp932"))
    blocks(lambda q, k: questions[q][0] if k == 0 else b"")
    out.append("コンピュータ名,氏名等,".encode("cp932"))
    blocks(lambda q, k: questions[q][1][k])
    for computer, respondent, answers in rows:
        out.append(computer + b"," + respondent + b",")
        blocks(lambda q, k: answers[q][k])
    with open(path, "wb") as f:
        f.write(b"".join(out))


def main():
    folder, out = sys.argv[1], os.path.abspath(sys.argv[2])
    os.chdir(folder)
    start = time.perf_counter()
    questions = questionnaire()
    counts = [[0] * 5 for _ in range(10)]
    rows = [tally_file(read_lines(name), counts) for name in answer_files()]
    write_results(out, questions, rows)
    print("%.3f" % ((time.perf_counter() - start) * 1000))


if __name__ == "__main__":
    main()
