#!/usr/bin/python3
"""Reads a Word calculation book back and checks what a plan checker looks for.

check_book_docx.py BOOK.docx PROJECT            the package, the title page, the headings, the
                                                header and footer, the tables and the pictures
check_book_docx.py BOOK.docx PROJECT --pages    also converts the book to PDF with LibreOffice
                                                and reads every page's text (pdftotext)

The book is the current-code book of tests/report/seismic_column.csv: column KZ1, seismic grade
2, three load combinations.
"""
import os
import re
import subprocess
import sys
import tempfile
import xml.dom.minidom
import zipfile

import docx
from docx.oxml.ns import qn

failures = []


def check(condition, what):
    if not condition:
        failures.append(what)


def main():
    path, project = sys.argv[1], sys.argv[2]
    pages = "--pages" in sys.argv[3:]

    # The package: every entry intact and every part well-formed XML.
    with zipfile.ZipFile(path) as package:
        check(package.testzip() is None, "an entry's CRC does not match")
        names = package.namelist()
        for name in ("[Content_Types].xml", "_rels/.rels", "word/document.xml",
                     "word/styles.xml", "word/header1.xml", "word/footer1.xml"):
            check(name in names, f"no part {name}")
        for name in names:
            xml.dom.minidom.parseString(package.read(name))
        footer_xml = package.read("word/footer1.xml").decode("utf-8")
        document_xml = package.read("word/document.xml").decode("utf-8")

    book = docx.Document(path)
    paragraphs = book.paragraphs
    header = "工程名称：" + project + "　构件编号：KZ1"

    # The title page: title, cover table, 设计依据 with both codes, the signature block.
    check(paragraphs[0].style.name == "Title", "the book does not open with its title")
    check("GB 50010-2010" in paragraphs[0].text, f"title: {paragraphs[0].text}")
    cover = book.tables[0]
    rows = {row.cells[0].text: row.cells[1].text for row in cover.rows}
    check(rows.get("工程名称") == project, f"cover project: {rows.get('工程名称')!r}")
    check(rows.get("构件编号") == "KZ1", f"cover column: {rows.get('构件编号')!r}")
    check("GB 50010-2010" in rows.get("计算内容", ""), "cover method")
    check(rows.get("计算程序", "").startswith("Tessarin "), "cover program")
    texts = [p.text for p in paragraphs]
    basis = texts.index("设计依据") if "设计依据" in texts else -1
    check(basis > 0, "no 设计依据")
    check(texts[basis + 1] == "1.\t《混凝土结构设计规范》GB 50010-2010（2015年版）",
          f"basis 1: {texts[basis + 1]!r}")
    check(texts[basis + 2] == "2.\t《建筑抗震设计规范》GB 50011-2010（2016年版）",
          f"basis 2: {texts[basis + 2]!r}")
    sign = book.tables[1]
    check([c.text for c in sign.rows[0].cells] == ["职责", "姓名", "签字", "日期"],
          "signature header")
    check([r.cells[0].text for r in sign.rows[1:]] == ["设计", "校对", "审核"],
          "signature roles")

    # The chapters in Word's heading styles; the first page after the title page starts anew.
    chapters = [p.text for p in paragraphs if p.style.name == "Heading 1"]
    sections = [p.text for p in paragraphs if p.style.name == "Heading 2"]
    check(chapters[:3] == ["1 输入数据", "2 材料", "3 构造要求"], f"chapters: {chapters}")
    # The conclusion closes the book, after the stirrup chapter.
    check(chapters[-1] == f"{len(chapters)} 结论", f"last chapter: {chapters[-1]}")
    check(any(c.endswith("箍筋设计") for c in chapters), f"no stirrup chapter: {chapters}")
    for n in (1, 2, 3):
        check(any(s.startswith(f"4.{n} 组合{n}") for s in sections), f"no section 4.{n}")
    body = next(p for p in paragraphs[basis:]
                if p.text and p.style.name not in ("Cover Heading", "Cover Item"))
    check(body.paragraph_format.page_break_before is True,
          f"no page break after the title page: {body.text!r}")
    check(book.styles["Heading 1"].paragraph_format.keep_with_next is True,
          "Heading 1 not kept with the next paragraph")
    check(book.styles["Formula Label"].paragraph_format.keep_with_next is True,
          "formula label not kept with its line")
    check(book.styles["Formula"].paragraph_format.keep_together is True,
          "formula lines may split")
    fonts = book.styles.element.find(qn("w:docDefaults")).find(".//" + qn("w:rFonts"))
    check(fonts.get(qn("w:eastAsia")) == fonts.get(qn("w:ascii")) == "SimSun",
          "the face is not SimSun for every script")

    # Every page: the project and the column at the top, 第 PAGE 页 共 NUMPAGES 页 at the foot.
    section = book.sections[0]
    check(section.header.paragraphs[0].text == header,
          f"header: {section.header.paragraphs[0].text!r}")
    check(re.search(r'第 </w:t>.*w:instr=" PAGE .*> 页 共 </w:t>.*w:instr=" NUMPAGES .*> 页<',
                    footer_xml) is not None, "footer fields")

    # Tables after the cover: the header row repeats, no row splits.
    for table in book.tables[2:]:
        first = table.rows[0]._tr
        check(first.find(qn("w:trPr")).find(qn("w:tblHeader")) is not None,
              f"table without a repeated header: {table.rows[0].cells[0].text}")
    check(len(book.tables) >= 8, f"{len(book.tables)} tables")

    # The section and the contour as Word drawings.
    check(len(book.inline_shapes) == 2, f"{len(book.inline_shapes)} pictures")
    check(document_xml.count("<wpg:wgp>") == 2, "pictures not drawing groups")

    if pages:
        check_pages(path, project, set(chapters + sections))

    for failure in failures:
        print("FAIL:", failure)
    print(f"{len(failures)} failed" if failures else "check_book_docx: ok")
    return 1 if failures else 0


def check_pages(path, project, headings):
    """LibreOffice lays the book out; pdftotext reads each page."""
    with tempfile.TemporaryDirectory() as scratch:
        profile = "file://" + os.path.join(scratch, "profile")
        subprocess.run(["soffice", "-env:UserInstallation=" + profile, "--headless",
                        "--convert-to", "pdf", "--outdir", scratch, path],
                       check=True, capture_output=True, timeout=240)
        pdf = os.path.join(scratch, os.path.splitext(os.path.basename(path))[0] + ".pdf")
        text = subprocess.run(["pdftotext", "-enc", "UTF-8", pdf, "-"], check=True,
                              capture_output=True).stdout.decode("utf-8")
        # The same pages as laid out: a page's first line is its running header even where a
        # table begins the page (the reading order may put the table's first cells between the
        # header's two parts).
        laid_out = subprocess.run(["pdftotext", "-layout", "-enc", "UTF-8", pdf, "-"],
                                  check=True, capture_output=True).stdout.decode("utf-8")
    first_lines = [next((line.split() for line in page.splitlines() if line.strip()), [])
                   for page in laid_out.split("\f")]
    page_texts = text.split("\f")
    if page_texts and not page_texts[-1].strip():
        page_texts.pop()
    count = len(page_texts)
    check(count >= 8, f"{count} pages")
    for number, page in enumerate(page_texts, start=1):
        lines = [line.strip() for line in page.splitlines() if line.strip()]
        footer = f"第 {number} 页 共 {count} 页"
        check(footer in lines, f"page {number}: no footer {footer!r}")
        # The header's two parts (pdftotext breaks the line at the ideographic space), the
        # first line of the page as laid out.
        parts = ["工程名称：" + project, "构件编号：KZ1"]
        check(first_lines[number - 1] == parts, f"page {number}: header {first_lines[number - 1]}")
        body = [line for line in lines if line not in parts + [footer, "　".join(parts)]]
        # No heading left alone at the foot of a page.
        check(not body or body[-1] not in headings,
              f"page {number} ends with the heading {body[-1]!r}")
        if number == 1:
            for word in ("设计依据", "设计", "校对", "审核", "签字"):
                check(word in lines, f"title page without {word}")


if __name__ == "__main__":
    sys.exit(main())
