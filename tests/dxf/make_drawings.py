#!/usr/bin/env python3
"""Writes the test drawings: one profile placed and drawn the ways CAD programs and profile
makers draw it, in several DXF versions. Usage: make_drawings.py OUT_DIR [CASE...] (all cases without names)

The profile: a 60 x 40 plate with a hole of radius 8 at (20, 22), in its own coordinates with
the plate's corner at (0, 0). The C++ test knows how each case places it."""
import math
import os
import sys

import ezdxf
from ezdxf.math import BSpline, Vec3, rational_bspline_from_arc

VERSIONS = ["R12", "R2000", "R2007", "R2013", "R2018"]
W, H, R, HOLE = 60.0, 40.0, 8.0, (20.0, 22.0)


def new(version, units=4):
    doc = ezdxf.new(version, setup=True)  # setup: the standard linetypes (CENTER, DASHED, ...)
    doc.header["$INSUNITS"] = units
    return doc


def polygon(space, points, version, attribs=None, closed=True):
    """A closed outline: LWPOLYLINE, or POLYLINE in R12. Points are (x, y[, bulge])."""
    attribs = attribs or {}
    if version == "R12":
        poly = space.add_polyline2d([p[:2] for p in points], dxfattribs=attribs, close=closed)
        for vertex, p in zip(poly.vertices, points):
            if len(p) > 2:
                vertex.dxf.bulge = p[2]
        return
    space.add_lwpolyline(points, format="xyb", close=closed, dxfattribs=attribs)


def plate(space, version, at=(0.0, 0.0), scale=1.0):
    x, y = at
    polygon(space, [(x, y), (x + W * scale, y), (x + W * scale, y + H * scale), (x, y + H * scale)],
            version)
    space.add_circle((x + HOLE[0] * scale, y + HOLE[1] * scale), R * scale)


def profile_block(doc, name="P", base=(0, 0)):
    block = doc.blocks.new(name, base_point=base)
    plate(block, VERSION)
    return block


def insert(space, name, at, **attribs):
    return space.add_blockref(name, at, dxfattribs=attribs)


def case_plain(doc, msp):
    plate(msp, VERSION)


def case_block_moved(doc, msp):
    profile_block(doc)
    insert(msp, "P", (100, 50))


def case_block_rotated(doc, msp):
    profile_block(doc)
    insert(msp, "P", (0, 0), rotation=90)


def case_block_scaled(doc, msp):
    profile_block(doc)
    insert(msp, "P", (0, 0), xscale=2, yscale=2)


def case_block_mirrored(doc, msp):
    profile_block(doc)
    insert(msp, "P", (0, 0), xscale=-1)


def case_block_unequal(doc, msp):
    profile_block(doc)
    insert(msp, "P", (0, 0), xscale=2, yscale=1)


def case_block_base(doc, msp):
    profile_block(doc, base=(30, 20))
    insert(msp, "P", (0, 0))


def case_block_nested(doc, msp):
    profile_block(doc)
    outer = doc.blocks.new("Q")
    outer.add_blockref("P", (10, 0), dxfattribs={"rotation": 30})
    insert(msp, "Q", (200, 100), xscale=2, yscale=2, rotation=15)


def case_block_twice(doc, msp):
    profile_block(doc)
    insert(msp, "P", (0, 0))
    insert(msp, "P", (100, 0))


def case_block_array(doc, msp):
    profile_block(doc)
    insert(msp, "P", (0, 0), column_count=2, row_count=2, column_spacing=100, row_spacing=80)


def case_block_seen_from_below(doc, msp):
    profile_block(doc)
    insert(msp, "P", (50, 0), extrusion=(0, 0, -1))


def case_far(doc, msp):
    plate(msp, VERSION, at=(500000.0, -300000.0))


def case_units_cm(doc, msp):
    doc.header["$INSUNITS"] = 5
    plate(msp, VERSION, scale=0.1)


def chain(msp, points, gaps):
    """Lines from point to point, each start moved off the previous end by the next gap."""
    for k in range(len(points) - 1):
        g = gaps[k % len(gaps)]
        a, b = points[k], points[k + 1]
        angle = 0.7 * k
        msp.add_line((a[0] + g * math.cos(angle), a[1] + g * math.sin(angle)), b)


def case_lines_with_gaps(doc, msp):
    corners = [(0, 0), (W, 0), (W, H), (0, H), (0, 0)]
    chain(msp, corners, [5e-5, 2e-5, 1e-4, 7e-5])
    n = 720
    ring = [(HOLE[0] + R * math.cos(2 * math.pi * k / n), HOLE[1] + R * math.sin(2 * math.pi * k / n))
            for k in range(n + 1)]
    chain(msp, ring, [2e-5, 1e-4, 6e-5])


def case_duplicates(doc, msp):
    plate(msp, VERSION)
    polygon(msp, [(0, H), (W, H), (W, 0), (0, 0)], VERSION)  # the outline again, the other way
    msp.add_circle(HOLE, R)
    # The hole once more as two arcs, and a side of the plate as a line.
    msp.add_arc(HOLE, R, 0, 180)
    msp.add_arc(HOLE, R, 180, 360)


def case_duplicates_lines_first(doc, msp):
    corners = [(0, 0), (W, 0), (W, H), (0, H), (0, 0)]
    for a, b in zip(corners, corners[1:]):
        msp.add_line(a, b)
    plate(msp, VERSION)
    msp.add_line((W, H), (W, 0))


def case_centre_lines(doc, msp):
    plate(msp, VERSION)
    msp.add_line((-10, HOLE[1]), (W + 10, HOLE[1]), dxfattribs={"linetype": "CENTER"})
    doc.layers.add("AXES", linetype="DASHED")
    msp.add_line((HOLE[0], -10), (HOLE[0], H + 10), dxfattribs={"layer": "AXES"})
    axis = doc.blocks.new("AX")
    axis.add_circle((0, 0), R + 2, dxfattribs={"linetype": "BYBLOCK"})
    insert(msp, "AX", HOLE, linetype="HIDDEN")


def case_ellipse_hole(doc, msp):
    polygon(msp, [(0, 0), (W, 0), (W, H), (0, H)], VERSION)
    msp.add_ellipse(HOLE, major_axis=(6, 8), ratio=0.6)


def case_ellipse_half(doc, msp):
    polygon(msp, [(0, 0), (W, 0), (W, H), (0, H)], VERSION)
    msp.add_ellipse((30, 20), major_axis=(10, 0), ratio=0.5, start_param=0, end_param=math.pi)
    msp.add_line((20, 20), (40, 20))


def case_ellipse_in_unequal_block(doc, msp):
    block = doc.blocks.new("E")
    block.add_lwpolyline([(0, 0), (W, 0), (W, H), (0, H)], close=True)
    block.add_ellipse(HOLE, major_axis=(6, 8), ratio=0.6)
    insert(msp, "E", (0, 0), xscale=-2, yscale=1, rotation=90)


def case_spline_circle(doc, msp):
    polygon(msp, [(0, 0), (W, 0), (W, H), (0, H)], VERSION)
    for start, end in ((0, 180), (180, 360)):
        arc = rational_bspline_from_arc(center=Vec3(HOLE), radius=R, start_angle=start,
                                        end_angle=end)
        msp.add_rational_spline(arc.control_points, arc.weights(), degree=arc.degree,
                                knots=arc.knots())


NOSE = [(0, 0), (40, 0), (55, 0), (62, 10), (62, 30), (55, 40), (40, 40), (0, 40)]


def nose_spline():
    return BSpline.from_fit_points([Vec3(p) for p in NOSE[1:-1]], degree=3)


def case_spline_nose(doc, msp):
    spline = nose_spline()
    msp.add_open_spline(spline.control_points, degree=spline.degree, knots=spline.knots())
    msp.add_line(NOSE[-2], NOSE[-1])
    msp.add_line(NOSE[-1], NOSE[0])
    msp.add_line(NOSE[0], NOSE[1])
    msp.add_circle(HOLE, R)


def case_spline_nose_dense(doc, msp):
    points = [(p.x, p.y) for p in nose_spline().approximate(50000)]
    polygon(msp, points + [NOSE[-1], NOSE[0]], VERSION)
    n = 20000
    msp.add_lwpolyline([(HOLE[0] + R * math.cos(2 * math.pi * k / n),
                         HOLE[1] + R * math.sin(2 * math.pi * k / n)) for k in range(n)],
                       close=True)


def case_chinese_layers(doc, msp):
    doc.header["$DWGCODEPAGE"] = "ANSI_936"
    doc.layers.add("型材", linetype="CONTINUOUS")
    doc.layers.add("中心线", linetype="CENTER")
    polygon(msp, [(0, 0), (W, 0), (W, H), (0, H)], VERSION, {"layer": "型材"})
    msp.add_circle(HOLE, R, dxfattribs={"layer": "型材"})
    msp.add_line((-10, 0), (70, 40), dxfattribs={"layer": "中心线"})


NEEDS_NEW = {"ellipse", "spline", "units"}  # ELLIPSE, SPLINE came with R13, $INSUNITS with R2000
ONLY_NEW = {"case_spline_nose_dense": ["R2018"]}


def main():
    global VERSION
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    cases = {name[5:]: f for name, f in globals().items() if name.startswith("case_")}
    wanted = sys.argv[2:] or list(cases)
    for name, make in cases.items():
        if name not in wanted:
            continue
        for version in ONLY_NEW.get("case_" + name, VERSIONS):
            if version == "R12" and any(word in name for word in NEEDS_NEW):
                continue
            VERSION = version
            doc = new(version)
            make(doc, doc.modelspace())
            doc.saveas(os.path.join(out, f"{name}-{version}.dxf"))


VERSION = "R2018"
if __name__ == "__main__":
    main()
