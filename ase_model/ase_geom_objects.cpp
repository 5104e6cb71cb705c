#include "ase_model/ase_geom_objects.h"

#include "ase_model/ase_reader.h"

namespace tessaly {

namespace {

using G = TASEGeomObject;
constinit const BlockTable<TASEGeomObject> kGeomObjectTable{
    {Kw::NodeName, [](TASEReader& r, G& g) { g.NodeName = r.ReadQuoted(); }},
    {Kw::NodeTM, [](TASEReader& r, G& g) { ReadChild(r, g.NodeTM); }},
    {Kw::Mesh, [](TASEReader& r, G& g) { ReadChild(r, g.Mesh); }},
    {Kw::PropMotionBlur, [](TASEReader& r, G& g) { g.MotionBlur = r.ReadBool(); }},
    {Kw::PropCastShadow, [](TASEReader& r, G& g) { g.CastShadow = r.ReadBool(); }},
    {Kw::PropRecvShadow, [](TASEReader& r, G& g) { g.RecvShadow = r.ReadBool(); }},
    {Kw::MaterialRef, [](TASEReader& r, G& g) { g.MaterialRef = r.ReadInt(); }},
};

// File row `row` of the transform becomes column `row` of the matrix.
template <int row>
void ReadRow(TASEReader& r, TASENodeTM& tm) {
  const TASEVector3 v = ReadVector3(r);
  tm.Matrix[row] = v.X;
  tm.Matrix[4 + row] = v.Y;
  tm.Matrix[8 + row] = v.Z;
  tm.Matrix[12 + row] = row == 3 ? 1.0f : 0.0f;
}

using N = TASENodeTM;
constinit const BlockTable<TASENodeTM> kNodeTMTable{
    {Kw::NodeName, [](TASEReader& r, N& n) { n.NodeName = r.ReadQuoted(); }},
    {Kw::InheritPos, [](TASEReader& r, N& n) { n.InheritPos = ReadVector3(r); }},
    {Kw::InheritRot, [](TASEReader& r, N& n) { n.InheritRot = ReadVector3(r); }},
    {Kw::InheritScl, [](TASEReader& r, N& n) { n.InheritScl = ReadVector3(r); }},
    {Kw::TMRow0, ReadRow<0>},
    {Kw::TMRow1, ReadRow<1>},
    {Kw::TMRow2, ReadRow<2>},
    {Kw::TMRow3, ReadRow<3>},
    {Kw::TMPos, [](TASEReader& r, N& n) { n.Pos = ReadVector3(r); }},
    {Kw::TMRotAxis, [](TASEReader& r, N& n) { n.RotAxis = ReadVector3(r); }},
    {Kw::TMRotAngle, [](TASEReader& r, N& n) { n.RotAngle = r.ReadReal(); }},
    {Kw::TMScale, [](TASEReader& r, N& n) { n.Scale = ReadVector3(r); }},
    {Kw::TMScaleAxis, [](TASEReader& r, N& n) { n.ScaleAxis = ReadVector3(r); }},
    {Kw::TMScaleAxisAng, [](TASEReader& r, N& n) { n.ScaleAxisAng = r.ReadReal(); }},
};

// A group knows one keyword, at any depth inside it: nested groups' objects
// are flattened into the outermost group.
constinit const BlockTable<TASEGroup> kGroupTable{
    {Kw::GeomObject, [](TASEReader& r, TASEGroup& g) { ReadAppended(r, g.GeomObjects); }},
};

}  // namespace

void TASEGeomObject::Parse(TASEReader& reader) {
  ReadBlock(reader, *this, kGeomObjectTable);
}
void TASENodeTM::Parse(TASEReader& reader) {
  ReadBlock(reader, *this, kNodeTMTable);
}

void TASEGroup::Parse(TASEReader& reader) {
  Name = reader.ReadQuoted();
  ReadBlock(reader, *this, kGroupTable);
}

}  // namespace tessaly
