// Micro-benchmarks of the per-token work: keyword recognition (against a
// compare per keyword, the simple way), and the two number conversions.
#include <benchmark/benchmark.h>

#include <string>
#include <string_view>
#include <vector>

#include "ase_model/ase_numbers.h"
#include "ase_model/ase_tokens.h"

namespace {

using namespace tessaly;

// Tokens as they come in a mesh: keywords in the proportion of a typical
// file, face labels, whole numbers and reals.
const std::vector<std::string_view>& MeshTokens() {
  static const std::vector<std::string_view> tokens = {
      "*MESH_VERTEX",
      "12",
      "-54.9536",
      "3.7600",
      "2.5400",
      "*MESH_FACE",
      "7:",
      "A:",
      "1",
      "B:",
      "0",
      "C:",
      "4",
      "AB:",
      "1",
      "BC:",
      "1",
      "CA:",
      "0",
      "*MESH_SMOOTHING",
      "1",
      "*MESH_MTLID",
      "0",
      "*MESH_TVERT",
      "3",
      "0.9606",
      "0.0133",
      "0.0000",
      "*MESH_TFACE",
      "5",
      "7",
      "3",
      "6",
      "*MESH_FACENORMAL",
      "0",
      "0.0000",
      "-0.0000",
      "1.0000",
      "*MESH_VERTEXNORMAL",
      "1",
      "0.0000",
      "0.0000",
      "1.0000",
      "*MESH_VERTEXNORMAL",
      "0",
      "0.0000",
      "-0.0000",
      "1.0000",
      "*MESH_VERTEXNORMAL",
      "4",
      "0.0000",
      "0.0000",
      "1.0000",
      "*material_ref",
      "*UNKNOWN_KEYWORD",
      "}",
      "{",
  };
  return tokens;
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    char x = a[i], y = b[i];
    if (x >= 'a' && x <= 'z') x = static_cast<char>(x - 32);
    if (y >= 'a' && y <= 'z') y = static_cast<char>(y - 32);
    if (x != y) return false;
  }
  return true;
}

void BM_LookupKeyword(benchmark::State& state) {
  const auto& tokens = MeshTokens();
  for (auto _ : state) {
    for (const std::string_view t : tokens)
      benchmark::DoNotOptimize(LookupKeyword(t));
  }
  state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(tokens.size()));
}
BENCHMARK(BM_LookupKeyword);

// The simple way: compare the token with every spelling in turn.
void BM_LinearKeywordCompare(benchmark::State& state) {
  const auto& tokens = MeshTokens();
  for (auto _ : state) {
    for (const std::string_view t : tokens) {
      Kw found = Kw::None;
      for (int k = 1; k < kKeywordCount; ++k) {
        if (EqualsIgnoringCase(t, KeywordSpelling(static_cast<Kw>(k)))) {
          found = static_cast<Kw>(k);
          break;
        }
      }
      benchmark::DoNotOptimize(found);
    }
  }
  state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(tokens.size()));
}
BENCHMARK(BM_LinearKeywordCompare);

void BM_ParseReal(benchmark::State& state) {
  const std::string_view values[] = {"-54.9536", "3.7600", "0.0000", "-0.0781",
                                     "451.3781", "0.9939", "1.0000", "-294.5147"};
  for (auto _ : state) {
    for (const std::string_view v : values)
      benchmark::DoNotOptimize(ParseReal(v, '.'));
  }
  state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(std::size(values)));
}
BENCHMARK(BM_ParseReal);

// The fast path that the reader takes first.
void BM_QuickReal(benchmark::State& state) {
  const std::string_view values[] = {"-54.9536", "3.7600", "0.0000", "-0.0781",
                                     "451.3781", "0.9939", "1.0000", "-294.5147"};
  for (auto _ : state) {
    for (const std::string_view v : values) {
      float f = 0;
      benchmark::DoNotOptimize(QuickReal(v, '.', f));
      benchmark::DoNotOptimize(f);
    }
  }
  state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(std::size(values)));
}
BENCHMARK(BM_QuickReal);

void BM_ParseWholeNumber(benchmark::State& state) {
  const std::string_view values[] = {"0", "1", "24", "983", "1840", "7", "12", "31"};
  for (auto _ : state) {
    for (const std::string_view v : values)
      benchmark::DoNotOptimize(ParseWholeNumber(v));
  }
  state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(std::size(values)));
}
BENCHMARK(BM_ParseWholeNumber);

}  // namespace
