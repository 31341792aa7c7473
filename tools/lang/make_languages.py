#!/usr/bin/env python3
"""Writes the language resources resources/LANG/101 ... 109.

The German resource LANG/100 is the model: every other language carries
exactly its sections and keys in the same order, so the key sets cannot
drift apart. The translations live in tools/lang/<code>.ini (UTF-8, INI
form, any order); this script checks them against the German texts and
writes each resource as UTF-16 little-endian with byte-order mark and CR LF
line ends, like the German one.

    make_languages.py           write the nine resources
    make_languages.py --check   only report whether they are up to date
"""

import re
import sys
from pathlib import Path

ROOT = Path(__file__).resolve().parents[2]
SOURCES = Path(__file__).resolve().parent
LANG_DIR = ROOT / "resources" / "LANG"

# Index 1 .. 9 of the language table; the resource id is 100 + index.
LANGUAGES = ["eng", "fra", "ita", "spa", "por", "ned", "ung", "cze", "slk"]

MISSING_TEXT_MARKER = "HM2001 kein String"
LINE_BREAK = "#13#10"
# printf placeholders as the program's formatter reads them; "%%" is a
# literal percent sign, not an argument.
PLACEHOLDER = re.compile(r"%[-+ 0#]*\d*(?:\.\d+)?[a-zA-Z%]")


class SourceError(Exception):
    pass


def placeholders(text):
    return [p for p in PLACEHOLDER.findall(text) if p != "%%"]


def parse_line(line):
    """('section', name), ('entry', key, value) or None for anything else."""
    if line.startswith("[") and line.endswith("]"):
        return ("section", line[1:-1])
    if line and not line.startswith(";") and "=" in line:
        key, value = line.split("=", 1)
        return ("entry", key, value)
    return None


def read_model(path):
    """The German resource as its list of lines (the last one empty)."""
    data = path.read_bytes()
    if not data.startswith(b"\xff\xfe"):
        raise SourceError(f"{path}: no UTF-16 little-endian byte-order mark")
    text = data[2:].decode("utf-16-le")
    lines = text.split("\r\n")
    if any("\r" in line or "\n" in line for line in lines):
        raise SourceError(f"{path}: a line break that is not CR LF")
    return lines


def read_translations(path):
    """{section: {key: value}} of one language's source file."""
    texts = {}
    section = None
    for number, raw in enumerate(path.read_text(encoding="utf-8").splitlines(), 1):
        parsed = parse_line(raw)
        if parsed is None:
            if raw.strip() and not raw.startswith(";"):
                raise SourceError(f"{path}:{number}: neither a section nor a key: {raw!r}")
            continue
        if parsed[0] == "section":
            section = texts.setdefault(parsed[1], {})
            continue
        if section is None:
            raise SourceError(f"{path}:{number}: key before the first section")
        _, key, value = parsed
        if key in section:
            raise SourceError(f"{path}:{number}: key {key!r} given twice")
        section[key] = value
    return texts


def check_text(code, section, key, german, text):
    where = f"{code} [{section}] {key}"
    if text == MISSING_TEXT_MARKER:
        return [f"{where}: the missing-text marker is not a text"]
    problems = []
    if german.strip() and not text.strip():
        problems.append(f"{where}: empty, the German text is not")
    if placeholders(text) != placeholders(german):
        problems.append(f"{where}: placeholders {placeholders(text)} instead of {placeholders(german)}")
    if text.count(LINE_BREAK) != german.count(LINE_BREAK):
        problems.append(f"{where}: {text.count(LINE_BREAK)} line breaks instead of {german.count(LINE_BREAK)}")
    if text != text.strip() and german == german.strip():
        problems.append(f"{where}: blanks at the start or end")
    return problems


def build(code, model, texts):
    """The resource text of one language, line for line after the model."""
    problems = []
    used = set()
    out = []
    section = None
    for line in model:
        parsed = parse_line(line)
        if parsed is None:
            # Comments of the German file are not carried over; blank lines are.
            if not line.startswith(";"):
                out.append(line)
            continue
        if parsed[0] == "section":
            section = parsed[1]
            out.append(line)
            continue
        if section is None:
            continue
        _, key, german = parsed
        text = texts.get(section, {}).get(key)
        if text is None:
            problems.append(f"{code} [{section}] {key}: no translation")
            continue
        used.add((section, key))
        problems += check_text(code, section, key, german, text)
        out.append(f"{key}={text}")
    for name, entries in texts.items():
        for key in entries:
            if (name, key) not in used:
                problems.append(f"{code} [{name}] {key}: not a key of the German resource")
    if problems:
        raise SourceError("\n".join(problems))
    return "\r\n".join(out)


def encode(text):
    return b"\xff\xfe" + text.encode("utf-16-le")


def main(argv):
    check_only = "--check" in argv[1:]
    model = read_model(LANG_DIR / "100")
    stale = []
    failed = False
    for index, code in enumerate(LANGUAGES, 1):
        target = LANG_DIR / str(100 + index)
        try:
            data = encode(build(code, model, read_translations(SOURCES / f"{code}.ini")))
        except SourceError as error:
            print(error, file=sys.stderr)
            failed = True
            continue
        if target.exists() and target.read_bytes() == data:
            continue
        stale.append(target.name)
        if not check_only:
            target.write_bytes(data)
    if failed:
        return 1
    if check_only and stale:
        print("out of date: LANG/" + ", LANG/".join(stale), file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
