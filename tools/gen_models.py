#!/usr/bin/env python3
"""Generates the six bundled aircraft models as ASE files.

    tools/gen_models.py [OUTPUT_DIR]      (default: models/ beside tools/)

Each aircraft is put together from parametric parts (tools/model_parts.py),
designed in metres with the nose towards +Y and +Z up, then scaled to a fixed
length and centred on the origin so that the viewer's fixed view shows it
whole. Every part becomes one top-level *GEOMOBJECT. The output depends only
on this code: running it twice gives the same bytes.
"""

import math
import os
import sys

# The helper modules sit beside this script; keep the source tree free of
# byte-code caches.
sys.dont_write_bytecode = True
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from ase_writer import Material, MeshPart, write_ase  # noqa: E402
from model_parts import (blade, body, box, fin, lifting_surface, loft, revolve,  # noqa: E402
                         wing)

MODEL_NAMES = ["AH64", "A10", "MIG21", "F16", "F117A", "F22"]


def materials(body_rgb, glass_rgb, dark_rgb, bitmap):
    return (Material("Body", body_rgb, specular=(0.35, 0.35, 0.35), shine=0.3,
                     shine_strength=0.15, bitmap=bitmap),
            Material("Glass", glass_rgb, specular=(0.7, 0.7, 0.7), shine=0.6,
                     shine_strength=0.8),
            Material("Dark", dark_rgb, specular=(0.15, 0.15, 0.15), shine=0.1,
                     shine_strength=0.05))


class Model:
    """Collects named parts, then scales and centres them."""

    def __init__(self, name, mats):
        self.name = name
        self.materials = list(mats)
        self.parts = []

    def add(self, name, material, shape, smooth=True):
        self.parts.append((name, material, shape, smooth))

    def add_pair(self, name, material, shape, smooth=True):
        """A part on the right (+X) side and its mirror image on the left."""
        self.add(name + "_R", material, shape, smooth)
        self.add(name + "_L", material, shape.mirrored_x(), smooth)

    def finish(self, length):
        """MeshParts scaled so that the model is `length` long along Y, with
        the centre of its bounding box on the origin."""
        pts = [v for _, _, s, _ in self.parts for v in s.vertices]
        lo = [min(p[i] for p in pts) for i in range(3)]
        hi = [max(p[i] for p in pts) for i in range(3)]
        scale = length / (hi[1] - lo[1])
        centre = [(lo[i] + hi[i]) / 2 for i in range(3)]
        out = []
        for name, material, shape, smooth in self.parts:
            verts = [tuple((v[i] - centre[i]) * scale for i in range(3)) for v in shape.vertices]
            out.append(MeshPart(name, material, verts, shape.faces, smooth))
        return out


def rotor_blade_along_y(length, chord, thickness):
    """A blade from the origin along +Y, chord along Z, thin along X."""
    return blade((0.0, 0.0, 0.0), (0.0, length, 0.0), chord, thickness).rotated("y", 90.0)


def wheel(centre, radius, width, n=14):
    """A wheel turning about the X axis."""
    w = width / 2
    shape = revolve([(-w, 0.0), (-w, radius * 0.8), (-w * 0.6, radius), (w * 0.6, radius),
                     (w, radius * 0.8), (w, 0.0)], n)
    return shape.rotated("z", 90.0).translated(centre)


# --------------------------------------------------------------------------
# AH64: attack helicopter. Tandem cockpit, stub wings with rocket pods and
# missile rails, engine nacelles beside the rotor mast, four-blade main and
# tail rotors, chin sensor turret, tail wheel.

def ah64():
    body_m, glass_m, dark_m = materials((0.30, 0.33, 0.21), (0.16, 0.22, 0.26),
                                        (0.13, 0.13, 0.12), "ah64_olive.tga")
    m = Model("AH64", (body_m, glass_m, dark_m))
    m.add("Fuselage", body_m, body([
        (-7.5, 0.80, 0.14, 0.20, 0.16),
        (-5.0, 0.68, 0.21, 0.28, 0.24),
        (-2.6, 0.55, 0.30, 0.38, 0.34),
        (-0.8, 0.45, 0.56, 0.95, 0.70),
        (1.2, 0.30, 0.80, 1.15, 0.90),
        (3.4, 0.10, 0.78, 1.05, 0.95),
        (5.4, -0.15, 0.52, 0.72, 0.72),
        (6.8, -0.35, 0.32, 0.38, 0.45),
    ], n=20, per_segment=3, power=2.8))
    # Stepped tandem canopy: the pilot sits behind and above the gunner.
    m.add("CanopyPilot", glass_m, body([
        (1.9, 1.20, 0.34, 0.05, 0.40),
        (2.3, 1.20, 0.46, 0.62, 0.40),
        (3.4, 1.12, 0.47, 0.55, 0.40),
        (3.9, 1.00, 0.40, 0.20, 0.40),
    ], n=16, per_segment=2, power=3.0))
    m.add("CanopyGunner", glass_m, body([
        (3.7, 0.85, 0.42, 0.30, 0.40),
        (4.1, 0.85, 0.46, 0.55, 0.40),
        (5.1, 0.60, 0.42, 0.42, 0.40),
        (5.9, 0.30, 0.30, 0.12, 0.40),
    ], n=16, per_segment=2, power=3.0))
    # Nose sensor turret and chin gun.
    m.add("SensorTurret", dark_m, revolve([(6.4, 0.0), (6.4, 0.30), (6.7, 0.38), (7.3, 0.36),
                                           (7.45, 0.22), (7.5, 0.0)], 16, (0.0, -0.45)))
    m.add("GunTurret", dark_m, revolve([(-0.25, 0.0), (-0.25, 0.22), (0.25, 0.22), (0.25, 0.0)],
                                        12, (0.0, 4.6), axis="z").translated((0, 0, -1.10)))
    m.add("GunBarrel", dark_m, revolve([(4.6, 0.0), (4.6, 0.07), (5.9, 0.06), (5.9, 0.0)], 8,
                                       (0.0, -1.05)))
    # Engine nacelles on both sides of the mast, exhausts at the back.
    nacelle = revolve([(-1.4, 0.0), (-1.4, 0.22), (-0.9, 0.38), (1.4, 0.42), (2.1, 0.34),
                       (2.1, 0.0)], 16, (0.95, 1.0))
    m.add_pair("Nacelle", body_m, nacelle)
    m.add_pair("Exhaust", dark_m, revolve([(-1.5, 0.0), (-1.5, 0.20), (-1.3, 0.24),
                                           (-1.3, 0.0)], 12, (0.95, 1.0)))
    m.add_pair("Intake", dark_m, revolve([(2.05, 0.0), (2.05, 0.26), (2.15, 0.26),
                                          (2.15, 0.0)], 12, (0.95, 1.0)))
    # Rotor mast, hub and four main blades.
    mast = (0.0, 1.0)
    m.add("Mast", dark_m, revolve([(1.3, 0.0), (1.3, 0.22), (2.5, 0.16), (2.5, 0.0)], 12, mast,
                                  axis="z"))
    m.add("Hub", dark_m, revolve([(2.35, 0.0), (2.35, 0.42), (2.65, 0.42), (2.75, 0.2),
                                  (2.75, 0.0)], 16, mast, axis="z"))
    for i, angle in enumerate((45.0, 135.0, 225.0, 315.0)):
        shape = blade((0.0, 0.3, 0.0), (0.0, 6.9, 0.0), 0.55, 0.09)
        shape = shape.rotated("z", angle).translated((mast[0], mast[1], 2.53))
        m.add("MainBlade%d" % (i + 1), dark_m, shape)
    # Tail: fin, stabilator, tail rotor on the left of the fin, tail wheel.
    m.add("TailFin", body_m, fin((0.0, -6.2, 0.75), 1.7, 1.0, 2.1, 38.0, 0.0, 0.14))
    m.add_pair("Stabilator", body_m, wing((0.0, -6.55, 0.70), 0.85, 0.70, 1.75, 8.0, 0.0, 0.10))
    tail_hub = (-0.32, -7.55, 2.45)
    m.add("TailHub", dark_m, revolve([(-0.22, 0.0), (-0.22, 0.16), (0.1, 0.16), (0.1, 0.0)], 10)
          .rotated("z", 90.0).translated(tail_hub))
    for i, angle in enumerate((35.0, 125.0, 215.0, 305.0)):
        shape = rotor_blade_along_y(1.45, 0.24, 0.05).rotated("x", angle).translated(
            (tail_hub[0] - 0.15, tail_hub[1], tail_hub[2]))
        m.add("TailBlade%d" % (i + 1), dark_m, shape)
    m.add("TailWheelStrut", dark_m, box((0.0, -6.6, 0.2), (0.10, 0.20, 0.9)))
    m.add("TailWheel", dark_m, wheel((0.0, -6.65, -0.25), 0.20, 0.12))
    # Stub wings with a rocket pod and a four-missile rail on each side.
    m.add_pair("StubWing", body_m, wing((0.6, 1.9, 0.10), 1.5, 1.2, 2.0, 6.0, -4.0, 0.14))
    m.add_pair("RocketPod", body_m, revolve([(0.0, 0.0), (0.0, 0.24), (0.15, 0.30),
                                             (2.1, 0.30), (2.2, 0.24), (2.2, 0.0)],
                                            14, (1.45, -0.42)))
    m.add_pair("RocketPodFace", dark_m, revolve([(2.18, 0.0), (2.18, 0.22), (2.24, 0.22),
                                                 (2.24, 0.0)], 12, (1.45, -0.42)))
    m.add_pair("PodPylon", dark_m, box((1.45, 1.2, -0.05), (0.12, 0.9, 0.35)))
    m.add_pair("RailPylon", dark_m, box((2.30, 1.1, -0.08), (0.12, 0.8, 0.35)))
    for j, (dx, dz) in enumerate(((-0.13, -0.30), (0.13, -0.30), (-0.13, -0.56), (0.13, -0.56))):
        m.add_pair("Missile%d" % (j + 1), dark_m,
                   revolve([(0.0, 0.0), (0.0, 0.09), (1.45, 0.09), (1.65, 0.0)], 10,
                           (2.30 + dx, dz)))
    # Main landing gear.
    m.add_pair("GearStrut", dark_m, box((0.95, 3.3, -0.95), (0.12, 0.16, 0.9)))
    m.add_pair("MainWheel", dark_m, wheel((1.05, 3.3, -1.35), 0.34, 0.2))
    return m, 13.5


# --------------------------------------------------------------------------
# A10: straight low wings, twin fins on the tips of the tailplane, engines in
# pods high on the rear fuselage, the gun under the nose, wheel fairings.

def a10():
    body_m, glass_m, dark_m = materials((0.46, 0.50, 0.47), (0.16, 0.22, 0.28),
                                        (0.14, 0.14, 0.14), "a10_grey.tga")
    m = Model("A10", (body_m, glass_m, dark_m))
    m.add("Fuselage", body_m, body([
        (0.2, 0.55, 0.12, 0.16, 0.12),
        (1.8, 0.45, 0.40, 0.50, 0.45),
        (5.5, 0.25, 0.72, 0.85, 0.85),
        (9.0, 0.10, 0.85, 0.95, 0.95),
        (12.0, 0.05, 0.80, 1.00, 0.90),
        (14.4, -0.05, 0.66, 0.72, 0.72),
        (15.8, -0.15, 0.42, 0.40, 0.46),
        (16.3, -0.20, 0.30, 0.26, 0.32),
    ], n=20, per_segment=3, power=2.4))
    m.add("Canopy", glass_m, body([
        (11.6, 0.85, 0.25, 0.18, 0.30),
        (12.4, 0.90, 0.48, 0.55, 0.30),
        (13.6, 0.82, 0.46, 0.45, 0.30),
        (14.6, 0.55, 0.24, 0.16, 0.30),
        (14.9, 0.45, 0.0, 0.0, 0.0),
    ], n=16, per_segment=2, tip_front=True))
    m.add("Gun", dark_m, revolve([(15.9, 0.0), (15.9, 0.16), (17.0, 0.10), (17.0, 0.0)], 10,
                                 (0.0, -0.38)))
    # Wing: flat centre panel, outer panels with dihedral, both straight.
    m.add_pair("WingCentre", body_m, wing((0.6, 10.2, -0.60), 3.2, 2.9, 2.7, 3.0, 0.0, 0.15))
    m.add_pair("WingOuter", body_m, wing((3.25, 10.06, -0.60), 2.9, 1.8, 5.6, 2.0, 7.0, 0.14,
                                         0.11))
    m.add_pair("GearPod", body_m, revolve([(7.8, 0.0), (7.8, 0.18), (8.4, 0.34), (10.2, 0.36),
                                           (11.0, 0.0)], 14, (2.6, -0.80)))
    # Engines high on the rear fuselage, on short pylons.
    nacelle_c = (1.35, 1.30)
    m.add_pair("EnginePod", body_m, revolve([(3.3, 0.0), (3.3, 0.46), (4.2, 0.66), (6.6, 0.70),
                                             (7.5, 0.64), (7.5, 0.0)], 18, nacelle_c))
    m.add_pair("EngineIntake", dark_m, revolve([(7.45, 0.0), (7.45, 0.54), (7.58, 0.54),
                                                (7.58, 0.0)], 16, nacelle_c))
    m.add_pair("EngineExhaust", dark_m, revolve([(3.2, 0.0), (3.2, 0.38), (3.35, 0.38),
                                                 (3.35, 0.0)], 14, nacelle_c))
    m.add_pair("EnginePylon", body_m, fin((0.25, 6.3, 0.70), 2.0, 1.8, 1.05, 0.0, 58.0, 0.12))
    # Tailplane through the fuselage, a fin on each tip.
    m.add_pair("Tailplane", body_m, wing((0.0, 2.5, 0.45), 1.9, 1.6, 3.0, 2.0, 0.0, 0.08))
    # Fins with a rounded top, rising above and below the tailplane tips.
    m.add_pair("Fin", body_m, lifting_surface([
        ((3.0, 2.35, -0.80), 1.55, 0.08),
        ((3.0, 2.55, -0.25), 1.95, 0.08),
        ((3.0, 2.60, 1.30), 2.05, 0.08),
        ((3.0, 2.45, 1.95), 1.75, 0.08),
        ((3.0, 2.15, 2.25), 1.15, 0.08),
    ], thick_dir=(1.0, 0.0, 0.0)))
    return m, 13.0


# --------------------------------------------------------------------------
# MIG21: slender round fuselage with the intake in the nose and its shock
# cone, mid delta wing, swept fin and tailplane, ventral fin, drop tank.

def mig21():
    body_m, glass_m, dark_m = materials((0.70, 0.72, 0.74), (0.16, 0.22, 0.28),
                                        (0.13, 0.13, 0.14), "mig21_metal.tga")
    m = Model("MIG21", (body_m, glass_m, dark_m))
    m.add("Fuselage", body_m, body([
        (0.0, 0.00, 0.50, 0.50, 0.50),
        (1.2, 0.00, 0.58, 0.60, 0.58),
        (3.5, 0.00, 0.66, 0.74, 0.66),
        (6.5, 0.00, 0.70, 0.88, 0.70),
        (9.5, 0.00, 0.69, 0.94, 0.68),
        (11.6, 0.00, 0.62, 0.72, 0.62),
        (13.2, 0.00, 0.52, 0.54, 0.52),
        (14.2, 0.00, 0.46, 0.46, 0.46),
    ], n=20, per_segment=3))
    m.add("IntakeDuct", dark_m, revolve([(14.05, 0.0), (14.05, 0.40), (14.25, 0.40),
                                         (14.25, 0.0)], 20))
    m.add("ShockCone", body_m, revolve([(14.1, 0.0), (14.1, 0.30), (14.6, 0.22), (15.3, 0.0)],
                                       16))
    m.add("Canopy", glass_m, body([
        (10.0, 0.62, 0.24, 0.18, 0.30),
        (10.8, 0.62, 0.34, 0.46, 0.30),
        (11.6, 0.58, 0.32, 0.40, 0.30),
        (12.3, 0.50, 0.20, 0.16, 0.30),
        (12.7, 0.45, 0.0, 0.0, 0.0),
    ], n=16, per_segment=2, tip_front=True))
    m.add("Nozzle", dark_m, revolve([(0.1, 0.0), (0.1, 0.47), (-0.45, 0.44), (-0.45, 0.0)], 18))
    # 57 degree delta with a straight trailing edge.
    span, sweep = 3.1, 57.0
    tip_le_y = 8.4 - span * math.tan(math.radians(sweep))
    m.add_pair("Wing", body_m, lifting_surface([
        ((0.55, 8.4, -0.12), 5.8, 0.045),
        ((0.55 + span, tip_le_y, -0.22), tip_le_y - 2.6, 0.035),
    ], subdivide=3))
    m.add_pair("Tailplane", body_m, wing((0.4, 2.3, -0.05), 1.8, 0.55, 1.65, 55.0, 0.0, 0.05))
    m.add("Fin", body_m, fin((0.0, 4.6, 0.62), 3.6, 1.0, 2.5, 56.0, 0.0, 0.05))
    m.add("VentralFin", body_m, fin((0.0, 2.6, -0.45), 1.6, 0.9, 0.7, 40.0, 180.0, 0.05))
    # Centreline drop tank and wing missiles.
    m.add("DropTank", body_m, revolve([(4.3, 0.0), (4.9, 0.20), (6.6, 0.26), (8.6, 0.22),
                                       (9.4, 0.0)], 14, (0.0, -1.0)))
    m.add("TankPylon", dark_m, box((0.0, 7.0, -0.68), (0.08, 1.6, 0.35)))
    m.add_pair("Missile", body_m, revolve([(3.6, 0.0), (3.6, 0.08), (6.0, 0.08), (6.4, 0.0)],
                                          10, (2.3, -0.50)))
    m.add_pair("MissileFins", dark_m, box((2.3, 3.8, -0.50), (0.45, 0.3, 0.03)))
    m.add_pair("MissileRail", dark_m, box((2.3, 5.0, -0.34), (0.06, 1.4, 0.22)))
    return m, 13.5


# --------------------------------------------------------------------------
# F16: blended fuselage with a bubble canopy, cropped delta wing with strakes,
# the intake under the belly, one fin, ventral fins, wingtip missiles.

def f16():
    body_m, glass_m, dark_m = materials((0.60, 0.63, 0.67), (0.30, 0.26, 0.14),
                                        (0.13, 0.13, 0.14), "f16_grey.tga")
    m = Model("F16", (body_m, glass_m, dark_m))
    m.add("Fuselage", body_m, body([
        (0.3, 0.10, 0.52, 0.52, 0.52),
        (1.6, 0.10, 0.64, 0.62, 0.58),
        (4.2, 0.10, 0.76, 0.78, 0.64),
        (7.2, 0.10, 0.80, 0.86, 0.66),
        (9.6, 0.08, 0.64, 0.80, 0.58),
        (11.6, 0.04, 0.50, 0.58, 0.45),
        (13.5, 0.00, 0.34, 0.36, 0.30),
        (15.0, 0.00, 0.0, 0.0, 0.0),
    ], n=20, per_segment=3, power=2.4, tip_front=True))
    m.add("Canopy", glass_m, body([
        (9.4, 0.62, 0.18, 0.12, 0.25),
        (10.2, 0.62, 0.36, 0.52, 0.25),
        (11.4, 0.58, 0.35, 0.46, 0.25),
        (12.4, 0.48, 0.20, 0.16, 0.25),
        (12.9, 0.42, 0.0, 0.0, 0.0),
    ], n=16, per_segment=2, tip_front=True))
    # Belly intake: a short duct under the cockpit, its mouth dark.
    m.add("IntakeDuct", body_m, body([
        (5.0, -0.45, 0.40, 0.25, 0.25),
        (7.0, -0.60, 0.46, 0.35, 0.34),
        (9.0, -0.62, 0.46, 0.36, 0.36),
        (10.0, -0.62, 0.46, 0.36, 0.36),
    ], n=18, per_segment=2, power=2.6))
    m.add("IntakeMouth", dark_m, body([
        (9.95, -0.62, 0.40, 0.30, 0.30),
        (10.06, -0.62, 0.40, 0.30, 0.30),
    ], n=18, per_segment=1, power=2.6))
    m.add("Nozzle", dark_m, revolve([(0.4, 0.0), (0.4, 0.50), (-0.6, 0.44), (-0.6, 0.0)], 18,
                                    (0.0, 0.1)))
    # Strakes blending into a 40 degree cropped delta.
    m.add_pair("Strake", body_m, lifting_surface([
        ((0.45, 11.2, 0.05), 4.4, 0.04),
        ((1.35, 7.6, 0.05), 1.0, 0.04),
    ]))
    m.add_pair("Wing", body_m, wing((0.7, 7.6, 0.05), 4.3, 1.05, 4.0, 40.0, 0.0, 0.045))
    m.add_pair("TipRail", dark_m, box((4.78, 3.6, 0.05), (0.12, 1.4, 0.1)))
    m.add_pair("TipMissile", body_m, revolve([(2.5, 0.0), (2.5, 0.07), (5.1, 0.07), (5.5, 0.0)],
                                             10, (4.86, 0.05)))
    m.add_pair("TipMissileFins", dark_m, box((4.86, 2.75, 0.05), (0.4, 0.25, 0.03)))
    m.add_pair("Stabilator", body_m, wing((0.55, 2.3, 0.05), 2.2, 0.85, 2.2, 40.0, -10.0, 0.04))
    m.add("Fin", body_m, fin((0.0, 4.4, 0.70), 3.4, 1.15, 2.8, 47.0, 0.0, 0.05))
    m.add_pair("VentralFin", body_m, fin((0.42, 2.9, -0.30), 1.2, 0.7, 0.55, 30.0, 165.0, 0.05))
    return m, 13.5


# --------------------------------------------------------------------------
# F117A: a body and wings of flat facets, 67.5 degree sweep, V tail, flat
# exhaust slots, faceted canopy.

def f117a():
    body_m, glass_m, dark_m = materials((0.27, 0.28, 0.31), (0.34, 0.30, 0.16),
                                        (0.10, 0.10, 0.11), "f117_black.tga")
    m = Model("F117A", (body_m, glass_m, dark_m))

    def facet_ring(y, wb, zb, ws, zs, wt, zt):
        return [(-wb, y, zb), (wb, y, zb), (ws, y, zs), (wt, y, zt), (-wt, y, zt), (-ws, y, zs)]

    m.add("Fuselage", body_m, loft([
        facet_ring(0.3, 1.55, -0.30, 1.70, -0.06, 0.45, 0.28),
        facet_ring(3.0, 1.90, -0.45, 2.05, 0.00, 0.55, 0.58),
        facet_ring(7.0, 2.15, -0.50, 2.35, 0.05, 0.60, 0.95),
        facet_ring(11.0, 1.95, -0.50, 2.15, 0.05, 0.55, 1.20),
        facet_ring(14.0, 1.35, -0.45, 1.55, 0.00, 0.40, 1.00),
        facet_ring(17.2, 0.62, -0.28, 0.76, 0.00, 0.22, 0.45),
        [(0.0, 19.8, -0.02)],
    ], subdivide=8), smooth=False)
    m.add("Canopy", glass_m, loft([
        [(-0.52, 12.2, 1.02), (0.52, 12.2, 1.02), (0.34, 12.4, 1.32), (-0.34, 12.4, 1.32)],
        [(-0.60, 13.6, 0.96), (0.60, 13.6, 0.96), (0.36, 13.8, 1.26), (-0.36, 13.8, 1.26)],
        [(-0.40, 15.2, 0.72), (0.40, 15.2, 0.72), (0.16, 15.0, 0.86), (-0.16, 15.0, 0.86)],
    ], subdivide=4), smooth=False)
    # Wings: sharp double wedges, the leading edge running on from the nose.
    span, sweep = 4.5, 67.5
    root_le = (2.0, 10.6, -0.25)
    tip_le_y = root_le[1] - span * math.tan(math.radians(sweep))
    m.add_pair("Wing", body_m, lifting_surface([
        (root_le, 8.9, 0.05),
        ((root_le[0] + span, tip_le_y, -0.25), 1.7, 0.05),
    ], m=2, sharp=True, subdivide=16), smooth=False)
    m.add_pair("Ruddervator", body_m, fin((0.9, 4.4, 0.45), 2.8, 1.5, 2.7, 55.0, 42.0, 0.06,
                                          m=2, sharp=True, subdivide=10), smooth=False)
    m.add_pair("ExhaustSlot", dark_m, box((0.75, 0.32, -0.12), (1.1, 0.2, 0.18), subdivide=2),
               smooth=False)
    m.add_pair("IntakeGrid", dark_m, loft([
        [(1.80, 10.0, 0.30), (2.02, 10.0, 0.05), (2.12, 10.0, 0.12), (1.92, 10.0, 0.38)],
        [(1.80, 11.2, 0.36), (2.02, 11.2, 0.08), (2.12, 11.2, 0.15), (1.92, 11.2, 0.44)],
    ], subdivide=2), smooth=False)
    return m, 13.5


# --------------------------------------------------------------------------
# F22: wide chined fuselage, side intakes, diamond wing, canted twin fins,
# stabilators, flat nozzles.

def f22():
    body_m, glass_m, dark_m = materials((0.50, 0.53, 0.57), (0.34, 0.30, 0.15),
                                        (0.13, 0.13, 0.14), "f22_grey.tga")
    m = Model("F22", (body_m, glass_m, dark_m))
    m.add("Fuselage", body_m, body([
        (0.6, 0.10, 1.40, 0.40, 0.36),
        (3.0, 0.10, 1.75, 0.55, 0.48),
        (7.0, 0.10, 1.85, 0.62, 0.52),
        (10.0, 0.10, 1.55, 0.70, 0.52),
        (12.6, 0.05, 1.05, 0.74, 0.46),
        (15.0, 0.00, 0.66, 0.55, 0.36),
        (17.2, -0.05, 0.28, 0.22, 0.16),
        (18.4, -0.05, 0.0, 0.0, 0.0),
    ], n=24, per_segment=3, power=1.7, tip_front=True))
    m.add("Canopy", glass_m, body([
        (11.4, 0.62, 0.22, 0.14, 0.30),
        (12.4, 0.64, 0.44, 0.52, 0.30),
        (14.0, 0.56, 0.42, 0.44, 0.30),
        (15.4, 0.40, 0.22, 0.12, 0.30),
        (16.0, 0.34, 0.0, 0.0, 0.0),
    ], n=16, per_segment=2, tip_front=True))
    # Side intakes blending into the fuselage, with dark mouths.
    m.add_pair("Intake", body_m, body([
        (6.0, 0.0, 0.30, 0.35, 0.35),
        (9.0, 0.0, 0.50, 0.52, 0.50),
        (12.0, 0.0, 0.52, 0.54, 0.50),
    ], n=12, per_segment=2, power=1.5).translated((1.20, 0.0, -0.02)))
    m.add_pair("IntakeMouth", dark_m, body([
        (11.95, 0.0, 0.45, 0.46, 0.43),
        (12.08, 0.0, 0.45, 0.46, 0.43),
    ], n=12, per_segment=1, power=1.5).translated((1.20, 0.0, -0.02)))
    # Diamond wing: 42 degree leading edge, trailing edge swept forward.
    span = 5.3
    root_le, root_chord = (1.6, 10.4, 0.05), 8.2
    tip_le_y = root_le[1] - span * math.tan(math.radians(42.0))
    tip_te_y = root_le[1] - root_chord + span * math.tan(math.radians(17.0))
    m.add_pair("Wing", body_m, lifting_surface([
        (root_le, root_chord, 0.04),
        ((root_le[0] + span, tip_le_y, 0.0), tip_le_y - tip_te_y, 0.035),
    ], sharp=True, subdivide=3))
    m.add_pair("Stabilator", body_m, lifting_surface([
        ((1.3, 2.5, 0.05), 3.3, 0.04),
        ((4.1, 0.0, 0.05), 1.1, 0.04),
    ], sharp=True, subdivide=2))
    m.add_pair("Fin", body_m, fin((1.30, 4.9, 0.45), 3.4, 1.3, 2.8, 28.0, 28.0, 0.05,
                                  sharp=True))
    m.add_pair("Nozzle", dark_m, box((0.62, 0.35, 0.08), (1.0, 1.5, 0.5), subdivide=2))
    return m, 13.5


BUILDERS = {"AH64": ah64, "A10": a10, "MIG21": mig21, "F16": f16, "F117A": f117a, "F22": f22}


def main(argv):
    out_dir = argv[1] if len(argv) > 1 else os.path.join(
        os.path.dirname(os.path.dirname(os.path.abspath(__file__))), "models")
    os.makedirs(out_dir, exist_ok=True)
    for name in MODEL_NAMES:
        model, length = BUILDERS[name]()
        parts = model.finish(length)
        write_ase(os.path.join(out_dir, name + ".ASE"), name.lower() + ".max",
                  model.materials, parts)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
