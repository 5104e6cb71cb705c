// Materials, the material list, and texture maps.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "ase_model/ase_types.h"

namespace tessaly {

class TASEReader;

class TASEMap {
 public:
  std::string Name;
  std::string MapClass;
  int32_t SubNo = 0;
  float Amount = 0;
  std::string Bitmap;
  std::string MapType;
  float UOffset = 0, VOffset = 0;
  float UTiling = 0, VTiling = 0;  // 0, not 1, when the file names none
  float Angle = 0;
  float Blur = 0, BlurOffset = 0;
  float NoiseAmount = 0, NoiseSize = 0, NoiseLevel = 0, NoisePhase = 0;
  std::string BitmapFilter;

  void Parse(TASEReader& reader);
};

// The eleven map slots of a material, in the order of their keywords.
enum TASEMapSlot {
  kMapAmbient,
  kMapDiffuse,
  kMapSpecular,
  kMapShine,
  kMapShineStrength,
  kMapSelfIllum,
  kMapOpacity,
  kMapFilterColor,
  kMapBump,
  kMapReflect,
  kMapRefract,
  kMapSlotCount
};

class TASEMaterial {
 public:
  std::string Name;
  std::string MaterialClass;
  TASEColor Ambient = kDefaultColor;
  TASEColor Diffuse = kDefaultColor;
  TASEColor Specular = kDefaultColor;
  float Shine = 0;
  float ShineStrength = 0;
  float Transparency = 1;
  float WireSize = 1;
  std::string Shading;
  float XPFalloff = 0;
  float SelfIllum = 0;
  std::string Falloff;
  std::string XPType;
  std::array<std::unique_ptr<TASEMap>, kMapSlotCount> Maps;

  void Parse(TASEReader& reader);
};

class TASEMaterialList {
 public:
  // Indexed by material number; a number never read leaves its slot empty.
  std::vector<std::unique_ptr<TASEMaterial>> Materials;

  // The material with that number, or nullptr for a negative number, one
  // beyond the list, or an empty slot.
  TASEMaterial* GetMaterial(int32_t index) const {
    return index >= 0 && static_cast<size_t>(index) < Materials.size()
               ? Materials[static_cast<size_t>(index)].get()
               : nullptr;
  }
  void Parse(TASEReader& reader);
};

}  // namespace tessaly
