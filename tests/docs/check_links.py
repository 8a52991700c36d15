#!/usr/bin/env python3
"""Checks that the documents point at things that exist: every relative link and image in
README.md and docs/*.md names a file or folder of the source tree, and every #anchor names a
heading of the document it points into; every source path the man pages name exists too.

    check_links.py SOURCE_DIR
"""

import re
import sys
from pathlib import Path

# [text](target) and ![alt](target), with an optional "title" after the target.
LINK = re.compile(r"!?\[[^\]]*\]\(\s*<?([^)\s>]+)>?(?:\s+\"[^\"]*\")?\s*\)")
FENCE = re.compile(r"^(```|~~~).*?^\1", re.MULTILINE | re.DOTALL)
CODE_SPAN = re.compile(r"`[^`\n]*`")
HEADING = re.compile(r"^#{1,6}\s+(.*?)\s*#*\s*$", re.MULTILINE)
# Paths of the source tree that a man page may name for further reading.
MAN_PATH = re.compile(r"\b((?:docs|packaging|examples)/[\w./-]*\w|README\.md|LICENSE)\b")


def prose(text):
    """The text without fenced code blocks and code spans, where brackets are no links."""
    return CODE_SPAN.sub("", FENCE.sub("", text))


def anchors(path):
    """The anchors a Markdown renderer gives the headings: lower case, punctuation dropped,
    blanks as hyphens, and -1, -2 … after a repeated one."""
    found = set()
    for heading in HEADING.findall(FENCE.sub("", path.read_text(encoding="utf-8"))):
        text = re.sub(r"\[([^\]]*)\]\([^)]*\)", r"\1", heading).replace("`", "")
        slug = re.sub(r"[^\w\- ]", "", text.strip().lower()).replace(" ", "-")
        unique, n = slug, 0
        while unique in found:
            n += 1
            unique = f"{slug}-{n}"
        found.add(unique)
    return found


def check_document(document, root):
    """Problems with the links of one Markdown document, and how many links it has."""
    problems = []
    links = LINK.findall(prose(document.read_text(encoding="utf-8")))
    for target in links:
        if re.match(r"^[a-z][a-z0-9+.-]*:", target, re.IGNORECASE):
            continue  # a web address or another scheme: not ours to check
        path_part, _, anchor = target.partition("#")
        linked = (document.parent / path_part).resolve() if path_part else document
        where = f"{document.relative_to(root)}: link {target}"
        if not linked.exists():
            problems.append(f"{where}: no such file")
        elif root not in linked.parents and linked != root:
            problems.append(f"{where}: points outside the source tree")
        elif anchor and linked.suffix == ".md" and anchor not in anchors(linked):
            problems.append(f"{where}: {linked.name} has no heading #{anchor}")
    return problems, len(links)


def check_man_page(page, root):
    """Problems with the source paths one man page names."""
    text = page.read_text(encoding="utf-8").replace("\\-", "-").replace("\\&", "")
    return [f"{page.relative_to(root)}: names {path}, which does not exist"
            for path in sorted(set(MAN_PATH.findall(text))) if not (root / path).exists()]


def main():
    root = Path(sys.argv[1]).resolve()
    documents = [root / "README.md"] + sorted((root / "docs").glob("*.md"))
    problems = []
    total = 0
    for document in documents:
        found, count = check_document(document, root)
        problems += found
        total += count
    for page in sorted((root / "packaging" / "man").glob("*.in")):
        problems += check_man_page(page, root)
    if total == 0:
        problems.append("no links found at all; is the link pattern still right?")
    for problem in problems:
        print(problem, file=sys.stderr)
    print(f"{total} links in {len(documents)} documents checked")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
