#!/usr/bin/env python3
"""Draws the sample aluminium profiles of data/profiles/ as DXF files (millimetres).

Outlines are polylines with rounded corners (bulges); chambers are holes inside them.
Run from the repository root; then scripts/make-profile-table.sh measures them.
"""
import math
import os

OUT = "data/profiles"


def rounded(points, radii):
    """Closed polyline vertices (x, y, bulge) of a polygon with corner fillets."""
    n = len(points)
    verts = []
    for i in range(n):
        p0, p, p1 = points[i - 1], points[i], points[(i + 1) % n]
        r = radii[i] if isinstance(radii, list) else radii
        a = (p[0] - p0[0], p[1] - p0[1])
        b = (p1[0] - p[0], p1[1] - p[1])
        la, lb = math.hypot(*a), math.hypot(*b)
        a, b = (a[0] / la, a[1] / la), (b[0] / lb, b[1] / lb)
        turn = math.atan2(a[0] * b[1] - a[1] * b[0], a[0] * b[0] + a[1] * b[1])
        if r <= 0 or abs(turn) < 1e-12:
            verts.append((p[0], p[1], 0.0))
            continue
        d = r * math.tan(abs(turn) / 2)
        verts.append((p[0] - a[0] * d, p[1] - a[1] * d, math.tan(turn / 4)))
        verts.append((p[0] + b[0] * d, p[1] + b[1] * d, 0.0))
    return verts


def box(x0, y0, x1, y1, r=0.5):
    return rounded([(x0, y0), (x1, y0), (x1, y1), (x0, y1)], r)


def lwpolyline(verts):
    out = ["0", "LWPOLYLINE", "8", "PROFILE", "90", str(len(verts)), "70", "1"]
    for x, y, bulge in verts:
        out += ["10", "%.6f" % x, "20", "%.6f" % y]
        if bulge:
            out += ["42", "%.12f" % bulge]
    return out


def circle(cx, cy, r):
    return ["0", "CIRCLE", "8", "PROFILE", "10", "%.6f" % cx, "20", "%.6f" % cy, "40", "%.6f" % r]


def write(name, label, loops):
    header = ["0", "SECTION", "2", "HEADER", "9", "$ACADVER", "1", "AC1015", "9", "$DWGCODEPAGE",
              "3", "ANSI_936", "9", "$INSUNITS", "70", "4", "0", "ENDSEC"]
    entities = ["0", "SECTION", "2", "ENTITIES"]
    for loop in loops:
        entities += loop
    text = ["0", "TEXT", "8", "LABEL", "10", "0", "20", "-12", "40", "3.5", "1", label]
    entities += text + ["0", "ENDSEC", "0", "EOF"]
    with open(os.path.join(OUT, name), "wb") as f:
        f.write(("\r\n".join(header + entities) + "\r\n").encode("gbk"))


# 60 casement frame: two chambers, a glazing fin on the outer side (asymmetric), walls 1.6.
write("kc60-frame.dxf", "60平开窗框", [
    lwpolyline(rounded([(0, 0), (60, 0), (60, 38), (44, 38), (44, 50), (42, 50), (42, 38), (0, 38)],
                       [1, 1, 0.5, 0.4, 0.4, 0.4, 0.4, 1])),
    lwpolyline(box(1.6, 1.6, 28.4, 36.4)),
    lwpolyline(box(30.0, 1.6, 58.4, 36.4)),
])

# 60 casement sash: stepped outline, three chambers, walls 1.8.
write("kc60-sash.dxf", "60平开窗扇", [
    lwpolyline(rounded([(0, 0), (55, 0), (55, 30), (48, 30), (48, 45), (0, 45)],
                       [1.5, 1.5, 0.5, 0.5, 1.5, 1.5])),
    lwpolyline(box(1.8, 1.8, 46.2, 28.2)),
    lwpolyline(box(48.0, 1.8, 53.2, 28.2)),
    lwpolyline(box(1.8, 30.0, 46.2, 43.2)),
])

# 70 sliding frame: a flat chamber under two track rails, walls 1.4.
write("tl70-frame.dxf", "70推拉窗框", [
    lwpolyline(rounded([(0, 0), (70, 0), (70, 25), (50, 25), (50, 40), (48, 40), (48, 25),
                        (22, 25), (22, 40), (20, 40), (20, 25), (0, 25)],
                       [1, 1, 1, 0.3, 0.5, 0.5, 0.3, 0.3, 0.5, 0.5, 0.3, 1])),
    lwpolyline(box(1.4, 1.4, 68.6, 23.6)),
])

# 70 sliding sash: tall tube with a web, walls 1.4.
write("tl70-sash.dxf", "70推拉窗扇", [
    lwpolyline(box(0, 0, 30, 70, 2)),
    lwpolyline(box(1.4, 1.4, 28.6, 34.3)),
    lwpolyline(box(1.4, 35.7, 28.6, 68.6)),
])

# 60 mullion: 60 × 80 tube with two webs, walls 2.0.
write("zt60-mullion.dxf", "60中梃", [
    lwpolyline(box(0, 0, 60, 80, 3)),
    lwpolyline(box(2, 2, 58, 25.3)),
    lwpolyline(box(2, 27.3, 58, 52.7)),
    lwpolyline(box(2, 54.7, 58, 78)),
])

# 60 transom: tube with a rounded drip top (arc) and a glazing leg on one side, walls 1.6.
write("ht60-transom.dxf", "60横梃", [
    lwpolyline([(1, 0, 0), (59, 0, math.tan(math.pi / 8)), (60, 1, 0), (60, 40, 0.13), (0, 40, 0),
                (0, 6, 0), (-10, 6, 0), (-10, 4, 0), (0, 4, 0), (0, 1, math.tan(math.pi / 8))]),
    lwpolyline(box(1.6, 1.6, 58.4, 38.4)),
])

# 50 door frame: L-shaped with a rebate, two chambers, walls 2.0 (asymmetric).
write("mk50-frame.dxf", "50门框", [
    lwpolyline(rounded([(0, 0), (50, 0), (50, 70), (35, 70), (35, 85), (0, 85)],
                       [1.5, 1.5, 1, 0.5, 1, 1.5])),
    lwpolyline(box(2, 2, 48, 68)),
    lwpolyline(box(2, 70, 33, 83)),
])

# 50 door sash: 50 × 100 tube with three chambers, walls 2.0.
write("mk50-sash.dxf", "50门扇", [
    lwpolyline(box(0, 0, 50, 100, 2)),
    lwpolyline(box(2, 2, 48, 32)),
    lwpolyline(box(2, 34, 48, 66)),
    lwpolyline(box(2, 68, 48, 98)),
])

# Ø50 × 2 round mullion cover.
write("yg50-tube.dxf", "Φ50圆管", [circle(25, 25, 25), circle(25, 25, 23)])
