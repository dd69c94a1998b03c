#!/usr/bin/env python3
"""Checks that the manual page and tessarin-cli --help tell one reference.

    check_manual_text.py HELP MANUAL [PAGE...]

HELP is tessarin-cli itself (it is run with --help) or a file holding its help; MANUAL is
packaging/tessarin-cli.1. The help is
the short form and the manual the long one; what the help says, the manual says too:
  - each flag's help text is the beginning of its entry under OPTIONS (the manual may go on);
  - every flag the help's footer names is an entry under OPTIONS;
  - every column of the cases files the footer names is named in the manual;
  - every exit code the help gives (its table, and "exit N" in the footer) is under EXIT STATUS;
  - the user guide's PAGEs, when given, name every flag of the help and no other.
Each disagreement is printed; the exit code is 1 when there is one, 0 otherwise.
"""

import os
import re
import subprocess
import sys

ESCAPES = {r"\-": "-", r"\(pc": "*", r"\(lq": '"', r"\(rq": '"', r"\(em": "-", r"\&": "", r"\e": "\\"}


def roff_words(text):
    """The text of roff source as it reads, in single spaces."""
    words = []
    for line in text.split("\n"):
        if line.startswith(".") and not re.match(r"^\.(B|I|BI|BR|IB|IR|RB|RI)\b", line):
            continue
        match = re.match(r"^\.(\w+)\s*(.*)$", line)
        if match:
            # Font macros: their arguments, quotes removed, alternating fonts run together.
            arguments = re.findall(r'"([^"]*)"|(\S+)', match.group(2))
            joiner = " " if match.group(1) in ("B", "I") else ""
            line = joiner.join(quoted or bare for quoted, bare in arguments)
        words.append(line)
    text = " ".join(words)
    for escape, plain in ESCAPES.items():
        text = text.replace(escape, plain)
    return re.sub(r"\s+", " ", text).strip()


def section(manual, name):
    match = re.search(r"\n\.SH %s\n(.*?)(?=\n\.SH |\Z)" % re.escape(name), manual, re.S)
    if not match:
        raise SystemExit("the manual has no section %s" % name)
    return match.group(1)


def manual_entries(options):
    """Flag name -> the text of its entry under OPTIONS."""
    entries = {}
    for entry in ("\n" + options).split("\n.TP\n")[1:]:
        head, _, body = entry.partition("\n")
        for flag in re.findall(r"--[A-Za-z0-9-]+", head.replace("\\-", "-")):
            entries[flag] = roff_words(body)
    return entries


def help_options(help_text):
    """Flag name -> its help text, from the option lines of CLI11's help: the flag, its value's
    name and what CLI11 enforces itself ("Needs: --code", "Excludes: --open"), then the text after
    two spaces or, when the head is too long, on the next line."""
    options = {}
    lines = help_text.split("\n")
    for number, line in enumerate(lines):
        match = re.match(r"^  (?:-\w,)?(--[A-Za-z0-9-]+)(.*)$", line)
        if not match:
            continue
        head_and_text = re.split(r"\s{2,}", match.group(2).strip(), maxsplit=1)
        if len(head_and_text) == 2:
            text = head_and_text[1]
        elif number + 1 < len(lines) and lines[number + 1].startswith(" " * 30):
            text = lines[number + 1]
        else:
            text = ""
        options[match.group(1)] = text.strip()
    return options


def comparable(text):
    # The help says "stdout" and "kN*m" where the manual says "standard output" and "kN·m".
    text = text.replace("standard output", "stdout")
    return re.sub(r"\s+", " ", text).strip()


def main():
    if os.access(sys.argv[1], os.X_OK):
        run = subprocess.run([sys.argv[1], "--help"], capture_output=True, check=True)
        help_text = run.stdout.decode("utf-8")
    else:
        help_text = open(sys.argv[1], encoding="utf-8").read()
    manual = open(sys.argv[2], encoding="utf-8").read()
    problems = []
    entries = manual_entries(section(manual, "OPTIONS"))
    described = help_options(help_text)
    if len(described) < 10:
        raise SystemExit("found only %d options in the help:\n%s" % (len(described), help_text))
    for flag, text in described.items():
        if flag == "--help":
            continue
        entry = entries.get(flag)
        if entry is None:
            problems.append("%s: in the help, not under the manual's OPTIONS" % flag)
        elif not comparable(entry).startswith(comparable(text)):
            problems.append(
                "%s: the help says\n    %s\n  the manual's entry begins\n    %s"
                % (flag, text, entry[: len(text) + 20])
            )

    footer_start = help_text.find("\nBatch design:")
    footer = help_text[footer_start:] if footer_start >= 0 else ""
    if not footer:
        problems.append("the help has no footer (no \"Batch design:\" paragraph)")
    for flag in sorted(set(re.findall(r"(?<![\w-])--[A-Za-z][A-Za-z0-9-]*", footer))):
        if flag not in entries:
            problems.append("the help's footer names %s; the manual's OPTIONS do not" % flag)

    manual_text = roff_words(manual)
    # The columns of the cases files: "id, l0, ... are required", "Required: id, ...; optional: ...".
    listings = re.findall(r"[:;]\s*([A-Za-z_0-9,\s]+?)\s+are\s+(?:required|optional)", footer)
    for listing in re.findall(r"(?:Required|optional):\s+([^;]*)", footer):
        listings.append(listing.replace("(kN)", "").split("(")[0])
    if not listings:
        problems.append("found no columns of the cases files in the help's footer")
    for listing in listings:
        for column in re.findall(r"[A-Za-z_][A-Za-z0-9_]*", listing):
            if column == "and":
                continue
            if not re.search(r"(?<![\w-])%s(?![\w-])" % re.escape(column), manual_text):
                problems.append("the help's footer names the column %s; the manual does not" % column)

    status = section(manual, "EXIT STATUS")
    codes = set(re.findall(r"\n  ([0-9])  ", help_text))
    codes |= set(re.findall(r"\b[Ee]xit (?:code )?([0-9])\b", footer))
    for listed in re.findall(r"[Ee]xit\s+codes:\s+(.*?)\.", footer, re.S):
        codes |= set(re.findall(r"(?:^|,\s)([0-9])\s", listed))
    if len(codes) < 4:
        problems.append("found only the exit codes %s in the help" % sorted(codes))
    for code in sorted(codes):
        if not re.search(r"\n\.TP\n\.B %s\n" % code, "\n" + status):
            problems.append("the help gives exit code %s; the manual's EXIT STATUS does not" % code)

    if len(sys.argv) > 3:
        guide = "".join(open(page, encoding="utf-8").read() for page in sys.argv[3:])
        named = set(re.findall(r"(?<![\w-])--[A-Za-z][A-Za-z0-9-]*", guide))
        for flag in sorted(set(described) - named - {"--help"}):
            problems.append("the help lists %s; the user guide does not" % flag)
        for flag in sorted(named - set(described)):
            problems.append("the user guide names %s; tessarin-cli has no such flag" % flag)

    for problem in problems:
        print(problem)
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
