#include "tools/json_dump.h"

#include <charconv>
#include <cmath>
#include <cstring>

namespace tessaly {

void JsonWriter::Flush() {
  if (used_ > 0) std::fwrite(buffer_, 1, used_, out_);
  used_ = 0;
}

void JsonWriter::Raw(std::string_view text) {
  if (text.size() > sizeof buffer_ / 2) {
    Flush();
    std::fwrite(text.data(), 1, text.size(), out_);
    return;
  }
  Reserve(text.size());
  std::memcpy(buffer_ + used_, text.data(), text.size());
  used_ += text.size();
}

void JsonWriter::String(std::string_view bytes) {
  static const char kHex[] = "0123456789abcdef";
  Reserve(1);
  buffer_[used_++] = '"';
  for (const char ch : bytes) {
    const auto c = static_cast<unsigned char>(ch);
    Reserve(6);
    char* p = buffer_ + used_;
    if (c == '"' || c == '\\') {
      *p++ = '\\';
      *p++ = static_cast<char>(c);
    } else if (c < 0x20) {
      *p++ = '\\';
      *p++ = 'u';
      *p++ = '0';
      *p++ = '0';
      *p++ = kHex[c >> 4];
      *p++ = kHex[c & 15];
    } else if (c < 0x80) {
      *p++ = static_cast<char>(c);
    } else {
      *p++ = static_cast<char>(0xC0 | (c >> 6));
      *p++ = static_cast<char>(0x80 | (c & 0x3F));
    }
    used_ = static_cast<size_t>(p - buffer_);
  }
  Reserve(1);
  buffer_[used_++] = '"';
}

void JsonWriter::Int(long long value) {
  Reserve(24);
  used_ = static_cast<size_t>(std::to_chars(buffer_ + used_, buffer_ + sizeof buffer_, value).ptr -
                              buffer_);
}

void JsonWriter::Float(float value) {
  if (std::isnan(value)) return Raw("\"nan\"");
  if (std::isinf(value)) return Raw(value > 0 ? "\"inf\"" : "\"-inf\"");
  Reserve(32);
  used_ = static_cast<size_t>(std::to_chars(buffer_ + used_, buffer_ + sizeof buffer_, value).ptr -
                              buffer_);
}

void JsonWriter::Key(std::string_view name) {
  String(name);
  Raw(": ");
}

namespace {

// Small helpers that keep the field lists below readable.
class ObjectWriter {
 public:
  explicit ObjectWriter(JsonWriter& json) : json_(json) { json_.Raw("{"); }
  ~ObjectWriter() { json_.Raw("}"); }
  JsonWriter& Field(std::string_view name) {
    if (!first_) json_.Raw(", ");
    first_ = false;
    json_.Key(name);
    return json_;
  }

 private:
  JsonWriter& json_;
  bool first_ = true;
};

void Write(JsonWriter& j, const std::string& s) {
  j.String(s);
}
void Write(JsonWriter& j, int32_t v) {
  j.Int(v);
}
void Write(JsonWriter& j, bool v) {
  j.Bool(v);
}
void Write(JsonWriter& j, float v) {
  j.Float(v);
}
void Write(JsonWriter& j, const TASEColor& c) {
  j.Raw("[");
  j.Float(c.R), j.Raw(","), j.Float(c.G), j.Raw(","), j.Float(c.B), j.Raw(","), j.Float(c.A);
  j.Raw("]");
}
void Write(JsonWriter& j, const TASEVector3& v) {
  j.Raw("[");
  j.Float(v.X), j.Raw(","), j.Float(v.Y), j.Raw(","), j.Float(v.Z);
  j.Raw("]");
}
void Write(JsonWriter& j, const TASEFaceIndices& f) {
  j.Raw("[");
  j.Int(f.A), j.Raw(","), j.Int(f.B), j.Raw(","), j.Int(f.C);
  j.Raw("]");
}
void Write(JsonWriter& j, const TASEFace& f) {
  j.Raw("{\"A\":"), j.Int(f.A), j.Raw(",\"B\":"), j.Int(f.B), j.Raw(",\"C\":"), j.Int(f.C);
  j.Raw(",\"AB\":"), j.Bool(f.AB), j.Raw(",\"BC\":"), j.Bool(f.BC), j.Raw(",\"CA\":"), j.Bool(f.CA);
  j.Raw(",\"Smoothing\":"), j.Int(f.Smoothing), j.Raw(",\"MaterialID\":"), j.Int(f.MaterialID);
  j.Raw("}");
}
void Write(JsonWriter& j, const TASEScene& s);
void Write(JsonWriter& j, const TASEMap& m);
void Write(JsonWriter& j, const TASEMaterial& m);
void Write(JsonWriter& j, const TASEMaterialList& l);
void Write(JsonWriter& j, const TASENodeTM& n);
void Write(JsonWriter& j, const TASEMesh& m);
void Write(JsonWriter& j, const TASEGeomObject& g);
void Write(JsonWriter& j, const TASEGroup& g);
void Write(JsonWriter& j, const TASEHeader& h);
void Write(JsonWriter& j, const TASEComment& c);
template <class T>
void Write(JsonWriter& j, const std::unique_ptr<T>& p);

// Arrays of values; long element arrays go one entry per line.
template <class Range>
void WriteArray(JsonWriter& j, const Range& items, const char* separator = ", ") {
  j.Raw("[");
  bool first = true;
  for (const auto& item : items) {
    if (!first) j.Raw(separator);
    first = false;
    Write(j, item);
  }
  j.Raw("]");
}

template <class T>
void Write(JsonWriter& j, const std::unique_ptr<T>& p) {
  if (p) {
    Write(j, *p);
  } else {
    j.Null();
  }
}

void Write(JsonWriter& j, const TASEScene& s) {
  ObjectWriter o(j);
  Write(o.Field("FileName"), s.FileName);
  Write(o.Field("FirstFrame"), s.FirstFrame);
  Write(o.Field("LastFrame"), s.LastFrame);
  Write(o.Field("FrameSpeed"), s.FrameSpeed);
  Write(o.Field("TicksPerFrame"), s.TicksPerFrame);
  Write(o.Field("BackgroundStatic"), s.BackgroundStatic);
  Write(o.Field("AmbientStatic"), s.AmbientStatic);
}

void Write(JsonWriter& j, const TASEMap& m) {
  ObjectWriter o(j);
  Write(o.Field("Name"), m.Name);
  Write(o.Field("MapClass"), m.MapClass);
  Write(o.Field("SubNo"), m.SubNo);
  Write(o.Field("Amount"), m.Amount);
  Write(o.Field("Bitmap"), m.Bitmap);
  Write(o.Field("MapType"), m.MapType);
  Write(o.Field("UOffset"), m.UOffset);
  Write(o.Field("VOffset"), m.VOffset);
  Write(o.Field("UTiling"), m.UTiling);
  Write(o.Field("VTiling"), m.VTiling);
  Write(o.Field("Angle"), m.Angle);
  Write(o.Field("Blur"), m.Blur);
  Write(o.Field("BlurOffset"), m.BlurOffset);
  Write(o.Field("NoiseAmount"), m.NoiseAmount);
  Write(o.Field("NoiseSize"), m.NoiseSize);
  Write(o.Field("NoiseLevel"), m.NoiseLevel);
  Write(o.Field("NoisePhase"), m.NoisePhase);
  Write(o.Field("BitmapFilter"), m.BitmapFilter);
}

void Write(JsonWriter& j, const TASEMaterial& m) {
  ObjectWriter o(j);
  Write(o.Field("Name"), m.Name);
  Write(o.Field("MaterialClass"), m.MaterialClass);
  Write(o.Field("Ambient"), m.Ambient);
  Write(o.Field("Diffuse"), m.Diffuse);
  Write(o.Field("Specular"), m.Specular);
  Write(o.Field("Shine"), m.Shine);
  Write(o.Field("ShineStrength"), m.ShineStrength);
  Write(o.Field("Transparency"), m.Transparency);
  Write(o.Field("WireSize"), m.WireSize);
  Write(o.Field("Shading"), m.Shading);
  Write(o.Field("XPFalloff"), m.XPFalloff);
  Write(o.Field("SelfIllum"), m.SelfIllum);
  Write(o.Field("Falloff"), m.Falloff);
  Write(o.Field("XPType"), m.XPType);
  WriteArray(o.Field("Maps"), m.Maps);
}

void Write(JsonWriter& j, const TASEMaterialList& l) {
  ObjectWriter o(j);
  WriteArray(o.Field("Materials"), l.Materials, ",\n");
}

void Write(JsonWriter& j, const TASENodeTM& n) {
  ObjectWriter o(j);
  Write(o.Field("NodeName"), n.NodeName);
  Write(o.Field("InheritPos"), n.InheritPos);
  Write(o.Field("InheritRot"), n.InheritRot);
  Write(o.Field("InheritScl"), n.InheritScl);
  WriteArray(o.Field("Matrix"), n.Matrix, ",");
  Write(o.Field("Pos"), n.Pos);
  Write(o.Field("RotAxis"), n.RotAxis);
  Write(o.Field("RotAngle"), n.RotAngle);
  Write(o.Field("Scale"), n.Scale);
  Write(o.Field("ScaleAxis"), n.ScaleAxis);
  Write(o.Field("ScaleAxisAng"), n.ScaleAxisAng);
}

// An element list: null when absent, else an object of its arrays.
template <class List, class... Arrays>
void WriteList(ObjectWriter& o, std::string_view name, const std::unique_ptr<List>& list,
               std::pair<const char*, Arrays List::*>... arrays) {
  JsonWriter& j = o.Field(name);
  if (!list) return j.Null();
  ObjectWriter lo(j);
  (WriteArray(lo.Field(arrays.first), (*list).*(arrays.second), ",\n"), ...);
}

void Write(JsonWriter& j, const TASEMesh& m) {
  ObjectWriter o(j);
  WriteList(o, "VertexList", m.VertexList, std::pair{"Vertices", &TASEMeshVertexList::Vertices});
  WriteList(o, "FaceList", m.FaceList, std::pair{"Faces", &TASEMeshFaceList::Faces});
  WriteList(o, "Normals", m.Normals, std::pair{"VertexNormals", &TASEMeshNormals::VertexNormals},
            std::pair{"FaceNormals", &TASEMeshNormals::FaceNormals});
  WriteList(o, "TVertexList", m.TVertexList,
            std::pair{"TVertices", &TASEMeshTVertexList::TVertices});
  WriteList(o, "CVertexList", m.CVertexList,
            std::pair{"CVertices", &TASEMeshCVertexList::CVertices});
  WriteList(o, "TFaceList", m.TFaceList, std::pair{"TFaces", &TASEMeshTFaceList::TFaces});
  WriteList(o, "CFaceList", m.CFaceList, std::pair{"CFaces", &TASEMeshCFaceList::CFaces});
  Write(o.Field("TimeValue"), m.TimeValue);
  Write(o.Field("NumVertex"), m.NumVertex);
  Write(o.Field("NumFaces"), m.NumFaces);
  Write(o.Field("NumTVertex"), m.NumTVertex);
  Write(o.Field("NumCVertex"), m.NumCVertex);
}

void Write(JsonWriter& j, const TASEGeomObject& g) {
  ObjectWriter o(j);
  Write(o.Field("NodeName"), g.NodeName);
  Write(o.Field("NodeTM"), g.NodeTM);
  Write(o.Field("Mesh"), g.Mesh);
  Write(o.Field("MotionBlur"), g.MotionBlur);
  Write(o.Field("CastShadow"), g.CastShadow);
  Write(o.Field("RecvShadow"), g.RecvShadow);
  Write(o.Field("MaterialRef"), g.MaterialRef);
}

void Write(JsonWriter& j, const TASEGroup& g) {
  ObjectWriter o(j);
  Write(o.Field("Name"), g.Name);
  WriteArray(o.Field("GeomObjects"), g.GeomObjects, ",\n");
}

void Write(JsonWriter& j, const TASEHeader& h) {
  ObjectWriter o(j);
  Write(o.Field("Version"), h.Version);
}

void Write(JsonWriter& j, const TASEComment& c) {
  Write(j, c.Text);
}

}  // namespace

void WriteDocument(JsonWriter& json, const TASEFile& d) {
  ObjectWriter o(json);
  Write(o.Field("Header"), d.Header);
  WriteArray(o.Field("Comments"), d.Comments);
  Write(o.Field("Scene"), d.Scene);
  Write(o.Field("MaterialList"), d.MaterialList);
  WriteArray(o.Field("GeomObjects"), d.GeomObjects, ",\n");
  WriteArray(o.Field("Groups"), d.Groups, ",\n");
}

}  // namespace tessaly
