#!/usr/bin/env python3
"""Writes a large ASE file of about the requested size, laid out the way the
common exporters write it: a scene block, a material list with texture maps,
then many geometric objects, each with a node transform and a mesh holding a
vertex list, a face list with tagged face lines, texture vertices and faces,
and face and vertex normals.

    tools/gen_large_ase.py SIZE OUT [--seed N]

SIZE is a byte count with an optional K, M or G suffix (powers of 1024), for
example 100M. The output is deterministic for a given size and seed. Objects
are regular grids of varying size (a few hundred to several thousand
vertices), so every face names vertices that exist.
"""

import argparse
import math
import random
import sys

MATERIAL_COUNT = 24


def parse_size(text):
    units = {"K": 1 << 10, "M": 1 << 20, "G": 1 << 30}
    text = text.strip().upper().rstrip("B")
    if text and text[-1] in units:
        return int(float(text[:-1]) * units[text[-1]])
    return int(text)


def header():
    return (
        "*3DSMAX_ASCIIEXPORT\t200\n"
        '*COMMENT "AsciiExport Version  2.00 - generated test scene"\n'
        "*SCENE {\n"
        '\t*SCENE_FILENAME "large_scene.max"\n'
        "\t*SCENE_FIRSTFRAME 0\n"
        "\t*SCENE_LASTFRAME 100\n"
        "\t*SCENE_FRAMESPEED 30\n"
        "\t*SCENE_TICKSPERFRAME 160\n"
        "\t*SCENE_BACKGROUND_STATIC 0.0000\t0.0000\t0.0000\n"
        "\t*SCENE_AMBIENT_STATIC 0.0588\t0.0588\t0.0588\n"
        "}\n"
    )


def materials(rng):
    out = ["*MATERIAL_LIST {\n", "\t*MATERIAL_COUNT %d\n" % MATERIAL_COUNT]
    for m in range(MATERIAL_COUNT):
        r, g, b = (rng.uniform(0.1, 0.9) for _ in range(3))
        out.append(
            "\t*MATERIAL %d {\n"
            '\t\t*MATERIAL_NAME "Material #%d"\n'
            '\t\t*MATERIAL_CLASS "Standard"\n'
            "\t\t*MATERIAL_AMBIENT %.4f\t%.4f\t%.4f\n"
            "\t\t*MATERIAL_DIFFUSE %.4f\t%.4f\t%.4f\n"
            "\t\t*MATERIAL_SPECULAR 0.9000\t0.9000\t0.9000\n"
            "\t\t*MATERIAL_SHINE %.4f\n"
            "\t\t*MATERIAL_SHINESTRENGTH 0.1000\n"
            "\t\t*MATERIAL_TRANSPARENCY 0.0000\n"
            "\t\t*MATERIAL_WIRESIZE 1.0000\n"
            "\t\t*MATERIAL_SHADING Blinn\n"
            "\t\t*MATERIAL_XP_FALLOFF 0.0000\n"
            "\t\t*MATERIAL_SELFILLUM 0.0000\n"
            "\t\t*MATERIAL_FALLOFF In\n"
            "\t\t*MATERIAL_XP_TYPE Filter\n"
            "\t\t*MAP_DIFFUSE {\n"
            '\t\t\t*MAP_NAME "Map #%d"\n'
            '\t\t\t*MAP_CLASS "Bitmap"\n'
            "\t\t\t*MAP_SUBNO 1\n"
            "\t\t\t*MAP_AMOUNT 1.0000\n"
            '\t\t\t*BITMAP "C:\\maps\\texture_%02d.tga"\n'
            "\t\t\t*MAP_TYPE Screen\n"
            "\t\t\t*UVW_U_OFFSET 0.0000\n"
            "\t\t\t*UVW_V_OFFSET 0.0000\n"
            "\t\t\t*UVW_U_TILING 1.0000\n"
            "\t\t\t*UVW_V_TILING 1.0000\n"
            "\t\t\t*UVW_ANGLE 0.0000\n"
            "\t\t\t*UVW_BLUR 1.0000\n"
            "\t\t\t*UVW_BLUR_OFFSET 0.0000\n"
            "\t\t\t*UVW_NOUSE_AMT 1.0000\n"
            "\t\t\t*UVW_NOISE_SIZE 1.0000\n"
            "\t\t\t*UVW_NOISE_LEVEL 1\n"
            "\t\t\t*UVW_NOISE_PHASE 0.0000\n"
            "\t\t\t*BITMAP_FILTER Pyramidal\n"
            "\t\t}\n"
            "\t}\n"
            % (m, m + 1, r * 0.5, g * 0.5, b * 0.5, r, g, b, rng.uniform(0.05, 0.5), m + 1, m)
        )
    out.append("}\n")
    return "".join(out)


def geomobject(rng, number):
    """One object: a (cols x rows) grid bent over a random offset."""
    cols = rng.randint(6, 60)
    rows = rng.randint(6, 40)
    name = "Object%05d" % number
    ox, oy, oz = (rng.uniform(-500.0, 500.0) for _ in range(3))
    scale = rng.uniform(0.5, 20.0)
    material = rng.randrange(MATERIAL_COUNT)
    nv = cols * rows
    out = [
        "*GEOMOBJECT {\n",
        '\t*NODE_NAME "%s"\n' % name,
        "\t*NODE_TM {\n",
        '\t\t*NODE_NAME "%s"\n' % name,
        "\t\t*INHERIT_POS 0 0 0\n\t\t*INHERIT_ROT 0 0 0\n\t\t*INHERIT_SCL 0 0 0\n",
        "\t\t*TM_ROW0 1.0000\t0.0000\t0.0000\n",
        "\t\t*TM_ROW1 0.0000\t1.0000\t0.0000\n",
        "\t\t*TM_ROW2 0.0000\t0.0000\t1.0000\n",
        "\t\t*TM_ROW3 %.4f\t%.4f\t%.4f\n" % (ox, oy, oz),
        "\t\t*TM_POS %.4f\t%.4f\t%.4f\n" % (ox, oy, oz),
        "\t\t*TM_ROTAXIS 0.0000\t0.0000\t0.0000\n\t\t*TM_ROTANGLE 0.0000\n",
        "\t\t*TM_SCALE 1.0000\t1.0000\t1.0000\n",
        "\t\t*TM_SCALEAXIS 0.0000\t0.0000\t0.0000\n\t\t*TM_SCALEAXISANG 0.0000\n",
        "\t}\n",
        "\t*MESH {\n",
        "\t\t*TIMEVALUE 0\n",
        "\t\t*MESH_NUMVERTEX %d\n" % nv,
    ]
    faces = []
    for r in range(rows - 1):
        for c in range(cols - 1):
            v = r * cols + c
            faces.append((v, v + 1, v + cols))
            faces.append((v + 1, v + cols + 1, v + cols))
    out.append("\t\t*MESH_NUMFACES %d\n" % len(faces))

    # Vertices on a wavy sheet, and their (approximate) normals.
    amp = rng.uniform(0.0, 0.3) * scale
    freq = rng.uniform(0.2, 1.5)
    pos = []
    nrm = []
    for r in range(rows):
        for c in range(cols):
            x = ox + c * scale
            y = oy + r * scale
            s = math.sin((c + r) * freq)
            z = oz + amp * s
            pos.append((x, y, z))
            d = amp * freq * math.cos((c + r) * freq) / scale
            inv = 1.0 / math.sqrt(1.0 + 2.0 * d * d)
            nrm.append((-d * inv, -d * inv, inv))

    vl = ["\t\t*MESH_VERTEX_LIST {\n"]
    for i, (x, y, z) in enumerate(pos):
        vl.append("\t\t\t*MESH_VERTEX %4d\t%.4f\t%.4f\t%.4f\n" % (i, x, y, z))
    vl.append("\t\t}\n")
    out.append("".join(vl))

    fl = ["\t\t*MESH_FACE_LIST {\n"]
    for i, (a, b, c) in enumerate(faces):
        fl.append(
            "\t\t\t*MESH_FACE %4d:    A: %4d B: %4d C: %4d AB:    1 BC:    1 CA:    0"
            "\t *MESH_SMOOTHING %d \t*MESH_MTLID %d\n" % (i, a, b, c, 1 + (i & 3), i % 3)
        )
    fl.append("\t\t}\n")
    out.append("".join(fl))

    out.append("\t\t*MESH_NUMTVERTEX %d\n" % nv)
    tl = ["\t\t*MESH_TVERTLIST {\n"]
    for r in range(rows):
        v = r / (rows - 1)
        for c in range(cols):
            tl.append("\t\t\t*MESH_TVERT %d\t%.4f\t%.4f\t0.0000\n" % (r * cols + c, c / (cols - 1), v))
    tl.append("\t\t}\n")
    out.append("".join(tl))

    out.append("\t\t*MESH_NUMTVFACES %d\n" % len(faces))
    tf = ["\t\t*MESH_TFACELIST {\n"]
    for i, (a, b, c) in enumerate(faces):
        tf.append("\t\t\t*MESH_TFACE %d\t%d\t%d\t%d\n" % (i, a, b, c))
    tf.append("\t\t}\n")
    out.append("".join(tf))

    out.append("\t\t*MESH_NUMCVERTEX 0\n")
    nl = ["\t\t*MESH_NORMALS {\n"]
    for i, f in enumerate(faces):
        n = nrm[f[0]]
        nl.append("\t\t\t*MESH_FACENORMAL %d\t%.4f\t%.4f\t%.4f\n" % (i, n[0], n[1], n[2]))
        for v in f:
            n = nrm[v]
            nl.append("\t\t\t\t*MESH_VERTEXNORMAL %d\t%.4f\t%.4f\t%.4f\n" % (v, n[0], n[1], n[2]))
    nl.append("\t\t}\n")
    out.append("".join(nl))

    out.append(
        "\t}\n"
        "\t*PROP_MOTIONBLUR 0\n"
        "\t*PROP_CASTSHADOW 1\n"
        "\t*PROP_RECVSHADOW 1\n"
        "\t*MATERIAL_REF %d\n"
        "}\n" % material
    )
    return "".join(out)


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("size", type=parse_size, help="approximate size, e.g. 10M, 100M, 500M")
    parser.add_argument("out", help="output file")
    parser.add_argument("--seed", type=int, default=1)
    args = parser.parse_args()

    rng = random.Random(args.seed)
    written = 0
    objects = 0
    with open(args.out, "w", encoding="ascii", newline="\n") as f:
        for part in (header(), materials(rng)):
            f.write(part)
            written += len(part)
        while written < args.size:
            text = geomobject(rng, objects)
            f.write(text)
            written += len(text)
            objects += 1
    print("%s: %d bytes, %d objects" % (args.out, written, objects), file=sys.stderr)


if __name__ == "__main__":
    main()
