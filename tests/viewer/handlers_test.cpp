// The window messages and timer ticks against the viewer state.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <limits>
#include <string>
#include <vector>

#include "fake_window_system.h"
#include "gl_binding/gl_recorder.h"
#include "token_stream/token_stream.h"
#include "viewer/render_context.h"
#include "viewer/shell.h"
#include "viewer/viewer_state.h"

namespace tessaly {
namespace {

namespace fs = std::filesystem;
using testing::TFakeWindowSystem;

class HandlersTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Viewer = TViewerState{};
    RenderContextState = TRenderContextState{};
  }
  void TearDown() override { Viewer = TViewerState{}; }

  static void Move(WPARAM keys, int x, int y) {
    ViewerWindowProc(WM_MOUSEMOVE, keys, MakeLParam(x, y));
  }

  TGLRecorder recorder;
  TFakeWindowSystem windowSystem{recorder};
};

TEST_F(HandlersTest, LeftDragTurnsByTheMouseDelta) {
  Viewer.LastMouse = {100, 100};
  Move(MK_LBUTTON, 130, 90);  // right and up
  EXPECT_EQ(Viewer.SpinAngle, 30);
  EXPECT_EQ(Viewer.TiltAngle, -10);
  Move(MK_LBUTTON, 120, 150);  // left and down
  EXPECT_EQ(Viewer.SpinAngle, 20);
  EXPECT_EQ(Viewer.TiltAngle, 50);
  EXPECT_EQ(Viewer.ViewDistance, 15);
  EXPECT_EQ(Viewer.LastMouse.X, 120);
  EXPECT_EQ(Viewer.LastMouse.Y, 150);
  EXPECT_TRUE(recorder.Calls.empty()) << "a drag draws nothing";
}

TEST_F(HandlersTest, RightDragMovesNearerOrFartherWithinLimits) {
  struct Case {
    int startDistance, fromY, toY, expected;
  };
  const Case cases[] = {
      {15, 100, 110, 5},      // down brings it nearer
      {15, 100, 90, 25},      // up moves it away
      {15, 100, 114, 1},      // down to the nearest allowed
      {15, 100, 400, 1},      // far down stops at 1
      {990, 300, 290, 1000},  // up to the farthest allowed
      {990, 300, 0, 1000},    // far up stops at 1000
      {1, 50, 49, 2},         // back from the limit at once
  };
  for (const Case& c : cases) {
    Viewer.ViewDistance = c.startDistance;
    Viewer.LastMouse = {7, c.fromY};
    Move(MK_RBUTTON, 7, c.toY);
    EXPECT_EQ(Viewer.ViewDistance, c.expected)
        << c.startDistance << ": " << c.fromY << " -> " << c.toY;
    EXPECT_EQ(Viewer.SpinAngle, 0);
    EXPECT_EQ(Viewer.TiltAngle, 0);
  }
}

TEST_F(HandlersTest, MovesWithOtherButtonsOrModifiersOnlyFollowTheMouse) {
  const WPARAM masks[] = {0,
                          MK_LBUTTON | MK_RBUTTON,
                          MK_MBUTTON,
                          MK_LBUTTON | MK_SHIFT,
                          MK_RBUTTON | MK_CONTROL,
                          MK_LBUTTON | MK_MBUTTON,
                          MK_RBUTTON | MK_XBUTTON1,
                          MK_XBUTTON2};
  for (WPARAM keys : masks) {
    Viewer.LastMouse = {10, 10};
    Move(keys, 60, 80);
    EXPECT_EQ(Viewer.SpinAngle, 0) << "mask " << keys;
    EXPECT_EQ(Viewer.TiltAngle, 0) << "mask " << keys;
    EXPECT_EQ(Viewer.ViewDistance, 15) << "mask " << keys;
    EXPECT_EQ(Viewer.LastMouse.X, 60);
    EXPECT_EQ(Viewer.LastMouse.Y, 80);
  }
}

TEST_F(HandlersTest, WmAppAddsOneDegreeWithoutDrawing) {
  Viewer.SpinAngle = 41;
  EXPECT_EQ(ViewerWindowProc(WM_APP, 0, 0), 0);
  EXPECT_EQ(Viewer.SpinAngle, 42);
  EXPECT_TRUE(recorder.Calls.empty());
}

TEST_F(HandlersTest, TimerTickSpinsAndDrawsOneFrame) {
  Viewer.SpinAngle = -1;
  SpinTimerProc();
  EXPECT_EQ(Viewer.SpinAngle, 0);
  const std::vector<std::string> lines = recorder.Lines();
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines.front(), FormatGLCall("glClearColor", {0.5f, 0.7f, 0.8f, 0.0f}));
  EXPECT_EQ(lines.back(), "SwapBuffers()");
}

TEST_F(HandlersTest, DestroyFreesDocumentThenClosesContextThenQuits) {
  Viewer.CurrentDocument = std::make_unique<TASEFile>();
  RenderContextState.RenderContext = true;
  bool documentFreedFirst = false;
  windowSystem.OnDeleteRenderContext = [&] {
    documentFreedFirst = Viewer.CurrentDocument == nullptr;
  };

  EXPECT_EQ(ViewerWindowProc(WM_DESTROY, 0, 0), 0);

  EXPECT_TRUE(documentFreedFirst);
  EXPECT_EQ(recorder.Lines(),
            (std::vector<std::string>{"DeleteRenderContext()", "PostQuitMessage(0)", "Sleep(10)"}));
  EXPECT_FALSE(RenderContextState.RenderContext);
}

TEST_F(HandlersTest, SizeRebuildsProjectionAndViewport) {
  struct Case {
    uint32_t width, height;
    double aspect;
  };
  const Case cases[] = {
      {1024, 768, 1024.0 / 768.0},
      {640, 0, std::numeric_limits<double>::infinity()},  // minimised
      {0, 0, std::numeric_limits<double>::quiet_NaN()},
      {65535, 1, 65535.0},
  };
  for (const Case& c : cases) {
    recorder.Clear();
    ViewerWindowProc(WM_SIZE, 0, MakeLParam(c.width, c.height));
    ASSERT_EQ(recorder.Calls.size(), 5u);
    EXPECT_EQ(recorder.Lines()[0], FormatGLCall("glMatrixMode", {GL_PROJECTION}));
    EXPECT_EQ(recorder.Lines()[1], "glLoadIdentity()");
    const TGLCall& perspective = recorder.Calls[2];
    EXPECT_EQ(perspective.Name, "gluPerspective");
    EXPECT_EQ(perspective.Args[0], 60.0);
    if (std::isnan(c.aspect))
      EXPECT_TRUE(std::isnan(perspective.Args[1]));
    else
      EXPECT_EQ(perspective.Args[1], c.aspect);
    EXPECT_EQ(perspective.Args[2], 1.0);
    EXPECT_EQ(perspective.Args[3], 2000.0);
    EXPECT_EQ(recorder.Lines()[3], FormatGLCall("glMatrixMode", {GL_MODELVIEW}));
    EXPECT_EQ(recorder.Lines()[4],
              FormatGLCall("glViewport", {0, 0, double(c.width), double(c.height)}));
  }
}

// The six model files, each carrying its own name in a comment, in a folder
// that is the working directory while the test runs.
class ModelSwitchTest : public HandlersTest {
 protected:
  void SetUp() override {
    HandlersTest::SetUp();
    folder_ = fs::temp_directory_path() / ("tessaly_models_" + std::to_string(getpid()));
    fs::create_directories(folder_);
    for (const char* name : {"AH64", "A10", "MIG21", "F16", "F117A", "F22"})
      std::ofstream(folder_ / (std::string(name) + ".ASE"))
          << "*3DSMAX_ASCIIEXPORT 200\n*COMMENT \"" << name << "\"\n";
    previous_ = fs::current_path();
    fs::current_path(folder_);
  }
  void TearDown() override {
    fs::current_path(previous_);
    fs::remove_all(folder_);
    HandlersTest::TearDown();
  }

  static std::string LoadedModel() {
    if (Viewer.CurrentDocument == nullptr || Viewer.CurrentDocument->Comments.empty())
      return "(none)";
    return Viewer.CurrentDocument->Comments.front()->Text;
  }

  fs::path folder_, previous_;
};

TEST_F(ModelSwitchTest, BracketKeysStepThroughTheModelsWithWrapAround) {
  struct Step {
    WPARAM key;
    int32_t model;
    const char* loaded;
  };
  const Step steps[] = {
      {VK_OEM_4, 6, "F22"}, {VK_OEM_6, 1, "AH64"},  {VK_OEM_6, 2, "A10"}, {VK_OEM_6, 3, "MIG21"},
      {VK_OEM_6, 4, "F16"}, {VK_OEM_6, 5, "F117A"}, {VK_OEM_6, 6, "F22"}, {VK_OEM_6, 1, "AH64"},
      {VK_OEM_4, 6, "F22"}, {VK_OEM_4, 5, "F117A"},
  };
  for (const Step& step : steps) {
    ViewerWindowProc(WM_KEYDOWN, step.key, 0);
    EXPECT_EQ(Viewer.ModelNumber, step.model);
    EXPECT_EQ(LoadedModel(), step.loaded);
  }
  EXPECT_TRUE(recorder.Calls.empty()) << "a switch draws nothing; the next tick does";
}

TEST_F(ModelSwitchTest, EveryKeyDownReloadsAndOtherKeysDoNothing) {
  ReloadModel();
  const TASEFile* first = Viewer.CurrentDocument.get();
  for (WPARAM key : {WPARAM{'A'}, WPARAM{91}, WPARAM{93}, WPARAM{0}, WPARAM{220}})
    ViewerWindowProc(WM_KEYDOWN, key, 0);
  EXPECT_EQ(Viewer.CurrentDocument.get(), first);
  EXPECT_EQ(Viewer.ModelNumber, 1);

  // An auto-repeated key arrives as further key-downs: one step each.
  for (int i = 0; i < 3; ++i)
    ViewerWindowProc(WM_KEYDOWN, VK_OEM_6, 0);
  EXPECT_EQ(Viewer.ModelNumber, 4);
  EXPECT_EQ(LoadedModel(), "F16");
}

TEST_F(ModelSwitchTest, MissingModelFileEscapesTheKeyHandler) {
  fs::remove(folder_ / "F22.ASE");
  ReloadModel();
  ASSERT_EQ(LoadedModel(), "AH64");
  try {
    ViewerWindowProc(WM_KEYDOWN, VK_OEM_4, 0);
    FAIL() << "no error";
  } catch (const EParseError& error) {
    EXPECT_NE(std::string(error.what()).find("F22.ASE"), std::string::npos) << error.what();
    const std::string report = DescribeUnhandledError(error, ModelFileName(Viewer.ModelNumber));
    EXPECT_EQ(report.rfind("Exception EParseError in module tessaly.\n", 0), 0u) << report;
    EXPECT_EQ(report.substr(report.size() - 10), "\n(F22.ASE)") << report;
  }
  EXPECT_EQ(Viewer.ModelNumber, 6);
  ASSERT_NE(Viewer.CurrentDocument, nullptr) << "the new, empty document stays current";
  EXPECT_TRUE(Viewer.CurrentDocument->Comments.empty());
}

TEST(UnhandledErrorTest, NamesClassModuleMessageAndPlace) {
  EXPECT_EQ(
      DescribeUnhandledError(EParseError("Unexpected end of file", 12), "MIG21.ASE"),
      "Exception EParseError in module tessaly.\nUnexpected end of file\n(MIG21.ASE, line 12)");
  EXPECT_EQ(
      DescribeUnhandledError(std::runtime_error("Could not load GLu from libGLU.so.1"), "AH64.ASE"),
      "Exception runtime_error in module tessaly.\nCould not load GLu from libGLU.so.1");
}

}  // namespace
}  // namespace tessaly
