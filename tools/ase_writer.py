"""Writes triangle meshes as ASE (ASCII Scene Export) text.

The layout follows what a 3D package's ASCII exporter writes: a header, a
comment, a *SCENE block, a *MATERIAL_LIST and one top-level *GEOMOBJECT per
part, each with its node transform, its mesh (vertices, faces, texture
coordinates, face and vertex normals) and its material reference.

Vertices are written in world space, as exporters do; the node transform only
records the part's pivot. Every real number is written with four decimals, so
the same input always gives the same bytes.
"""

import math

# Faces meeting at a sharper angle than this keep a crease between them.
SMOOTH_ANGLE = 50.0


def fmt(value):
    """A real number with four decimals; negative zero is written as zero."""
    text = "%.4f" % value
    return "0.0000" if text == "-0.0000" else text


def fmt3(values, sep="\t"):
    return sep.join(fmt(v) for v in values)


def sub(a, b):
    return (a[0] - b[0], a[1] - b[1], a[2] - b[2])


def cross(a, b):
    return (a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0])


def normalize(v):
    length = math.sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2])
    if length == 0.0:
        return (0.0, 0.0, 0.0)
    return (v[0] / length, v[1] / length, v[2] / length)


class Material:
    """One entry of the material list. `ambient` is usually a small fraction of
    `diffuse`: the viewer's light multiplies the ambient colour by three."""

    def __init__(self, name, diffuse, ambient_ratio=0.15, specular=(0.3, 0.3, 0.3),
                 shine=0.25, shine_strength=0.1, bitmap=None):
        self.name = name
        self.diffuse = diffuse
        self.ambient = tuple(c * ambient_ratio for c in diffuse)
        self.specular = specular
        self.shine = shine
        self.shine_strength = shine_strength
        self.bitmap = bitmap


class MeshPart:
    """One closed triangle mesh with one material.

    `faces` holds (a, b, c, edge_flags) with vertex indices counter-clockwise
    seen from outside and edge_flags a triple of 0/1 for AB, BC, CA (the
    diagonals of split quads are hidden edges). `smooth` selects smoothing
    group 1 with averaged vertex normals, or group 0 with faceted normals.
    """

    def __init__(self, name, material, vertices, faces, smooth=True):
        self.name = name
        self.material = material
        self.vertices = [tuple(v) for v in vertices]
        self.faces = list(faces)
        self.smooth = smooth

    def face_normal(self, face):
        a, b, c = (self.vertices[i] for i in face[:3])
        return normalize(cross(sub(b, a), sub(c, a)))


def _rounded(part):
    """The part with its vertices rounded to what the file will hold, so that
    the normals written are those of the triangles as read back."""
    verts = [tuple(float(fmt(c)) for c in v) for v in part.vertices]
    return MeshPart(part.name, part.material, verts, part.faces, part.smooth)


def _corner_normals(part, face_normals):
    """The normal of each face corner. Smooth parts average, weighted by area,
    the normals of the faces around the corner's vertex that turn less than
    `SMOOTH_ANGLE` from the face itself, so creases such as the rim of an end
    cap stay sharp; faceted parts use the face normal."""
    if not part.smooth:
        return [(fn, fn, fn) for fn in face_normals]
    around = [[] for _ in part.vertices]
    weighted = []
    for i, face in enumerate(part.faces):
        a, b, c = (part.vertices[k] for k in face[:3])
        area = math.sqrt(sum(x * x for x in cross(sub(b, a), sub(c, a))))
        weighted.append(tuple(x * area for x in face_normals[i]))
        for k in face[:3]:
            around[k].append(i)
    limit = math.cos(math.radians(SMOOTH_ANGLE))
    out = []
    for i, face in enumerate(part.faces):
        fn = face_normals[i]
        corners = []
        for k in face[:3]:
            total = [0.0, 0.0, 0.0]
            for j in around[k]:
                other = face_normals[j]
                if fn[0] * other[0] + fn[1] * other[1] + fn[2] * other[2] >= limit:
                    for d in range(3):
                        total[d] += weighted[j][d]
            corners.append(normalize(total))
        out.append(tuple(corners))
    return out


def _uv(part):
    """Planar texture coordinates: the side view (Y, Z) fitted into 0..1."""
    ys = [v[1] for v in part.vertices]
    zs = [v[2] for v in part.vertices]
    y0, z0 = min(ys), min(zs)
    span = max(max(ys) - y0, max(zs) - z0, 1e-6)
    return [((v[1] - y0) / span, (v[2] - z0) / span, 0.0) for v in part.vertices]


def _write_material(out, index, m):
    out.append("\t*MATERIAL %d {" % index)
    out.append('\t\t*MATERIAL_NAME "%s"' % m.name)
    out.append('\t\t*MATERIAL_CLASS "Standard"')
    out.append("\t\t*MATERIAL_AMBIENT %s" % fmt3(m.ambient))
    out.append("\t\t*MATERIAL_DIFFUSE %s" % fmt3(m.diffuse))
    out.append("\t\t*MATERIAL_SPECULAR %s" % fmt3(m.specular))
    out.append("\t\t*MATERIAL_SHINE %s" % fmt(m.shine))
    out.append("\t\t*MATERIAL_SHINESTRENGTH %s" % fmt(m.shine_strength))
    out.append("\t\t*MATERIAL_TRANSPARENCY 0.0000")
    out.append("\t\t*MATERIAL_WIRESIZE 1.0000")
    out.append("\t\t*MATERIAL_SHADING Blinn")
    out.append("\t\t*MATERIAL_XP_FALLOFF 0.0000")
    out.append("\t\t*MATERIAL_SELFILLUM 0.0000")
    out.append("\t\t*MATERIAL_FALLOFF In")
    out.append("\t\t*MATERIAL_XP_TYPE Filter")
    if m.bitmap:
        out.append("\t\t*MAP_DIFFUSE {")
        out.append('\t\t\t*MAP_NAME "%s"' % (m.name + "Map"))
        out.append('\t\t\t*MAP_CLASS "Bitmap"')
        out.append("\t\t\t*MAP_SUBNO 1")
        out.append("\t\t\t*MAP_AMOUNT 1.0000")
        out.append('\t\t\t*BITMAP "%s"' % m.bitmap)
        out.append("\t\t\t*MAP_TYPE Screen")
        out.append("\t\t\t*UVW_U_OFFSET 0.0000")
        out.append("\t\t\t*UVW_V_OFFSET 0.0000")
        out.append("\t\t\t*UVW_U_TILING 1.0000")
        out.append("\t\t\t*UVW_V_TILING 1.0000")
        out.append("\t\t\t*UVW_ANGLE 0.0000")
        out.append("\t\t\t*UVW_BLUR 1.0000")
        out.append("\t\t\t*UVW_BLUR_OFFSET 0.0000")
        out.append("\t\t\t*UVW_NOUSE_AMT 1.0000")
        out.append("\t\t\t*UVW_NOISE_SIZE 1.0000")
        out.append("\t\t\t*UVW_NOISE_LEVEL 1")
        out.append("\t\t\t*UVW_NOISE_PHASE 0.0000")
        out.append("\t\t\t*BITMAP_FILTER Pyramidal")
        out.append("\t\t}")
    out.append("\t}")


def _write_geomobject(out, part, material_index):
    part = _rounded(part)
    xs, ys, zs = zip(*part.vertices)
    pivot = ((min(xs) + max(xs)) / 2, (min(ys) + max(ys)) / 2, (min(zs) + max(zs)) / 2)
    face_normals = [part.face_normal(f) for f in part.faces]
    corner_normals = _corner_normals(part, face_normals)
    uvs = _uv(part)
    smoothing = 1 if part.smooth else 0

    out.append("*GEOMOBJECT {")
    out.append('\t*NODE_NAME "%s"' % part.name)
    out.append("\t*NODE_TM {")
    out.append('\t\t*NODE_NAME "%s"' % part.name)
    out.append("\t\t*INHERIT_POS 0 0 0")
    out.append("\t\t*INHERIT_ROT 0 0 0")
    out.append("\t\t*INHERIT_SCL 0 0 0")
    out.append("\t\t*TM_ROW0 1.0000\t0.0000\t0.0000")
    out.append("\t\t*TM_ROW1 0.0000\t1.0000\t0.0000")
    out.append("\t\t*TM_ROW2 0.0000\t0.0000\t1.0000")
    out.append("\t\t*TM_ROW3 %s" % fmt3(pivot))
    out.append("\t\t*TM_POS %s" % fmt3(pivot))
    out.append("\t\t*TM_ROTAXIS 0.0000\t0.0000\t0.0000")
    out.append("\t\t*TM_ROTANGLE 0.0000")
    out.append("\t\t*TM_SCALE 1.0000\t1.0000\t1.0000")
    out.append("\t\t*TM_SCALEAXIS 0.0000\t0.0000\t0.0000")
    out.append("\t\t*TM_SCALEAXISANG 0.0000")
    out.append("\t}")
    out.append("\t*MESH {")
    out.append("\t\t*TIMEVALUE 0")
    out.append("\t\t*MESH_NUMVERTEX %d" % len(part.vertices))
    out.append("\t\t*MESH_NUMFACES %d" % len(part.faces))
    out.append("\t\t*MESH_VERTEX_LIST {")
    for i, v in enumerate(part.vertices):
        out.append("\t\t\t*MESH_VERTEX %4d\t%s" % (i, fmt3(v)))
    out.append("\t\t}")
    out.append("\t\t*MESH_FACE_LIST {")
    for i, f in enumerate(part.faces):
        ab, bc, ca = f[3]
        out.append("\t\t\t*MESH_FACE %4d:    A: %4d B: %4d C: %4d AB: %4d BC: %4d CA: %4d"
                   "\t *MESH_SMOOTHING %d \t*MESH_MTLID %d"
                   % (i, f[0], f[1], f[2], ab, bc, ca, smoothing, material_index))
    out.append("\t\t}")
    out.append("\t\t*MESH_NUMTVERTEX %d" % len(uvs))
    out.append("\t\t*MESH_TVERTLIST {")
    for i, uv in enumerate(uvs):
        out.append("\t\t\t*MESH_TVERT %d\t%s" % (i, fmt3(uv)))
    out.append("\t\t}")
    out.append("\t\t*MESH_NUMTVFACES %d" % len(part.faces))
    out.append("\t\t*MESH_TFACELIST {")
    for i, f in enumerate(part.faces):
        out.append("\t\t\t*MESH_TFACE %d\t%d\t%d\t%d" % (i, f[0], f[1], f[2]))
    out.append("\t\t}")
    out.append("\t\t*MESH_NUMCVERTEX 0")
    out.append("\t\t*MESH_NORMALS {")
    for i, (f, fn) in enumerate(zip(part.faces, face_normals)):
        out.append("\t\t\t*MESH_FACENORMAL %d\t%s" % (i, fmt3(fn)))
        for corner, vn in zip(f[:3], corner_normals[i]):
            out.append("\t\t\t\t*MESH_VERTEXNORMAL %d\t%s" % (corner, fmt3(vn)))
    out.append("\t\t}")
    out.append("\t}")
    out.append("\t*PROP_MOTIONBLUR 0")
    out.append("\t*PROP_CASTSHADOW 1")
    out.append("\t*PROP_RECVSHADOW 1")
    out.append("\t*MATERIAL_REF %d" % material_index)
    out.append("}")


def write_ase(path, scene_name, materials, parts):
    """Writes `parts` (MeshPart list) with `materials` (Material list) to `path`.
    A part's material is looked up by identity in `materials`."""
    out = ["*3DSMAX_ASCIIEXPORT\t200",
           '*COMMENT "AsciiExport Version  2.00 - generated by tools/gen_models.py"',
           "*SCENE {",
           '\t*SCENE_FILENAME "%s"' % scene_name,
           "\t*SCENE_FIRSTFRAME 0",
           "\t*SCENE_LASTFRAME 100",
           "\t*SCENE_FRAMESPEED 30",
           "\t*SCENE_TICKSPERFRAME 160",
           "\t*SCENE_BACKGROUND_STATIC 0.0000\t0.0000\t0.0000",
           "\t*SCENE_AMBIENT_STATIC 0.0000\t0.0000\t0.0000",
           "}",
           "*MATERIAL_LIST {",
           "\t*MATERIAL_COUNT %d" % len(materials)]
    for i, m in enumerate(materials):
        _write_material(out, i, m)
    out.append("}")
    for part in parts:
        index = next(i for i, m in enumerate(materials) if m is part.material)
        _write_geomobject(out, part, index)
    with open(path, "w", newline="\n") as f:
        f.write("\n".join(out) + "\n")
