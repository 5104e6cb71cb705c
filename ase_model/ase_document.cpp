#include "ase_model/ase_document.h"

#include "ase_model/ase_reader.h"

namespace tessaly {

void TASEHeader::Parse(TASEReader& reader) {
  Version = reader.ReadWord();
}

void TASEComment::Parse(TASEReader& reader) {
  const std::string_view first = reader.Next();
  if (!first.starts_with('"')) {
    reader.Fail("Comment not in quotes? (Last token: \"" + std::string(first) + "\")");
  }
  Text = reader.ReadQuotedFrom(first);
}

namespace {

// The top level knows six keywords; every other token, the braces of unknown
// blocks included, is passed over one at a time.
constinit const BlockTable<TASEFile> kTopLevel{
    {Kw::AsciiExport, [](TASEReader& r, TASEFile& f) { ReadChild(r, f.Header); }},
    {Kw::Comment, [](TASEReader& r, TASEFile& f) { ReadAppended(r, f.Comments); }},
    {Kw::Scene, [](TASEReader& r, TASEFile& f) { ReadChild(r, f.Scene); }},
    {Kw::MaterialList, [](TASEReader& r, TASEFile& f) { ReadChild(r, f.MaterialList); }},
    {Kw::GeomObject, [](TASEReader& r, TASEFile& f) { ReadAppended(r, f.GeomObjects); }},
    {Kw::Group, [](TASEReader& r, TASEFile& f) { ReadAppended(r, f.Groups); }},
};

}  // namespace

void TASEFile::Parse(TTokenStream& stream) {
  TASEReader reader(stream);
  for (std::string_view token = reader.Next(); !token.empty(); token = reader.Next()) {
    if (const auto action = kTopLevel.actions[static_cast<size_t>(LookupKeyword(token))]) {
      action(reader, *this);
    }
  }
}

void TASEFile::LoadFromFile(const std::string& fileName) {
  TTokenStream stream = TTokenStream::LoadFromFile(fileName);
  Parse(stream);
}

void TASEFile::LoadFromText(std::string text) {
  TTokenStream stream = TTokenStream::FromText(std::move(text));
  Parse(stream);
}

}  // namespace tessaly
