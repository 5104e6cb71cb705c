"""Parametric parts for low-poly aircraft: lofted bodies, bodies of revolution,
lifting surfaces (wings, tails, fins, blades) and boxes.

Every builder returns a closed, consistently wound triangle mesh whose faces
turn counter-clockwise when seen from outside (`Shape`). Coordinates follow the
models' convention: +X to the right wing, +Y towards the nose, +Z up.
"""

import math


def lerp(a, b, t):
    return a + (b - a) * t


def lerp3(a, b, t):
    return (lerp(a[0], b[0], t), lerp(a[1], b[1], t), lerp(a[2], b[2], t))


class Shape:
    """A closed triangle mesh: vertices and faces (a, b, c, (AB, BC, CA))."""

    def __init__(self):
        self.vertices = []
        self.faces = []

    def vertex(self, p):
        self.vertices.append((float(p[0]), float(p[1]), float(p[2])))
        return len(self.vertices) - 1

    def tri(self, a, b, c, flags=(1, 1, 1)):
        self.faces.append((a, b, c, flags))

    def quad(self, a, b, c, d):
        self.tri(a, b, c, (1, 1, 0))
        self.tri(a, c, d, (0, 1, 1))

    def signed_volume(self):
        total = 0.0
        for a, b, c, _ in self.faces:
            pa, pb, pc = self.vertices[a], self.vertices[b], self.vertices[c]
            total += (pa[0] * (pb[1] * pc[2] - pb[2] * pc[1])
                      - pa[1] * (pb[0] * pc[2] - pb[2] * pc[0])
                      + pa[2] * (pb[0] * pc[1] - pb[1] * pc[0]))
        return total / 6.0

    def orient_outward(self):
        """Reverses every face when the surface is wound inside out."""
        if self.signed_volume() < 0.0:
            self.faces = [(a, c, b, (f[2], f[1], f[0])) for a, b, c, f in self.faces]
        return self

    def map(self, fn):
        """A copy with every vertex passed through `fn`; re-oriented, so that
        mirror images keep their faces turned outward."""
        out = Shape()
        out.vertices = [tuple(fn(v)) for v in self.vertices]
        out.faces = list(self.faces)
        return out.orient_outward()

    def translated(self, d):
        return self.map(lambda v: (v[0] + d[0], v[1] + d[1], v[2] + d[2]))

    def mirrored_x(self):
        return self.map(lambda v: (-v[0], v[1], v[2]))

    def rotated(self, axis, degrees, centre=(0.0, 0.0, 0.0)):
        return self.map(lambda v: rotate(v, axis, degrees, centre))

    def merged(self, *others):
        out = Shape()
        for s in (self,) + others:
            base = len(out.vertices)
            out.vertices.extend(s.vertices)
            out.faces.extend((a + base, b + base, c + base, f) for a, b, c, f in s.faces)
        return out


def rotate(v, axis, degrees, centre=(0.0, 0.0, 0.0)):
    """Turns point `v` by `degrees` about the axis "x", "y" or "z" through `centre`."""
    r = math.radians(degrees)
    c, s = math.cos(r), math.sin(r)
    x, y, z = v[0] - centre[0], v[1] - centre[1], v[2] - centre[2]
    if axis == "x":
        y, z = y * c - z * s, y * s + z * c
    elif axis == "y":
        x, z = x * c + z * s, -x * s + z * c
    else:
        x, y = x * c - y * s, x * s + y * c
    return (x + centre[0], y + centre[1], z + centre[2])


def loft(rings, cap_start=True, cap_end=True, subdivide=1):
    """Skins a list of rings (closed polygons of equal point count, listed in
    the same turning sense) into a closed surface. A ring of one point is an
    apex; open ends are closed with a fan around their centre. `subdivide`
    splits each band into that many bands of straight-line interpolated rings.
    """
    if subdivide > 1:
        fine = [rings[0]]
        for r0, r1 in zip(rings, rings[1:]):
            if len(r0) == 1 or len(r1) == 1:
                fine.append(r1)
                continue
            for k in range(1, subdivide + 1):
                fine.append([lerp3(p, q, k / subdivide) for p, q in zip(r0, r1)])
        rings = fine
    s = Shape()
    idx = [[s.vertex(p) for p in ring] for ring in rings]
    for r0, r1 in zip(idx, idx[1:]):
        if len(r0) == 1:
            n = len(r1)
            for j in range(n):
                s.tri(r0[0], r1[(j + 1) % n], r1[j])
        elif len(r1) == 1:
            n = len(r0)
            for j in range(n):
                s.tri(r1[0], r0[j], r0[(j + 1) % n])
        else:
            n = len(r0)
            for j in range(n):
                k = (j + 1) % n
                s.quad(r0[j], r0[k], r1[k], r1[j])
    for ring, ids, start in ((rings[0], idx[0], True), (rings[-1], idx[-1], False)):
        if len(ids) == 1 or not (cap_start if start else cap_end):
            continue
        n = len(ids)
        centre = s.vertex(tuple(sum(p[i] for p in ring) / n for i in range(3)))
        for j in range(n):
            k = (j + 1) % n
            if start:
                s.tri(centre, ids[k], ids[j])
            else:
                s.tri(centre, ids[j], ids[k])
    return s.orient_outward()


def section(y, cx, cz, half_width, top, bottom, n=16, power=2.0):
    """A cross-section at station `y`: a superellipse of half width
    `half_width`, reaching `top` above and `bottom` below the centre (cx, cz).
    `power` 2 is an ellipse, higher values square it off, lower ones give a
    chined, diamond-like section."""
    pts = []
    for i in range(n):
        a = 2.0 * math.pi * i / n
        c, s = math.cos(a), math.sin(a)
        e = 2.0 / power
        x = math.copysign(abs(c) ** e, c) * half_width
        z = math.copysign(abs(s) ** e, s) * (top if s > 0 else bottom)
        pts.append((cx + x, y, cz + z))
    return pts


def catmull(p0, p1, p2, p3, t):
    t2, t3 = t * t, t * t * t
    return 0.5 * ((2 * p1) + (-p0 + p2) * t + (2 * p0 - 5 * p1 + 4 * p2 - p3) * t2
                  + (-p0 + 3 * p1 - 3 * p2 + p3) * t3)


def smooth_stations(stations, per_segment):
    """Interpolates rows of numbers (y, then shape values) with Catmull-Rom
    splines, `per_segment` rows per interval; the given rows are kept."""
    out = []
    n = len(stations)
    for i in range(n - 1):
        p0 = stations[max(i - 1, 0)]
        p1, p2 = stations[i], stations[i + 1]
        p3 = stations[min(i + 2, n - 1)]
        for k in range(per_segment):
            t = k / per_segment
            out.append(tuple(catmull(a, b, c, d, t) for a, b, c, d in zip(p0, p1, p2, p3)))
    out.append(tuple(stations[-1]))
    return out


def body(stations, n=16, per_segment=3, power=2.0, tip_front=False, tip_back=False):
    """A lofted body from stations (y, cz, half_width, top, bottom), listed
    from the back to the front. `tip_front`/`tip_back` end in a point instead of
    a flat cap (the first or last station then only gives its position)."""
    rows = smooth_stations(stations, per_segment)
    rings = []
    for i, (y, cz, hw, top, bottom) in enumerate(rows):
        if (i == 0 and tip_back) or (i == len(rows) - 1 and tip_front):
            rings.append([(0.0, y, cz)])
        else:
            rings.append(section(y, 0.0, cz, max(hw, 1e-3), max(top, 1e-3), max(bottom, 1e-3),
                                 n, power))
    return loft(rings)


def revolve(profile, n=16, centre=(0.0, 0.0), axis="y"):
    """A body of revolution about an axis parallel to Y (through x, z =
    `centre`) from a profile of (station, radius) pairs; a radius of 0 is an
    apex. With axis "z" the station runs along Z and `centre` is (x, y)."""
    rings = []
    for y, r in profile:
        if r <= 0.0:
            ring = [(0.0, y, 0.0)]
        else:
            ring = [(r * math.cos(2 * math.pi * i / n), y, r * math.sin(2 * math.pi * i / n))
                    for i in range(n)]
        if axis == "y":
            ring = [(p[0] + centre[0], p[1], p[2] + centre[1]) for p in ring]
        else:
            ring = [(p[0] + centre[0], p[2] + centre[1], p[1]) for p in ring]
        rings.append(ring)
    return loft(rings)


def airfoil(le, chord, thickness, chord_dir=(0.0, -1.0, 0.0), thick_dir=(0.0, 0.0, 1.0),
            m=6, sharp=False):
    """A closed airfoil outline: leading edge point `le`, running `chord`
    along `chord_dir`, with the given relative thickness across `thick_dir`.
    `sharp` gives a double-wedge (diamond) section instead of a rounded one."""
    pts = []
    stations = [0.5 * (1 - math.cos(math.pi * i / m)) for i in range(m + 1)]
    def half(t):
        if sharp:
            return thickness * chord * (t / 0.4 if t < 0.4 else (1 - t) / 0.6) * 0.5
        return thickness * chord * 1.3 * math.sqrt(t) * (1 - t)
    upper = [(t, half(t)) for t in stations]
    lower = [(t, -half(t)) for t in reversed(stations[1:-1])]
    for t, h in upper + lower:
        pts.append(tuple(le[i] + chord_dir[i] * t * chord + thick_dir[i] * h for i in range(3)))
    return pts


def lifting_surface(stations, thick_dir=(0.0, 0.0, 1.0), m=6, sharp=False, subdivide=1):
    """A wing, tail or fin from spanwise stations (leading edge point, chord,
    relative thickness), root first. The outline runs back along -Y."""
    rings = [airfoil(le, chord, th, (0.0, -1.0, 0.0), thick_dir, m, sharp)
             for le, chord, th in stations]
    return loft(rings, subdivide=subdivide)


def wing(root_le, root_chord, tip_chord, span, sweep, dihedral=0.0, thickness=0.06,
         tip_thickness=None, m=6, sharp=False, subdivide=2):
    """A right-hand (+X) wing panel: root leading edge at `root_le`, leading-
    edge sweep and dihedral in degrees."""
    tip_le = (root_le[0] + span,
              root_le[1] - span * math.tan(math.radians(sweep)),
              root_le[2] + span * math.tan(math.radians(dihedral)))
    return lifting_surface([(root_le, root_chord, thickness),
                            (tip_le, tip_chord, tip_thickness or thickness)],
                           (0.0, 0.0, 1.0), m, sharp, subdivide)


def fin(root_le, root_chord, tip_chord, height, sweep, cant=0.0, thickness=0.06, m=6,
        sharp=False, subdivide=2):
    """A fin rising from `root_le`; `cant` leans it outwards towards +X, in
    degrees from the vertical."""
    c = math.radians(cant)
    up = (math.sin(c), 0.0, math.cos(c))
    tip_le = (root_le[0] + up[0] * height,
              root_le[1] - height * math.tan(math.radians(sweep)),
              root_le[2] + up[2] * height)
    thick = (math.cos(c), 0.0, -math.sin(c))
    return lifting_surface([(root_le, root_chord, thickness), (tip_le, tip_chord, thickness)],
                           thick, m, sharp, subdivide)


def box(centre, size, subdivide=1):
    """An axis-aligned box."""
    cx, cy, cz = centre
    hx, hy, hz = size[0] / 2, size[1] / 2, size[2] / 2
    rings = [[(cx - hx, y, cz - hz), (cx + hx, y, cz - hz), (cx + hx, y, cz + hz),
              (cx - hx, y, cz + hz)] for y in (cy - hy, cy + hy)]
    return loft(rings, subdivide=subdivide)


def blade(root, tip, chord, thickness):
    """A thin flat blade (rotor blade, antenna) from `root` to `tip`, its
    chord horizontal and across the span."""
    dx, dy = tip[0] - root[0], tip[1] - root[1]
    length = math.hypot(dx, dy)
    ux, uy = -dy / length * chord / 2, dx / length * chord / 2
    t = thickness / 2
    rings = []
    for p in (root, tip):
        rings.append([(p[0] - ux, p[1] - uy, p[2] - t), (p[0] + ux, p[1] + uy, p[2] - t),
                      (p[0] + ux, p[1] + uy, p[2] + t), (p[0] - ux, p[1] - uy, p[2] + t)])
    return loft(rings, subdivide=4)
