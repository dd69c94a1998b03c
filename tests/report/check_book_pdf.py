#!/usr/bin/python3
"""Reads a calculation book's PDF page by page as a plan checker would:

    check_book_pdf.py BOOK.pdf PROJECT COLUMN

- page 1, the title page: 工程名称, the project, 构件编号, the column, 设计依据 with GB 50010, and the
  signature block (设计, 校对, 审核, 签字);
- every later page: the running header with the project and the column;
- every page: the footer "第 i 页 共 n 页";
- no page but the last ends on a heading ("5 配筋结果", "5.1 截面配筋图"): the lowest line of
  text above the footer is not a numbered heading.
Lines come from pdftotext -bbox (words with their boxes), grouped by their baseline."""
import re
import subprocess
import sys
import xml.etree.ElementTree as ET

HEADING = re.compile(r"^[0-9]+(\.[0-9]+)? [^0-9 ]")


def pages_of(path):
    xhtml = subprocess.run(["pdftotext", "-bbox", path, "-"], check=True,
                           capture_output=True).stdout
    root = ET.fromstring(xhtml)
    ns = {"x": "http://www.w3.org/1999/xhtml"}
    pages = []
    for page in root.iterfind(".//x:page", ns):
        lines = {}
        for word in page.iterfind("x:word", ns):
            y = round(float(word.get("yMax")))
            lines.setdefault(y, []).append((float(word.get("xMin")), word.text or ""))
        ordered = []
        for y in sorted(lines):
            words = [text for _, text in sorted(lines[y])]
            ordered.append((y, " ".join(words)))
        pages.append(ordered)
    return pages


def main():
    path, project, column = sys.argv[1:4]
    pages = pages_of(path)
    failures = []
    total = len(pages)
    for number, lines in enumerate(pages, start=1):
        text = "\n".join(line for _, line in lines)
        flat = text.replace(" ", "")
        if f"第{number}页共{total}页" not in flat:
            failures.append(f"page {number}: no footer 第 {number} 页 共 {total} 页")
        if number == 1:
            for part in ("工程名称", project, "构件编号", column, "设计依据", "GB50010", "设计",
                         "校对", "审核", "签字"):
                if part.replace(" ", "") not in flat:
                    failures.append(f"page 1: no '{part}'")
        elif f"工程名称：{project}" not in flat or f"构件编号：{column}" not in flat:
            failures.append(f"page {number}: no running header")
        body = [line for _, line in lines
                if not re.search(r"第\s*\d+\s*页\s*共\s*\d+\s*页", line)]
        if number < total and body and HEADING.match(body[-1]):
            failures.append(f"page {number} ends on the heading '{body[-1]}'")
    for failure in failures:
        print(failure, file=sys.stderr)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
