"""Small ASE files for the viewer's end-to-end tests.

Each test model is an n-sided pyramid with one face normal per face and one
material whose colours tell the models apart on screen. Most stand upright on
the model's Z axis (which the viewer shows pointing up), taller than wide;
model 2 lies along +X from the origin, an arm that the spin swings from one
side of the window to the other.
"""

import math
import os

BACKGROUND = (128, 179, 204)  # the clear colour 0.5, 0.7, 0.8 in bytes

# The light's ambient term is 3.0 and the light model adds its default 0.2, so a
# face shows 3.2 x ambient plus 0.5 x diffuse x (cosine of the normal against
# the view axis); the specular colour is black, so nothing else adds to it.
AMBIENT_GAIN = 3.2
DIFFUSE_GAIN = 0.5

UPRIGHT = dict(base=-3.0, apex=3.0, radius=1.5, lying=False)
ARM = dict(base=0.0, apex=5.0, radius=0.5, lying=True)

# Per model: (sides, shape, diffuse, ambient). Model 1's ambient is blue while
# its diffuse is red, so a frame shows whether both colours reached the
# material.
TEST_MODELS = [
    (4, UPRIGHT, (1.0, 0.0, 0.0), (0.0, 0.0, 0.15)),
    (4, ARM, (0.0, 1.0, 0.0), (0.0, 0.1, 0.0)),
    (5, UPRIGHT, (0.0, 0.0, 1.0), (0.0, 0.0, 0.1)),
    (6, UPRIGHT, (1.0, 1.0, 0.0), (0.1, 0.1, 0.0)),
    (7, UPRIGHT, (1.0, 0.0, 1.0), (0.1, 0.0, 0.1)),
    (8, UPRIGHT, (0.0, 1.0, 1.0), (0.0, 0.1, 0.1)),
]

MODEL_FILES = ["AH64.ASE", "A10.ASE", "MIG21.ASE", "F16.ASE", "F117A.ASE", "F22.ASE"]

def shade_range(number):
    """The colours, in bytes, of a face of model `number` (1-based) seen
    edge-on and seen face-on: every pixel of the model lies between them."""
    _, _, diffuse, ambient = TEST_MODELS[number - 1]
    dark = tuple(AMBIENT_GAIN * a * 255 for a in ambient)
    bright = tuple(d + DIFFUSE_GAIN * c * 255 for d, c in zip(dark, diffuse))
    return dark, bright


def _normal(a, b, c):
    u = [b[i] - a[i] for i in range(3)]
    v = [c[i] - a[i] for i in range(3)]
    n = (u[1] * v[2] - u[2] * v[1], u[2] * v[0] - u[0] * v[2], u[0] * v[1] - u[1] * v[0])
    length = math.sqrt(sum(x * x for x in n))
    return tuple(x / length for x in n)


def pyramid_ase(sides, shape, diffuse, ambient, name="pyramid"):
    """The text of an ASE file holding one pyramid: counter-clockwise front
    faces seen from outside, a fan for the base. A lying pyramid is the
    upright one turned 90 degrees about Y, its apex on +X."""
    verts = [(0.0, 0.0, shape["apex"])]
    for k in range(sides):
        angle = 2 * math.pi * k / sides + 0.3
        verts.append((shape["radius"] * math.cos(angle), shape["radius"] * math.sin(angle), shape["base"]))
    faces = []
    for k in range(sides):
        faces.append((0, 1 + k, 1 + (k + 1) % sides))
    for k in range(1, sides - 1):
        faces.append((1, 1 + k + 1, 1 + k))
    normals = [_normal(verts[a], verts[b], verts[c]) for a, b, c in faces]
    if shape["lying"]:
        turn = lambda p: (p[2], p[1], -p[0])
        verts, normals = [turn(v) for v in verts], [turn(n) for n in normals]
    f = lambda x: "%.4f" % x
    out = ["*3DSMAX_ASCIIEXPORT\t200", '*COMMENT "Tessaly end-to-end test model"',
           "*SCENE {", '\t*SCENE_FILENAME "%s.max"' % name, "\t*SCENE_FIRSTFRAME 0",
           "\t*SCENE_LASTFRAME 100", "}",
           "*MATERIAL_LIST {", "\t*MATERIAL_COUNT 1", "\t*MATERIAL 0 {",
           '\t\t*MATERIAL_NAME "%s"' % name, '\t\t*MATERIAL_CLASS "Standard"',
           "\t\t*MATERIAL_AMBIENT %s" % " ".join(map(f, ambient)),
           "\t\t*MATERIAL_DIFFUSE %s" % " ".join(map(f, diffuse)),
           "\t\t*MATERIAL_SPECULAR 0.0000 0.0000 0.0000",
           "\t\t*MATERIAL_SHINE 0.0000", "\t}", "}",
           "*GEOMOBJECT {", '\t*NODE_NAME "%s"' % name, "\t*MESH {", "\t\t*TIMEVALUE 0",
           "\t\t*MESH_NUMVERTEX %d" % len(verts), "\t\t*MESH_NUMFACES %d" % len(faces),
           "\t\t*MESH_VERTEX_LIST {"]
    for i, v in enumerate(verts):
        out.append("\t\t\t*MESH_VERTEX %d\t%s" % (i, "\t".join(map(f, v))))
    out += ["\t\t}", "\t\t*MESH_FACE_LIST {"]
    for i, (a, b, c) in enumerate(faces):
        out.append("\t\t\t*MESH_FACE %d:  A: %d B: %d C: %d AB: 1 BC: 1 CA: 1"
                   "\t *MESH_SMOOTHING 1 \t*MESH_MTLID 0" % (i, a, b, c))
    out += ["\t\t}", "\t\t*MESH_NORMALS {"]
    for i, n in enumerate(normals):
        out.append("\t\t\t*MESH_FACENORMAL %d\t%s" % (i, "\t".join(map(f, n))))
    out += ["\t\t}", "\t}", "\t*PROP_MOTIONBLUR 0", "\t*PROP_CASTSHADOW 1",
            "\t*PROP_RECVSHADOW 1", "\t*MATERIAL_REF 0", "}", ""]
    return "\n".join(out)


def write_test_models(folder, skip=(), replace=None):
    """Writes the six test models into `folder`, leaving out the file names in
    `skip` and writing the texts of `replace` (file name -> text) instead of
    the pyramids."""
    replace = replace or {}
    for (sides, shape, diffuse, ambient), name in zip(TEST_MODELS, MODEL_FILES):
        if name in skip:
            continue
        text = replace.get(name) or pyramid_ase(sides, shape, diffuse, ambient, name.split(".")[0].lower())
        with open(os.path.join(folder, name), "w", newline="\n") as fh:
            fh.write(text)
