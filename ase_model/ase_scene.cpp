#include "ase_model/ase_scene.h"

#include "ase_model/ase_reader.h"

namespace tessaly {

namespace {

// The file gives no alpha for the static colours: it is always 1.
void ReadOpaque(TASEReader& r, TASEColor& color) {
  ReadRGB(r, color);
  color.A = 1;
}

constinit const BlockTable<TASEScene> kSceneTable{
    {Kw::SceneFileName, [](TASEReader& r, TASEScene& s) { s.FileName = r.ReadQuoted(); }},
    {Kw::SceneFirstFrame, [](TASEReader& r, TASEScene& s) { s.FirstFrame = r.ReadInt(); }},
    {Kw::SceneLastFrame, [](TASEReader& r, TASEScene& s) { s.LastFrame = r.ReadInt(); }},
    {Kw::SceneFrameSpeed, [](TASEReader& r, TASEScene& s) { s.FrameSpeed = r.ReadInt(); }},
    {Kw::SceneTicksPerFrame, [](TASEReader& r, TASEScene& s) { s.TicksPerFrame = r.ReadInt(); }},
    {Kw::SceneBackgroundStatic,
     [](TASEReader& r, TASEScene& s) { ReadOpaque(r, s.BackgroundStatic); }},
    {Kw::SceneAmbientStatic, [](TASEReader& r, TASEScene& s) { ReadOpaque(r, s.AmbientStatic); }},
};

}  // namespace

void TASEScene::Parse(TASEReader& reader) {
  ReadBlock(reader, *this, kSceneTable);
}

}  // namespace tessaly
