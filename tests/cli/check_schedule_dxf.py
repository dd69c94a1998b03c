#!/usr/bin/python3
"""Reads a column schedule DXF back with ezdxf and checks it against the results CSV.

    check_schedule_dxf.py SCHEDULE.dxf RESULTS.csv

The results' layout rows give each column's bars (cornerDiameter, webDiameter, webBarsAlongB,
webBarsAlongH) and stirrups (legsX, legsY, the notation); the cells the schedule must show are
worked from them here by the rule of the list notation (16G101-1 2.2.2), independently of the
program:
  - 全部纵筋 only when every bar has one diameter (no middle bars, or middle bars as thick as the
    corner bars) and the faces of b and of h carry the same number of middle bars; the count is
    4 corners + 2 x middle bars of b + 2 x middle bars of h;
  - otherwise 角筋 4 corner bars, b边一侧中部筋 and h边一侧中部筋 the middle bars of one face
    (empty for a face without any);
  - every bar group: count, the grade's drafting code, diameter (HPB300 %%130, HRB335 %%131,
    HRB400 %%132, HRB500 %%133); the results CSV writes the letters A, B, C, D instead;
  - 箍筋类型号 1(legsX×legsY), 箍筋 the notation with the stirrup steel's code for its letter;
  - a column without a layout: its b×h and 无可用配筋; a rejected one: 输入有误.
Each distinct section (b×h and its cells) has one detail titled with the marks of its columns
("KZ1、KZ3"), with one bar circle per bar and the stirrup legs where they lie: legsX legs parallel
to h (vertical lines at distinct x) and legsY parallel to b, counting the outer hoop's two sides.
"""
import csv
import re
import sys

import ezdxf

CODES = {"HPB300": "%%130", "HRB335": "%%131", "HRB400": "%%132", "HRB500": "%%133"}
LETTERS = {"HPB300": "A", "HRB335": "B", "HRB400": "C", "HRB500": "D"}
HEADER = ["柱号", "b×h", "全部纵筋", "角筋", "b边一侧中部筋", "h边一侧中部筋", "箍筋类型号",
          "箍筋", "备注"]
SCHEDULE_COLUMNS = ["scheduleSection", "scheduleAllBars", "scheduleCornerBars",
                    "scheduleMiddleBarsB", "scheduleMiddleBarsH", "scheduleStirrupType",
                    "scheduleStirrups"]


class Failures:
    def __init__(self):
        self.messages = []

    def expect(self, condition, message):
        if not condition:
            self.messages.append(message)


def expected_columns(results):
    """Per column in the order of its first line: mark, the cells, and its section's data."""
    rows = list(csv.DictReader(open(results, encoding="utf-8")))
    first = {}
    steel = {}
    stirrup_steel = {}
    size = {}
    for row in rows:
        if row["kind"] != "combination":
            continue
        first.setdefault(row["id"], int(row["line"]))
        steel.setdefault(row["id"], row["steel"] or "HRB400")
        stirrup_steel.setdefault(row["id"], row["stirrup_steel"] or "HRB400")
        size.setdefault(row["id"], (row["b"], row["h"]))
    columns = []
    for row in rows:
        if row["kind"] != "layout":
            continue
        mark = row["id"]
        b, h = size[mark]
        cells = {"mark": mark, "section": f"{b}×{h}", "all": "", "corner": "", "b": "", "h": "",
                 "type": "", "stirrups": "", "note": ""}
        data = None
        status = row["status"]
        if status.startswith("rejected"):
            cells["note"] = "输入有误"
        elif status.startswith("no layout"):
            cells["note"] = "无可用配筋"
        else:
            corner = int(row["cornerDiameter"])
            along_b, along_h = int(row["webBarsAlongB"]), int(row["webBarsAlongH"])
            # Each face's middle bars (empty on a face without any).
            web_b = int(row["webDiameterB"]) if along_b else corner
            web_h = int(row["webDiameterH"]) if along_h else corner
            one = web_b == corner and web_h == corner
            code = CODES[steel[mark]]
            if one and along_b == along_h:
                cells["all"] = f"{4 + 2 * along_b + 2 * along_h}{code}{corner}"
            else:
                cells["corner"] = f"4{code}{corner}"
                cells["b"] = f"{along_b}{code}{web_b}" if along_b else ""
                cells["h"] = f"{along_h}{code}{web_h}" if along_h else ""
            if status == "designed":
                cells["type"] = f"1({row['legsX']}×{row['legsY']})"
                notation = row["stirrups"]
                cells["stirrups"] = CODES[stirrup_steel[mark]] + notation[1:]
            else:
                cells["note"] = "箍筋不满足"
            data = {"bars": int(row["bars"]), "legsX": int(row["legsX"] or 0),
                    "legsY": int(row["legsY"] or 0), "b": float(b), "h": float(h)}
        columns.append((first[mark], cells, data, row))
    columns.sort(key=lambda c: c[0])
    return [(c[1], c[2], c[3]) for c in columns]


def table_cells(msp):
    """The table's texts by row (top first) and column (from the grid's vertical lines)."""
    lines = [e for e in msp.query("LINE") if e.dxf.layer == "柱表"]
    frame = [e for e in msp.query("POLYLINE") if e.dxf.layer == "柱表"]
    xs = sorted({round(e.dxf.start.x, 3) for e in lines if abs(e.dxf.start.x - e.dxf.end.x) < 1e-6})
    ys = sorted({round(e.dxf.start.y, 3) for e in lines if abs(e.dxf.start.y - e.dxf.end.y) < 1e-6},
                reverse=True)
    corners = [(v.dxf.location.x, v.dxf.location.y) for v in frame[0].vertices]
    left, right = min(p[0] for p in corners), max(p[0] for p in corners)
    top, bottom = max(p[1] for p in corners), min(p[1] for p in corners)
    xs = [left] + xs + [right]
    ys = [top] + ys + [bottom]
    grid = [["" for _ in range(len(xs) - 1)] for _ in range(len(ys) - 1)]
    for text in msp.query("TEXT"):
        if text.dxf.layer != "柱表":
            continue
        x = text.dxf.align_point.x if text.dxf.halign else text.dxf.insert.x
        y = text.dxf.insert.y
        if y > top:
            continue  # the title
        r = next(i for i in range(len(ys) - 1) if ys[i + 1] <= y <= ys[i])
        c = next(i for i in range(len(xs) - 1) if xs[i] <= x <= xs[i + 1])
        grid[r][c] += text.dxf.text
    return grid


def check(path, results):
    failures = Failures()
    raw = open(path, "rb").read()
    failures.expect(b"ANSI_936" in raw, "the header names no code page 936")
    doc = ezdxf.readfile(path)
    auditor = doc.audit()
    failures.expect(not auditor.errors, f"audit errors: {[str(e) for e in auditor.errors]}")
    msp = doc.modelspace()
    columns = expected_columns(results)

    # The results CSV: the same cells with the grade letters.
    for cells, _, row in columns:
        expected = [cells[k] for k in ("section", "all", "corner", "b", "h", "type", "stirrups")]
        for name, want in zip(SCHEDULE_COLUMNS, expected):
            for code, letter in zip(CODES.values(), LETTERS.values()):
                want = want.replace(code, letter)
            failures.expect(row[name] == want, f"CSV {cells['mark']} {name}: '{row[name]}', "
                                               f"expected '{want}'")

    grid = table_cells(msp)
    failures.expect(grid and grid[0] == HEADER, f"header {grid[0] if grid else None}")
    failures.expect(len(grid) == 1 + len(columns),
                    f"{len(grid) - 1} table rows, expected {len(columns)}")
    for r, (cells, _, _) in enumerate(columns, start=1):
        if r >= len(grid):
            break
        want = [cells[k] for k in ("mark", "section", "all", "corner", "b", "h", "type",
                                   "stirrups", "note")]
        failures.expect(grid[r] == want, f"row {r}: {grid[r]}, expected {want}")

    # One detail per distinct section, titled with its marks in column order.
    sections = {}
    for cells, data, _ in columns:
        if data is None:
            continue
        key = tuple(cells[k] for k in ("section", "all", "corner", "b", "h", "type", "stirrups"))
        sections.setdefault(key, {"marks": [], "data": data})["marks"].append(cells["mark"])
    outlines = [e for e in msp.query("POLYLINE") if e.dxf.layer == "轮廓"]
    failures.expect(len(outlines) == len(sections),
                    f"{len(outlines)} section details, expected {len(sections)}")
    titles = {t.dxf.text: t for t in msp.query("TEXT")
              if t.dxf.layer == "标注" and re.fullmatch(r"KZ\d+(、KZ\d+)*", t.dxf.text)}
    for section in sections.values():
        title = "、".join(section["marks"])
        failures.expect(title in titles, f"no detail titled {title}; titles {sorted(titles)}")
        if title not in titles:
            continue
        at = titles[title].dxf.insert
        # The detail's outline: the one whose lower left corner is nearest the title.
        def distance(outline):
            points = [(v.dxf.location.x, v.dxf.location.y) for v in outline.vertices]
            x, y = min(p[0] for p in points), min(p[1] for p in points)
            return (x - at.x) ** 2 + (y - at.y) ** 2
        outline = min(outlines, key=distance)
        points = [(v.dxf.location.x, v.dxf.location.y) for v in outline.vertices]
        x0, x1 = min(p[0] for p in points), max(p[0] for p in points)
        y0, y1 = min(p[1] for p in points), max(p[1] for p in points)
        data = section["data"]
        failures.expect(abs(x1 - x0 - data["b"]) < 1e-6 and abs(y1 - y0 - data["h"]) < 1e-6,
                        f"{title}: outline {x1 - x0} x {y1 - y0}, expected b across, h up")
        inside = lambda p: x0 <= p[0] <= x1 and y0 <= p[1] <= y1
        bars = [c for c in msp.query("CIRCLE")
                if c.dxf.layer == "纵筋" and inside((c.dxf.center.x, c.dxf.center.y))]
        failures.expect(len(bars) == data["bars"], f"{title}: {len(bars)} bars, "
                                                   f"expected {data['bars']}")
        vertical, horizontal = set(), set()
        for line in msp.query("POLYLINE"):
            if line.dxf.layer not in ("箍筋", "复合箍筋"):
                continue
            p = [(v.dxf.location.x, v.dxf.location.y) for v in line.vertices]
            if not all(inside(q) for q in p):
                continue
            segments = list(zip(p, p[1:])) + ([(p[-1], p[0])] if line.is_closed else [])
            for a, z in segments:
                # A leg spans most of the core; the short sides of an inner hoop do not.
                if abs(a[0] - z[0]) < 1e-6 and abs(a[1] - z[1]) > (y1 - y0) / 2:
                    vertical.add(round(a[0], 3))
                if abs(a[1] - z[1]) < 1e-6 and abs(a[0] - z[0]) > (x1 - x0) / 2:
                    horizontal.add(round(a[1], 3))
        failures.expect(len(vertical) == data["legsX"],
                        f"{title}: {len(vertical)} legs parallel to h, expected {data['legsX']}")
        failures.expect(len(horizontal) == data["legsY"],
                        f"{title}: {len(horizontal)} legs parallel to b, expected {data['legsY']}")

    for message in failures.messages:
        print("FAIL:", message)
    return 1 if failures.messages else 0


if __name__ == "__main__":
    if len(sys.argv) != 3:
        print(__doc__, file=sys.stderr)
        sys.exit(2)
    sys.exit(check(sys.argv[1], sys.argv[2]))
