// ase-bench: loads one ASE file several ways, each in a child process of its
// own so that the peak resident memory of one does not hide another's, and
// prints one line per figure:
//
//   scan    read the file and count its tokens with a byte table: the
//           practical limit of any parser on these bytes;
//   scan+   the same, reading into a buffer allocated as the loader does
//           (an anonymous mapping with its pages made present at once);
//   ours    TASEFile::LoadFromFile;
//   assimp  Assimp::Importer::ReadFile with no post-processing;
//   dump    tessaly-dump FILE > /dev/null (load plus streamed JSON), when the
//           tool is found beside this program or named with --dump.
//
// Each contender runs --repeat times, in interleaved rounds. Wall times are
// those of the measured part (best and median run), CPU times the user and
// system time of the whole child; peak memory is the child's ru_maxrss less
// that of a child that does nothing (the program's own baseline).
//
//   ase-bench [--repeat N] [--no-assimp] [--no-dump] [--dump PATH] FILE
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include <assimp/scene.h>
#include <assimp/Importer.hpp>

#include "ase_model/ase_document.h"

namespace {

using Clock = std::chrono::steady_clock;
using namespace tessaly;

// What a child reports back through its pipe.
struct Report {
  double seconds = -1;    // wall time of the measured part; < 0 on failure
  double count = 0;       // tokens (scan), faces (ours, assimp)
  double modelBytes = 0;  // bytes the model holds (element arrays by length)
  double modelAlloc = 0;  // bytes the model has allocated (by capacity)
};

struct Sample {
  Report report;
  double peakKiB = 0;
  double cpuSeconds = 0;  // user + system time of the whole child
};

double CpuSeconds(const struct rusage& usage) {
  return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
         static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

double Since(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

// ---- the raw scan --------------------------------------------------------

// Reads the file into a fresh buffer and counts its tokens. The plain scan
// reads into a heap block; the prefaulted one into a buffer allocated as the
// loader allocates its own, an anonymous mapping with all its pages made
// present at once, which saves the fault per page that the plain read takes.
Report RawScan(const char* path, bool prefaulted) {
  const auto start = Clock::now();
  const int fd = ::open(path, O_RDONLY | O_CLOEXEC);
  if (fd < 0) return {};
  struct stat info {};
  ::fstat(fd, &info);
  const size_t size = static_cast<size_t>(info.st_size);
  char* buffer;
  if (prefaulted) {
    void* mapping = ::mmap(nullptr, size + 1, PROT_READ | PROT_WRITE,
                           MAP_PRIVATE | MAP_ANONYMOUS | MAP_POPULATE, -1, 0);
    if (mapping == MAP_FAILED) return {};
    buffer = static_cast<char*>(mapping);
  } else {
    buffer = new char[size + 1];
  }
  size_t filled = 0;
  while (filled < size) {
    const ssize_t got = ::read(fd, buffer + filled, size - filled);
    if (got <= 0) break;
    filled += static_cast<size_t>(got);
  }
  ::close(fd);
  static constexpr auto kDelimiter = [] {
    std::array<unsigned char, 256> table{};
    for (unsigned char c : {0, 9, 10, 13, 32})
      table[c] = 1;
    return table;
  }();
  // A token starts at every non-delimiter byte that follows a delimiter.
  const auto* p = reinterpret_cast<const unsigned char*>(buffer);
  size_t tokens = 0;
  unsigned char previous = 1;
  for (size_t i = 0; i < filled; ++i) {
    const unsigned char d = kDelimiter[p[i]];
    tokens += previous & (d ^ 1);
    previous = d;
  }
  Report r;
  r.seconds = Since(start);
  r.count = static_cast<double>(tokens);
  return r;
}

// ---- ours -----------------------------------------------------------------

struct ModelSize {
  double used = 0, alloc = 0;
  void Add(size_t usedBytes, size_t allocBytes) {
    used += static_cast<double>(usedBytes);
    alloc += static_cast<double>(allocBytes);
  }
  void Add(const std::string& s) { Add(s.size(), s.capacity() > 15 ? s.capacity() + 1 : 0); }
  template <class V>
  void Add(const std::vector<V>& v) {
    Add(v.size() * sizeof(V), v.capacity() * sizeof(V));
  }
  template <class T>
  void Object(const T&) {
    Add(sizeof(T), sizeof(T));
  }
};

void Measure(ModelSize& m, const TASEGeomObject& g, double& faces) {
  m.Object(g);
  m.Add(g.NodeName);
  if (g.NodeTM) m.Object(*g.NodeTM), m.Add(g.NodeTM->NodeName);
  if (!g.Mesh) return;
  const TASEMesh& mesh = *g.Mesh;
  m.Object(mesh);
  if (mesh.VertexList) m.Object(*mesh.VertexList), m.Add(mesh.VertexList->Vertices);
  if (mesh.FaceList) {
    m.Object(*mesh.FaceList), m.Add(mesh.FaceList->Faces);
    faces += static_cast<double>(mesh.FaceList->Faces.size());
  }
  if (mesh.Normals) {
    m.Object(*mesh.Normals), m.Add(mesh.Normals->VertexNormals), m.Add(mesh.Normals->FaceNormals);
  }
  if (mesh.TVertexList) m.Object(*mesh.TVertexList), m.Add(mesh.TVertexList->TVertices);
  if (mesh.CVertexList) m.Object(*mesh.CVertexList), m.Add(mesh.CVertexList->CVertices);
  if (mesh.TFaceList) m.Object(*mesh.TFaceList), m.Add(mesh.TFaceList->TFaces);
  if (mesh.CFaceList) m.Object(*mesh.CFaceList), m.Add(mesh.CFaceList->CFaces);
}

Report Ours(const char* path) {
  TASEFile document;
  const auto start = Clock::now();
  try {
    document.LoadFromFile(path);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "ours: %s\n", e.what());
    return {};
  }
  Report r;
  r.seconds = Since(start);
  ModelSize m;
  m.Object(document);
  m.Add(document.GeomObjects);
  for (const auto& g : document.GeomObjects)
    Measure(m, *g, r.count);
  for (const auto& group : document.Groups) {
    m.Object(*group);
    m.Add(group->GeomObjects);
    for (const auto& g : group->GeomObjects)
      Measure(m, *g, r.count);
  }
  if (document.MaterialList) {
    m.Add(document.MaterialList->Materials);
    for (const auto& material : document.MaterialList->Materials) {
      if (!material) continue;
      m.Object(*material);
      for (const auto& map : material->Maps) {
        if (map) m.Object(*map);
      }
    }
  }
  r.modelBytes = m.used;
  r.modelAlloc = m.alloc;
  return r;
}

// ---- Assimp ---------------------------------------------------------------

Report AssimpImport(const char* path) {
  Assimp::Importer importer;
  const auto start = Clock::now();
  const aiScene* scene = importer.ReadFile(path, 0);
  if (!scene) {
    std::fprintf(stderr, "assimp: %s\n", importer.GetErrorString());
    return {};
  }
  Report r;
  r.seconds = Since(start);
  for (unsigned i = 0; i < scene->mNumMeshes; ++i)
    r.count += scene->mMeshes[i]->mNumFaces;
  return r;
}

// ---- running children -------------------------------------------------------

enum Contender { kBaseline, kScan, kScanPrefaulted, kOurs, kAssimp, kDump, kContenderCount };
constexpr const char* kNames[] = {"baseline", "scan", "scan+", "ours", "assimp", "dump"};

// tessaly-dump runs as the child itself, its JSON going to /dev/null; it is
// timed from the fork to its exit.
Sample RunDump(const char* path, const std::string& tool) {
  const auto start = Clock::now();
  const pid_t pid = ::fork();
  if (pid == 0) {
    const int null = ::open("/dev/null", O_WRONLY);
    ::dup2(null, 1);
    ::execl(tool.c_str(), tool.c_str(), path, static_cast<char*>(nullptr));
    ::_exit(127);
  }
  int status = 0;
  struct rusage usage {};
  ::wait4(pid, &status, 0, &usage);
  Sample s;
  s.report.seconds = WIFEXITED(status) && WEXITSTATUS(status) == 0 ? Since(start) : -1;
  s.peakKiB = static_cast<double>(usage.ru_maxrss);
  s.cpuSeconds = CpuSeconds(usage);
  return s;
}

Sample RunChild(Contender which, const char* path, const std::string& tool) {
  if (which == kDump) return RunDump(path, tool);
  int fds[2];
  if (::pipe(fds) != 0) std::abort();
  const pid_t pid = ::fork();
  if (pid == 0) {
    ::close(fds[0]);
    Report r;
    switch (which) {
      case kBaseline:
        r.seconds = 0;
        break;
      case kScan:
        r = RawScan(path, false);
        break;
      case kScanPrefaulted:
        r = RawScan(path, true);
        break;
      case kOurs:
        r = Ours(path);
        break;
      case kAssimp:
        r = AssimpImport(path);
        break;
      default:
        break;
    }
    if (::write(fds[1], &r, sizeof r) != static_cast<ssize_t>(sizeof r)) ::_exit(3);
    // Leave without tearing the model down: only the load is measured.
    ::_exit(0);
  }
  ::close(fds[1]);
  Sample s;
  if (::read(fds[0], &s.report, sizeof s.report) != static_cast<ssize_t>(sizeof s.report)) {
    s.report.seconds = -1;
  }
  ::close(fds[0]);
  int status = 0;
  struct rusage usage {};
  ::wait4(pid, &status, 0, &usage);
  s.peakKiB = static_cast<double>(usage.ru_maxrss);
  s.cpuSeconds = CpuSeconds(usage);
  return s;
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  const size_t n = v.size();
  return n == 0 ? 0 : (n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2);
}

}  // namespace

int main(int argc, char** argv) {
  int repeat = 5;
  bool withAssimp = true;
  bool withDump = true;
  std::string tool;
  const char* path = nullptr;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--repeat" && i + 1 < argc) {
      repeat = std::max(1, std::atoi(argv[++i]));
    } else if (arg == "--no-assimp") {
      withAssimp = false;
    } else if (arg == "--no-dump") {
      withDump = false;
    } else if (arg == "--dump" && i + 1 < argc) {
      tool = argv[++i];
    } else if (!path && arg[0] != '-') {
      path = argv[i];
    } else {
      path = nullptr;
      break;
    }
  }
  if (!path) {
    std::fputs("usage: ase-bench [--repeat N] [--no-assimp] [--no-dump] [--dump PATH] FILE\n",
               stderr);
    return 2;
  }
  if (tool.empty()) {
    std::error_code ec;
    const auto self = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (!ec) tool = (self.parent_path() / "tessaly-dump").string();
  }
  if (withDump && (tool.empty() || ::access(tool.c_str(), X_OK) != 0)) withDump = false;

  struct stat info {};
  if (::stat(path, &info) != 0) {
    std::perror(path);
    return 1;
  }
  const double fileMB = static_cast<double>(info.st_size) / 1e6;
  const double fileKiB = static_cast<double>(info.st_size) / 1024.0;

  std::vector<Contender> order = {kBaseline, kScan, kScanPrefaulted, kOurs};
  if (withAssimp) order.push_back(kAssimp);
  if (withDump) order.push_back(kDump);

  std::array<std::vector<Sample>, kContenderCount> samples;
  for (int round = 0; round < repeat; ++round) {
    for (const Contender c : order) {
      const Sample s = RunChild(c, path, tool);
      if (s.report.seconds < 0) {
        std::fprintf(stderr, "%s failed\n", kNames[c]);
        return 1;
      }
      samples[c].push_back(s);
    }
  }

  struct Figures {
    double bestWall, medianWall, bestCpu, medianCpu, peakKiB;
  };
  const double baseKiB = [&] {
    std::vector<double> v;
    for (const auto& s : samples[kBaseline])
      v.push_back(s.peakKiB);
    return Median(v);
  }();
  auto figures = [&](Contender c) {
    std::vector<double> wall, cpu, peak;
    for (const auto& s : samples[c]) {
      wall.push_back(s.report.seconds);
      cpu.push_back(s.cpuSeconds);
      // tessaly-dump is a fresh process: its peak is its own.
      peak.push_back(c == kDump ? s.peakKiB : s.peakKiB - baseKiB);
    }
    return Figures{*std::min_element(wall.begin(), wall.end()), Median(wall),
                   *std::min_element(cpu.begin(), cpu.end()), Median(cpu), Median(peak)};
  };
  auto print = [&](const char* name, const Figures& f, const char* note) {
    std::printf(
        "%-7s wall %7.1f / %7.1f ms  %6.1f / %6.1f MB/s   cpu %7.1f / %7.1f ms   "
        "peak RSS %6.1f MiB = %.2f x file   %s\n",
        name, f.bestWall * 1e3, f.medianWall * 1e3, fileMB / f.bestWall, fileMB / f.medianWall,
        f.bestCpu * 1e3, f.medianCpu * 1e3, f.peakKiB / 1024, f.peakKiB / fileKiB, note);
  };

  std::printf("file    %s: %.1f MB, %d runs of each, figures as best / median\n", path, fileMB,
              repeat);
  std::printf(
      "        (wall: the measured part; cpu: user + system time of the whole child;\n"
      "         peak RSS above the %.1f MiB of an idle child)\n",
      baseKiB / 1024);
  const Report& scanReport = samples[kScan].front().report;
  const Report& oursReport = samples[kOurs].front().report;
  const Figures scan = figures(kScan), scanPlus = figures(kScanPrefaulted), ours = figures(kOurs);
  char note[160];
  std::snprintf(note, sizeof note, "(%.0f tokens; plain read into a heap block)", scanReport.count);
  print("scan", scan, note);
  print("scan+", scanPlus, "(the same, read into a prefaulted buffer as the loader does)");
  std::snprintf(note, sizeof note, "(%.0f faces, %.1f ns per token)", oursReport.count,
                ours.bestWall * 1e9 / scanReport.count);
  print("ours", ours, note);
  const double peakBytes = ours.peakKiB * 1024;
  std::printf("model   %.1f MiB by length, %.1f MiB allocated: ours peak = file + %.2f x model\n",
              oursReport.modelBytes / 1048576, oursReport.modelAlloc / 1048576,
              (peakBytes - static_cast<double>(info.st_size)) / oursReport.modelBytes);
  Figures assimp{};
  if (withAssimp) {
    assimp = figures(kAssimp);
    std::snprintf(note, sizeof note, "(%.0f faces)", samples[kAssimp].front().report.count);
    print("assimp", assimp, note);
  }
  if (withDump) print("dump", figures(kDump), "(tessaly-dump FILE > /dev/null)");
  if (withAssimp) {
    std::printf("ratio   assimp/ours time: wall %.2f x best, %.2f x median; cpu %.2f x best\n",
                assimp.bestWall / ours.bestWall, assimp.medianWall / ours.medianWall,
                assimp.bestCpu / ours.bestCpu);
  }
  auto printScanRatio = [&](const char* name, const Figures& limit) {
    std::printf("ratio   ours rate/%s rate: wall %.0f %% best, %.0f %% median; cpu %.0f %% best\n",
                name, 100 * limit.bestWall / ours.bestWall,
                100 * limit.medianWall / ours.medianWall, 100 * limit.bestCpu / ours.bestCpu);
  };
  printScanRatio("scan", scan);
  printScanRatio("scan+", scanPlus);
  return 0;
}
