#include "ase_model/ase_materials.h"

#include "ase_model/ase_reader.h"

namespace tessaly {

namespace {

using M = TASEMap;
constinit const BlockTable<TASEMap> kMapTable{
    {Kw::MapName, [](TASEReader& r, M& m) { m.Name = r.ReadQuoted(); }},
    {Kw::MapClass, [](TASEReader& r, M& m) { m.MapClass = r.ReadQuoted(); }},
    {Kw::MapSubNo, [](TASEReader& r, M& m) { m.SubNo = r.ReadInt(); }},
    {Kw::MapAmount, [](TASEReader& r, M& m) { m.Amount = r.ReadReal(); }},
    {Kw::Bitmap, [](TASEReader& r, M& m) { m.Bitmap = r.ReadQuoted(); }},
    {Kw::MapType, [](TASEReader& r, M& m) { m.MapType = r.ReadWord(); }},
    {Kw::UvwUOffset, [](TASEReader& r, M& m) { m.UOffset = r.ReadReal(); }},
    {Kw::UvwVOffset, [](TASEReader& r, M& m) { m.VOffset = r.ReadReal(); }},
    {Kw::UvwUTiling, [](TASEReader& r, M& m) { m.UTiling = r.ReadReal(); }},
    {Kw::UvwVTiling, [](TASEReader& r, M& m) { m.VTiling = r.ReadReal(); }},
    {Kw::UvwAngle, [](TASEReader& r, M& m) { m.Angle = r.ReadReal(); }},
    {Kw::UvwBlur, [](TASEReader& r, M& m) { m.Blur = r.ReadReal(); }},
    {Kw::UvwBlurOffset, [](TASEReader& r, M& m) { m.BlurOffset = r.ReadReal(); }},
    {Kw::UvwNoiseAmount, [](TASEReader& r, M& m) { m.NoiseAmount = r.ReadReal(); }},
    {Kw::UvwNoiseSize, [](TASEReader& r, M& m) { m.NoiseSize = r.ReadReal(); }},
    {Kw::UvwNoiseLevel, [](TASEReader& r, M& m) { m.NoiseLevel = r.ReadReal(); }},
    {Kw::UvwNoisePhase, [](TASEReader& r, M& m) { m.NoisePhase = r.ReadReal(); }},
    {Kw::BitmapFilter, [](TASEReader& r, M& m) { m.BitmapFilter = r.ReadWord(); }},
};

// A map keyword: a new map takes the slot whole, then reads its block.
template <TASEMapSlot slot>
void ReadMap(TASEReader& r, TASEMaterial& m) {
  ReadChild(r, m.Maps[slot]);
}

using T = TASEMaterial;
constinit const BlockTable<TASEMaterial> kMaterialTable{
    {Kw::MaterialName, [](TASEReader& r, T& m) { m.Name = r.ReadQuoted(); }},
    {Kw::MaterialClass, [](TASEReader& r, T& m) { m.MaterialClass = r.ReadQuoted(); }},
    {Kw::MaterialAmbient, [](TASEReader& r, T& m) { ReadRGB(r, m.Ambient); }},
    {Kw::MaterialDiffuse, [](TASEReader& r, T& m) { ReadRGB(r, m.Diffuse); }},
    {Kw::MaterialSpecular, [](TASEReader& r, T& m) { ReadRGB(r, m.Specular); }},
    {Kw::MaterialShine, [](TASEReader& r, T& m) { m.Shine = r.ReadReal(); }},
    {Kw::MaterialShineStrength, [](TASEReader& r, T& m) { m.ShineStrength = r.ReadReal(); }},
    {Kw::MaterialTransparency, [](TASEReader& r, T& m) { m.Transparency = r.ReadReal(); }},
    {Kw::MaterialWireSize, [](TASEReader& r, T& m) { m.WireSize = r.ReadReal(); }},
    {Kw::MaterialShading, [](TASEReader& r, T& m) { m.Shading = r.ReadWord(); }},
    {Kw::MaterialXPFalloff, [](TASEReader& r, T& m) { m.XPFalloff = r.ReadReal(); }},
    {Kw::MaterialSelfIllum, [](TASEReader& r, T& m) { m.SelfIllum = r.ReadReal(); }},
    {Kw::MaterialFalloff, [](TASEReader& r, T& m) { m.Falloff = r.ReadWord(); }},
    {Kw::MaterialXPType, [](TASEReader& r, T& m) { m.XPType = r.ReadWord(); }},
    {Kw::MapAmbient, ReadMap<kMapAmbient>},
    {Kw::MapDiffuse, ReadMap<kMapDiffuse>},
    {Kw::MapSpecular, ReadMap<kMapSpecular>},
    {Kw::MapShine, ReadMap<kMapShine>},
    {Kw::MapShineStrength, ReadMap<kMapShineStrength>},
    {Kw::MapSelfIllum, ReadMap<kMapSelfIllum>},
    {Kw::MapOpacity, ReadMap<kMapOpacity>},
    {Kw::MapFilterColor, ReadMap<kMapFilterColor>},
    {Kw::MapBump, ReadMap<kMapBump>},
    {Kw::MapReflect, ReadMap<kMapReflect>},
    {Kw::MapRefract, ReadMap<kMapRefract>},
};

// "*MATERIAL <number> { ... }": the number picks the slot; a new material
// replaces whatever the slot held and then reads its block.
constinit const BlockTable<TASEMaterialList> kMaterialListTable{
    {Kw::Material,
     [](TASEReader& r, TASEMaterialList& list) {
       const int32_t number = r.ReadInt();
       ReadChild(r, r.Slot(list.Materials, number, "material"));
     }},
};

}  // namespace

void TASEMap::Parse(TASEReader& reader) {
  ReadBlock(reader, *this, kMapTable);
}
void TASEMaterial::Parse(TASEReader& reader) {
  ReadBlock(reader, *this, kMaterialTable);
}
void TASEMaterialList::Parse(TASEReader& reader) {
  ReadBlock(reader, *this, kMaterialListTable);
}

}  // namespace tessaly
