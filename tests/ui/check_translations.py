#!/usr/bin/env python3
"""The Polish and Russian translations are complete and current.

usage: check_translations.py LUPDATE SOURCE_DIR

Fails when a text of the window is missing from a .ts file (lupdate run on a
copy finds one), when an entry is unfinished, empty or left over, or when a
translation loses or adds a %1 or the & of a shortcut.
"""
import re
import shutil
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ET
from pathlib import Path

LANGUAGES = ("pl", "ru")


def messages(path):
    out = {}
    for ctx in ET.parse(path).getroot().iter("context"):
        name = ctx.findtext("name")
        for m in ctx.iter("message"):
            key = (name, m.findtext("source"), m.findtext("comment") or "")
            out[key] = m
    return out


def texts(message):
    tr = message.find("translation")
    forms = tr.findall("numerusform")
    return [f.text or "" for f in forms] if message.get("numerus") == "yes" else [tr.text or ""]


def markers(text):
    return sorted(re.findall(r"%L?\d", text))


def accelerated(text):
    return bool(re.search(r"&[^&\s]", text))


def main():
    lupdate, source = sys.argv[1], Path(sys.argv[2])
    problems = []
    with tempfile.TemporaryDirectory() as tmp:
        for lang in LANGUAGES:
            committed = source / "translations" / f"zentrova_{lang}.ts"
            fresh = Path(tmp) / committed.name
            shutil.copy(committed, fresh)
            subprocess.run([lupdate, "-silent", "-no-obsolete", "-locations", "none",
                            str(source / "src/ui"), str(source / "src/app"), "-ts", str(fresh)],
                           check=True, stdout=subprocess.DEVNULL)
            have, want = messages(committed), messages(fresh)
            for key in sorted(set(want) - set(have)):
                problems.append(f"{lang}: not in the .ts file: {key[0]}: {key[1]!r}")
            for key in sorted(set(have) - set(want)):
                problems.append(f"{lang}: no longer in the sources: {key[0]}: {key[1]!r}")
            for key, m in have.items():
                where = f"{lang}: {key[0]}: {key[1]!r}"
                kind = m.find("translation").get("type")
                if kind:
                    problems.append(f"{where} is {kind}")
                for t in texts(m):
                    if not t.strip():
                        problems.append(f"{where} has no translation")
                    elif "%n" not in key[1] and markers(t) != markers(key[1]):
                        problems.append(f"{where}: {t!r} has other place markers")
                    elif accelerated(key[1]) != accelerated(t):
                        problems.append(f"{where}: {t!r} differs in its shortcut letter")
    print("\n".join(problems) if problems else "translations complete")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
