#!/usr/bin/python3
"""Reads a section detail DXF back with ezdxf and checks what it holds.

    check_section_dxf.py FILE.dxf
        the known column of write_test_section, against figures worked by hand below;
    check_section_dxf.py --design JSON FILE.dxf B H COVER STIRRUP CONCRETE STEEL
        a designed column, against the layout tessarin-cli --json printed for it.
"""
import json
import math
import sys

import ezdxf

TOLERANCE = 1e-6
LAYERS = ("轮廓", "箍筋", "纵筋", "标注")


class Failures:
    def __init__(self):
        self.messages = []

    def expect(self, condition, message):
        if not condition:
            self.messages.append(message)


def close(a, b):
    return abs(a - b) <= TOLERANCE


def same_points(found, expected):
    key = lambda p: (round(p[0], 4), round(p[1], 4))
    return sorted(map(key, found)) == sorted(map(key, expected))


def rectangle(half_width, half_height):
    return [(-half_width, -half_height), (half_width, -half_height),
            (half_width, half_height), (-half_width, half_height)]


def polylines(msp, layer):
    return [e for e in msp.query("POLYLINE") if e.dxf.layer == layer]


def points(polyline):
    return [(v.dxf.location.x, v.dxf.location.y) for v in polyline.vertices]


def check_common(path, failures, b, h, cover, stirrup, bars, texts):
    """bars: (x, y, radius) with x = v and y = u; texts: every text the drawing must hold."""
    raw = open(path, "rb").read()
    failures.expect(b"ANSI_936" in raw, "the header names no code page 936")
    failures.expect("角筋".encode("gbk") in raw, "the Chinese text is not in GBK")
    doc = ezdxf.readfile(path)
    failures.expect(doc.dxfversion == "AC1009", f"DXF version {doc.dxfversion}")
    auditor = doc.audit()
    failures.expect(not auditor.errors, f"audit errors: {[str(e) for e in auditor.errors]}")
    failures.expect(not auditor.fixes, f"audit fixes: {[f.message for f in auditor.fixes]}")
    for name in LAYERS:
        failures.expect(doc.layers.has_entry(name), f"no layer {name}")
    style = doc.styles.get("HZ")
    failures.expect(style.dxf.bigfont == "gbcbig.shx", f"big font {style.dxf.bigfont!r}")
    msp = doc.modelspace()

    outline = polylines(msp, "轮廓")
    failures.expect(len(outline) == 1 and outline[0].is_closed and
                    same_points(points(outline[0]), rectangle(b / 2, h / 2)),
                    f"outline {[points(p) for p in outline]}")
    # The stirrup's centre line lies half its diameter inside the cover, drawn that wide; the
    # two hook ends are open polylines of the same width.
    inset = cover + stirrup / 2
    closed = [p for p in polylines(msp, "箍筋") if p.is_closed]
    failures.expect(len(closed) == 1 and
                    same_points(points(closed[0]), rectangle(b / 2 - inset, h / 2 - inset)) and
                    all(close(v.dxf.start_width, stirrup) for v in closed[0].vertices),
                    f"stirrup {[points(p) for p in closed]}")
    hook_length = max(10 * stirrup, 75)
    hooks = [points(p) for p in polylines(msp, "箍筋") if not p.is_closed]
    failures.expect(len(hooks) == 2 and all(
        len(p) == 2 and close(p[1][0] - p[0][0], hook_length / math.sqrt(2)) and
        close(p[0][1] - p[1][1], hook_length / math.sqrt(2)) for p in hooks), f"hooks {hooks}")

    circles = [(c.dxf.center.x, c.dxf.center.y, c.dxf.radius) for c in msp.query("CIRCLE")]
    failures.expect(all(c.dxf.layer == "纵筋" for c in msp.query("CIRCLE")), "circle off 纵筋")
    key = lambda c: tuple(round(x, 4) for x in c)
    failures.expect(sorted(map(key, circles)) == sorted(map(key, bars)),
                    f"circles {sorted(circles)} != bars {sorted(bars)}")
    # Each bar is filled: a closed polyline of two half circles (bulge 1) as wide as the radius.
    discs = []
    for p in polylines(msp, "纵筋"):
        ends = points(p)
        width = p.vertices[0].dxf.start_width
        failures.expect(p.is_closed and len(ends) == 2 and
                        all(close(v.dxf.bulge, 1.0) for v in p.vertices) and
                        close(ends[1][0] - ends[0][0], width), f"disc {ends}")
        discs.append(((ends[0][0] + ends[1][0]) / 2, ends[0][1], width))
    failures.expect(sorted(map(key, discs)) == sorted(map(key, bars)), f"discs {sorted(discs)}")

    found = [t.dxf.text for t in msp.query("TEXT")]
    failures.expect(all(t.dxf.layer == "标注" and t.dxf.style == "HZ" for t in msp.query("TEXT")),
                    "text off 标注 or not in style HZ")
    for text in texts:
        failures.expect(text in found, f"no text {text!r} in {found}")
    # The two overall dimensions: b under the section, h left of it, 200 mm (10 mm at 1:20) out.
    lines = [((e.dxf.start.x, e.dxf.start.y), (e.dxf.end.x, e.dxf.end.y))
             for e in msp.query("LINE") if e.dxf.layer == "标注"]
    bottom = -h / 2 - 200
    left = -b / 2 - 200
    failures.expect(((-b / 2, bottom), (b / 2, bottom)) in lines, f"no b dimension line {lines}")
    failures.expect(((left, -h / 2), (left, h / 2)) in lines, f"no h dimension line {lines}")
    return msp


def check_known_column(path):
    # 400 × 600, cover 20, stirrup 8. Corner bars Φ25 at 20 + 8 + 12.5 = 40.5 mm from both faces:
    # x = ±(200 − 40.5) = ±159.5, y = ±(300 − 40.5) = ±259.5, radius 12.5. Web bars Φ20 at
    # 20 + 8 + 10 = 38 mm from their face: three on each b face at y = ±262, x = −79.75, 0, 79.75
    # (the 319 mm between the corner bars in four); two on each h face at x = ±162,
    # y = ±86.5 (519 mm in three). Radius 10.
    bars = [(x, y, 12.5) for x in (-159.5, 159.5) for y in (-259.5, 259.5)]
    bars += [(x, y, 10.0) for y in (-262.0, 262.0) for x in (-79.75, 0.0, 79.75)]
    bars += [(x, y, 10.0) for x in (-162.0, 162.0) for y in (-86.5, 86.5)]
    texts = ["400", "600", "400×600", "角筋 4%%13225", "b边一侧中部筋 3%%13220", "h边一侧中部筋 2%%13220",
             "KZ1  C30  HRB400  GB 50010-2010  利用率 0.870（组合 2）"]
    failures = Failures()
    msp = check_common(path, failures, 400, 600, 20, 8, bars, texts)
    # Text positions, in mm at 1:1 for 3.5 mm text plotted at 1:20 (70 mm high): the b figure
    # centred 20 mm above its line at y = −500; the h figure turned 90°, 20 mm left of its line
    # at x = −400; the annotation block from x = 200 + 200 = 400 with its first baseline at
    # 300 − 70 = 230 and 1.6 × 70 = 112 between lines; the title at x = −400, its top 160 mm
    # below the b dimension line: y = −500 − 160 − 70 = −730.
    placed = {t.dxf.text: t for t in msp.query("TEXT")}
    expected = {"400": (0.0, -480.0, 0.0), "600": (-420.0, 0.0, 90.0),
                "400×600": (400.0, 230.0, 0.0), "角筋 4%%13225": (400.0, 118.0, 0.0),
                "b边一侧中部筋 3%%13220": (400.0, 6.0, 0.0), "h边一侧中部筋 2%%13220": (400.0, -106.0, 0.0),
                texts[-1]: (-400.0, -730.0, 0.0)}
    for text, (x, y, rotation) in expected.items():
        entity = placed.get(text)
        if entity is None:
            continue
        at = entity.dxf.align_point if entity.dxf.halign else entity.dxf.insert
        failures.expect(close(at.x, x) and close(at.y, y) and
                        close(entity.dxf.rotation, rotation) and close(entity.dxf.height, 70.0),
                        f"{text!r} at {at}, {entity.dxf.rotation}°, height {entity.dxf.height}")
    return failures


def check_stirrup_legs(msp, failures, b, h, cover, stirrup, bars, stirrups):
    """Every leg of the chosen stirrup where it lies: the outer hoop gives two legs in each
    direction; on the layer 复合箍筋 each segment that runs most of the core's length is a leg
    (an inner hoop's two long sides, or a single tie). A leg parallel to h stands beside a bar of
    the faces of length b (a tie through its centre, a hoop's side d/2 + ds/2 from it)."""
    inset = cover + stirrup / 2
    core_b = b - 2 * inset
    core_h = h - 2 * inset
    along_h, along_b = [], []
    for p in polylines(msp, "复合箍筋"):
        ends = points(p)
        failures.expect(all(close(v.dxf.start_width, stirrup) for v in p.vertices),
                        f"inner stirrup width {ends}")
        pairs = list(zip(ends, ends[1:] + (ends[:1] if p.is_closed else [])))
        for (x1, y1), (x2, y2) in pairs:
            if close(x1, x2) and abs(y2 - y1) >= 0.75 * core_h:
                along_h.append(x1)
            elif close(y1, y2) and abs(x2 - x1) >= 0.75 * core_b:
                along_b.append(y1)
    failures.expect(len(along_h) + 2 == stirrups["legsX"],
                    f"legs parallel to h: 2 + {sorted(along_h)} != {stirrups['legsX']}")
    failures.expect(len(along_b) + 2 == stirrups["legsY"],
                    f"legs parallel to b: 2 + {sorted(along_b)} != {stirrups['legsY']}")

    def beside(position, centres):
        return any(close(position, c) or close(abs(position - c), r + stirrup / 2)
                   for c, r in centres)
    # Bars as (x, y, radius): x = v, y = u.
    for x in along_h:
        failures.expect(beside(x, [(bx, r) for bx, by, r in bars]), f"leg at x = {x} on no bar")
    for y in along_b:
        failures.expect(beside(y, [(by, r) for bx, by, r in bars]), f"leg at y = {y} on no bar")


def check_design(json_path, path, b, h, cover, stirrup, concrete, steel):
    design = json.load(open(json_path, encoding="utf-8"))
    failures = Failures()
    failures.expect(design["status"] == "designed", f"status {design['status']}")
    bars = [(bar["v"], bar["u"], bar["d"] / 2) for bar in design["bars"]]
    # The grade symbols of the Chinese structural drafting fonts: HPB300 %%130 ... HRB500 %%133.
    symbol = {"HPB300": "%%130", "HRB335": "%%131", "HRB400": "%%132", "HRB500": "%%133"}[steel]
    texts = [f"{b:g}", f"{h:g}", f"{b:g}×{h:g}",
             f"角筋 4{symbol}{design['cornerDiameter']}"]
    for face, count in (("b", design["webBarsAlongB"]), ("h", design["webBarsAlongH"])):
        if count > 0:
            texts.append(f"{face}边一侧中部筋 {count}{symbol}{design['webDiameter']}")
    governing = design["governing"]
    utilisation = design["combinations"][governing]["utilisation"]
    texts.append(f"{concrete}  {steel}  GB 50010-2010  利用率 {utilisation:.3f}"
                 f"（组合 {governing + 1}）")
    stirrups = design.get("stirrups")
    if stirrups and stirrups.get("status") == "designed":
        notation = stirrups["notation"]
        # The grade letter of the notation (A ... D) as the drafting font's symbol.
        letter = {"A": "%%130", "B": "%%131", "C": "%%132", "D": "%%133"}[notation[0]]
        texts.append(f"箍筋 {letter}{notation[1:]}  {stirrups['type']}")
    msp = check_common(path, failures, b, h, cover, stirrup, bars, texts)
    if stirrups and stirrups.get("status") == "designed":
        check_stirrup_legs(msp, failures, b, h, cover, stirrup, bars, stirrups)
    return failures


def main():
    if len(sys.argv) == 2:
        failures = check_known_column(sys.argv[1])
    elif len(sys.argv) == 10 and sys.argv[1] == "--design":
        failures = check_design(sys.argv[2], sys.argv[3], *map(float, sys.argv[4:8]),
                                *sys.argv[8:10])
    else:
        print(__doc__, file=sys.stderr)
        return 2
    for message in failures.messages:
        print("FAIL:", message)
    return 1 if failures.messages else 0


if __name__ == "__main__":
    sys.exit(main())
