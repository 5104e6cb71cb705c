#!/usr/bin/env python3
"""Checks the bundled aircraft models.

    check_models.py regen GENERATOR MODELS_DIR
        Runs the generator into a temporary folder and compares every file it
        writes, byte for byte, with the committed one.

    check_models.py load TESSALY_DUMP MODELS_DIR
        Loads each model with tessaly-dump and checks what the viewer relies
        on: the file loads, every part is a top-level object with a material,
        the face count, size and centring fit the fixed view, every part is a
        closed surface wound counter-clockwise seen from outside, and the
        stored face normals are the triangles' outward normals.
"""

import filecmp
import json
import math
import os
import subprocess
import sys
import tempfile

MODELS = ["AH64", "A10", "MIG21", "F16", "F117A", "F22"]
MIN_FACES, MAX_FACES = 1000, 20000
MIN_LENGTH, MAX_LENGTH = 10.0, 14.0
# Seen from 15 units with a 60 degree vertical field, a model this compact
# stays inside the window at every spin angle.
MAX_RADIUS_XY, MAX_HEIGHT = 8.0, 5.0


def regen(generator, models_dir):
    with tempfile.TemporaryDirectory() as work:
        subprocess.run([sys.executable, generator, work], check=True)
        written = sorted(os.listdir(work))
        expected = sorted(m + ".ASE" for m in MODELS)
        errors = []
        if written != expected:
            errors.append("generator wrote %s, expected %s" % (written, expected))
        for name in written:
            committed = os.path.join(models_dir, name)
            if not os.path.exists(committed):
                errors.append("%s: not committed in %s" % (name, models_dir))
            elif not filecmp.cmp(os.path.join(work, name), committed, shallow=False):
                errors.append("%s: differs from the generator's output; rerun "
                              "tools/gen_models.py" % name)
        return errors


def sub(a, b):
    return (a[0] - b[0], a[1] - b[1], a[2] - b[2])


def cross(a, b):
    return (a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0])


def dot(a, b):
    return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]


def check_part(label, obj, materials):
    """Problems of one geometric object, as texts."""
    errors = []
    ref = obj["MaterialRef"]
    if not (0 <= ref < len(materials) and materials[ref]):
        errors.append("%s: MaterialRef %d names no material" % (label, ref))
    mesh = obj["Mesh"]
    if not mesh or not mesh["VertexList"] or not mesh["FaceList"] or not mesh["Normals"]:
        return errors + ["%s: mesh without vertices, faces or normals" % label]
    verts = mesh["VertexList"]["Vertices"]
    faces = [(f["A"], f["B"], f["C"]) for f in mesh["FaceList"]["Faces"]]
    normals = mesh["Normals"]["FaceNormals"]
    if len(normals) != len(faces):
        errors.append("%s: %d face normals for %d faces" % (label, len(normals), len(faces)))
    directed = {}
    volume = 0.0
    for i, (a, b, c) in enumerate(faces):
        if not all(0 <= k < len(verts) for k in (a, b, c)):
            errors.append("%s: face %d has a corner outside the vertex list" % (label, i))
            continue
        for edge in ((a, b), (b, c), (c, a)):
            directed[edge] = directed.get(edge, 0) + 1
        pa, pb, pc = verts[a], verts[b], verts[c]
        n = cross(sub(pb, pa), sub(pc, pa))
        length = math.sqrt(dot(n, n))
        volume += dot(pa, cross(pb, pc)) / 6.0
        if length < 1e-7:
            errors.append("%s: face %d is degenerate" % (label, i))
        elif i < len(normals) and dot(n, normals[i]) / length < 0.99:
            errors.append("%s: face %d: stored normal %s is not the triangle's normal"
                          % (label, i, normals[i]))
    # Closed and consistently wound: every edge is walked once in each
    # direction, by exactly two faces.
    open_edges = [e for e, k in directed.items() if k != 1 or directed.get((e[1], e[0])) != 1]
    if open_edges:
        errors.append("%s: %d edges are open, shared by more than two faces or wound the "
                      "same way twice, e.g. %s" % (label, len(open_edges), open_edges[0]))
    if volume <= 0.0:
        errors.append("%s: faces turn inward (signed volume %.4f)" % (label, volume))
    return errors


def check_model(dump, path):
    run = subprocess.run([dump, path], capture_output=True, text=True)
    if run.returncode != 0:
        return ["%s: tessaly-dump exit code %d: %s" % (path, run.returncode, run.stderr.strip())]
    doc = json.loads(run.stdout)["document"]
    errors = []
    if not doc["Header"] or doc["Header"]["Version"] != "200":
        errors.append("header is not *3DSMAX_ASCIIEXPORT 200")
    if not doc["Scene"] or not doc["Comments"]:
        errors.append("no *SCENE block or no *COMMENT")
    if doc["Groups"]:
        errors.append("parts inside *GROUP blocks are not drawn")
    materials = doc["MaterialList"]["Materials"] if doc["MaterialList"] else []
    present = [m for m in materials if m]
    if not 2 <= len(present) <= 4:
        errors.append("%d materials, expected 2 to 4" % len(present))
    if not any(m["Maps"][1] for m in present):
        errors.append("no material with a *MAP_DIFFUSE")
    for m in present:
        # The light's ambient is three times the material's: keep it dark.
        if any(a > 0.25 * d + 1e-4 for a, d in zip(m["Ambient"][:3], m["Diffuse"][:3])):
            errors.append("material %s: ambient %s is too bright for diffuse %s"
                          % (m["Name"], m["Ambient"][:3], m["Diffuse"][:3]))

    objects = doc["GeomObjects"]
    total_faces = 0
    pts = []
    for i, obj in enumerate(objects):
        label = "object %d (%s)" % (i, obj["NodeName"])
        errors.extend(check_part(label, obj, materials))
        if obj["Mesh"] and obj["Mesh"]["FaceList"] and obj["Mesh"]["VertexList"]:
            total_faces += len(obj["Mesh"]["FaceList"]["Faces"])
            pts.extend(obj["Mesh"]["VertexList"]["Vertices"])
    if not MIN_FACES <= total_faces <= MAX_FACES:
        errors.append("%d faces, expected %d to %d" % (total_faces, MIN_FACES, MAX_FACES))
    if pts:
        lo = [min(p[k] for p in pts) for k in range(3)]
        hi = [max(p[k] for p in pts) for k in range(3)]
        length = hi[1] - lo[1]
        centre = [(lo[k] + hi[k]) / 2 for k in range(3)]
        if not MIN_LENGTH <= length <= MAX_LENGTH:
            errors.append("length along Y is %.2f, expected %.0f to %.0f"
                          % (length, MIN_LENGTH, MAX_LENGTH))
        if any(abs(c) > 0.05 for c in centre):
            errors.append("bounding box centre %s is not the origin" % centre)
        radius = max(math.hypot(p[0], p[1]) for p in pts)
        height = max(abs(p[2]) for p in pts)
        if radius > MAX_RADIUS_XY or height > MAX_HEIGHT:
            errors.append("too large for the view: reaches %.2f from the Z axis and %.2f "
                          "from the ground plane" % (radius, height))
        if hi[1] - lo[1] <= hi[2] - lo[2]:
            errors.append("taller than long: the nose does not run along Y")
    return ["%s: %s" % (os.path.basename(path), e) for e in errors]


def main(argv):
    if len(argv) != 4 or argv[1] not in ("regen", "load"):
        sys.stderr.write(__doc__)
        return 2
    if argv[1] == "regen":
        errors = regen(argv[2], argv[3])
    else:
        errors = []
        for name in MODELS:
            errors.extend(check_model(argv[2], os.path.join(argv[3], name + ".ASE")))
    for e in errors[:50]:
        print(e)
    if len(errors) > 50:
        print("... and %d more" % (len(errors) - 50))
    print("%s: %s" % (argv[1], "FAILED" if errors else "ok"))
    return 1 if errors else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
