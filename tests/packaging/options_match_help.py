#!/usr/bin/env python3
"""Checks that the man page and the bash completion of bosquell-cli name exactly the options
that its --help prints, so that neither can drift from the program.

    options_match_help.py BOSQUELL_CLI MAN_PAGE COMPLETION
"""

import re
import subprocess
import sys

OPTION = re.compile(r"(?<![\w-])--?[a-z][a-z-]*")


def help_options(program):
    """Options from the first column of --help's "Options:" section."""
    text = subprocess.run([program, "--help"], capture_output=True, text=True, check=True).stdout
    section = text.split("Options:", 1)[1].split("\n\n", 1)[0]
    found = set()
    for line in section.splitlines():
        first_column = line.strip().split("  ", 1)[0]
        found.update(OPTION.findall(first_column.split(" ", 1)[0]))
    return found


def man_options(path):
    """Options named in the tags (the line after .TP) of the OPTIONS section."""
    text = open(path, encoding="utf-8").read()
    section = text.split(".SH OPTIONS", 1)[1].split("\n.SH ", 1)[0]
    tags = re.findall(r"^\.TP\n(.*)$", section, re.MULTILINE)
    return {option for tag in tags for option in OPTION.findall(tag.replace("\\-", "-"))}


def completion_options(path):
    """The words offered after a dash."""
    text = open(path, encoding="utf-8").read()
    words = re.search(r"compgen -W '([^']*)' -- \"\$cur\"", text)
    return set(words.group(1).split()) if words else set()


def main():
    program, man_page, completion = sys.argv[1:4]
    expected = help_options(program)
    failed = False
    for name, found in (("man page", man_options(man_page)),
                        ("bash completion", completion_options(completion))):
        if found != expected:
            failed = True
            print(f"{name}: missing {sorted(expected - found)}, "
                  f"not in --help {sorted(found - expected)}", file=sys.stderr)
    if not expected:
        print("no options found in --help", file=sys.stderr)
        failed = True
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
