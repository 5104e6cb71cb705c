// The context's set-up and teardown, and the palette ramps of indexed formats.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fake_window_system.h"
#include "gl_binding/gl_recorder.h"
#include "viewer/render_context.h"

namespace tessaly {
namespace {

using testing::TFakeWindowSystem;

class RenderContextTest : public ::testing::Test {
 protected:
  void SetUp() override { RenderContextState = TRenderContextState{}; }
  TGLRecorder recorder;
  TFakeWindowSystem windowSystem{recorder};
};

std::vector<std::string> ExpectedSetUp() {
  return {
      FormatGLCall("glEnable", {GL_DEPTH_TEST}),
      FormatGLCall("glEnable", {GL_CULL_FACE}),
      FormatGLCall("glEnable", {GL_LIGHTING}),
      FormatGLCall("glLightfv", {GL_LIGHT0, GL_AMBIENT, 3, 3, 3, 1}),
      FormatGLCall("glLightfv", {GL_LIGHT0, GL_DIFFUSE, 0.5, 0.5, 0.5, 1}),
      FormatGLCall("glLightfv", {GL_LIGHT0, GL_SPECULAR, 0.3f, 0.3f, 0.3f, 1}),
      FormatGLCall("glEnable", {GL_LIGHT0}),
      FormatGLCall("glMatrixMode", {GL_PROJECTION}),
      "glLoadIdentity()",
      FormatGLCall("gluPerspective", {60, 4.0 / 3.0, 1, 2000}),
      FormatGLCall("glMatrixMode", {GL_MODELVIEW}),
      FormatGLCall("glViewport", {0, 0, 800, 600}),
  };
}

TEST_F(RenderContextTest, TrueColourOpenSetsLightProjectionAndViewport) {
  windowSystem.Format = {.NeedPalette = false, .ColorBits = 24};
  OpenRenderContext();

  std::vector<std::string> expected = {"CreateRenderContext()", "DescribePixelFormat()"};
  for (const std::string& line : ExpectedSetUp())
    expected.push_back(line);
  EXPECT_EQ(recorder.Lines(), expected);
  EXPECT_EQ(recorder.Calls[11].Args[1], 4.0 / 3.0) << "the double nearest to 4/3";

  recorder.Clear();
  CloseRenderContext();
  EXPECT_EQ(recorder.Lines(), std::vector<std::string>{"DeleteRenderContext()"})
      << "no palette to delete";
}

TEST_F(RenderContextTest, IndexedFormatGetsARampPaletteDeletedAtClose) {
  windowSystem.Format = {.NeedPalette = true,
                         .ColorBits = 8,
                         .RedBits = 3,
                         .RedShift = 0,
                         .GreenBits = 3,
                         .GreenShift = 3,
                         .BlueBits = 2,
                         .BlueShift = 6};
  OpenRenderContext();
  EXPECT_EQ(recorder.Lines()[2], "CreatePalette(256)");
  EXPECT_EQ(windowSystem.Palette.size(), 256u);

  recorder.Clear();
  CloseRenderContext();
  EXPECT_EQ(recorder.Lines(),
            (std::vector<std::string>{"DeleteRenderContext()", "DeletePalette()"}));
}

TEST_F(RenderContextTest, SetUpGoesOnWithoutAContext) {
  windowSystem.ContextCreated = false;
  OpenRenderContext();
  EXPECT_EQ(recorder.Calls.size(), 2 + ExpectedSetUp().size());
  recorder.Clear();
  CloseRenderContext();
  EXPECT_TRUE(recorder.Calls.empty()) << "nothing to delete";
}

std::vector<int> Channel(const std::vector<TPaletteEntry>& ramp, uint8_t TPaletteEntry::*channel,
                         int step, int count) {
  std::vector<int> values;
  for (int i = 0; i < count; ++i)
    values.push_back(ramp[static_cast<size_t>(i * step)].*channel);
  return values;
}

TEST(PaletteRampTest, ThreeThreeTwo) {
  const auto ramp = BuildPaletteRamp({.NeedPalette = true,
                                      .ColorBits = 8,
                                      .RedBits = 3,
                                      .RedShift = 0,
                                      .GreenBits = 3,
                                      .GreenShift = 3,
                                      .BlueBits = 2,
                                      .BlueShift = 6});
  ASSERT_EQ(ramp.size(), 256u);
  const std::vector<int> eightLevels = {0, 36, 72, 109, 145, 182, 218, 255};
  EXPECT_EQ(Channel(ramp, &TPaletteEntry::Red, 1, 8), eightLevels);
  EXPECT_EQ(Channel(ramp, &TPaletteEntry::Green, 8, 8), eightLevels);
  EXPECT_EQ(Channel(ramp, &TPaletteEntry::Blue, 64, 4), (std::vector<int>{0, 85, 170, 255}));
  EXPECT_EQ(ramp[255], (TPaletteEntry{255, 255, 255, 0}));
  EXPECT_EQ(ramp[0b10'011'101], (TPaletteEntry{182, 109, 170, 0}));
}

TEST(PaletteRampTest, OneBitAndZeroBitChannels) {
  // Red 1 bit, green 0 bits, blue 1 bit.
  const auto ramp = BuildPaletteRamp({.NeedPalette = true,
                                      .ColorBits = 2,
                                      .RedBits = 1,
                                      .RedShift = 0,
                                      .GreenBits = 0,
                                      .GreenShift = 1,
                                      .BlueBits = 1,
                                      .BlueShift = 1});
  ASSERT_EQ(ramp.size(), 4u);
  EXPECT_EQ(ramp[0], (TPaletteEntry{0, 0, 0, 0}));
  EXPECT_EQ(ramp[1], (TPaletteEntry{255, 0, 0, 0}));
  EXPECT_EQ(ramp[2], (TPaletteEntry{0, 0, 255, 0}));
  EXPECT_EQ(ramp[3], (TPaletteEntry{255, 0, 255, 0}));
}

}  // namespace
}  // namespace tessaly
