// A whole run of run_test_frame against the recording fake: the status block
// and the GL calls of every frame, sample frames of every driver, and the
// exact record of the run's start.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fakegl.h"
#include "primitives/dispatcher.h"
#include "primitives/drivers.h"
#include "run_capture.h"

namespace {

// Each driver's status line and set calls when it is not the enabled one.
const char* const DISABLED_STATUS[DRIVER_COUNT] = {
    "Hint GL_DONT_CARE.\n", "Anti-Aliasing off.\n", "Alpha off.\n",    "Blend off.\n",    "Depth off.\n",
    "Dither off.\n",        "Fog off.\n",           "Lighting off.\n", "Logic Op off.\n", "Scissor off.\n",
    "Shading SMOOTH.\n",    "Stencil off.\n",       "Texture off.\n"};

const std::vector<std::string> DISABLED_SETS[DRIVER_COUNT] = {
    {"glHint(GL_POINT_SMOOTH_HINT, GL_DONT_CARE)", "glHint(GL_LINE_SMOOTH_HINT, GL_DONT_CARE)",
     "glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_DONT_CARE)", "glHint(GL_FOG_HINT, GL_DONT_CARE)"},
    {"glDisable(GL_POINT_SMOOTH)", "glDisable(GL_LINE_SMOOTH)"},
    {"glDisable(GL_ALPHA_TEST)"},
    {"glDisable(GL_BLEND)"},
    {"glDisable(GL_DEPTH_TEST)"},
    {"glDisable(GL_DITHER)"},
    {"glDisable(GL_FOG)"},
    {"glDisable(GL_LIGHTING)"},
    {"glDisable(GL_COLOR_LOGIC_OP)"},
    {"glDisable(GL_SCISSOR_TEST)"},
    {"glShadeModel(GL_SMOOTH)"},
    {"glDisable(GL_STENCIL_TEST)"},
    {"glDisable(GL_TEXTURE_2D)"}};

// The status block and set calls of a frame in which `row` shows `on` and
// applies `set`, every other driver its disabled form.
std::string block_with(std::int32_t row, const std::string& on) {
  std::string block;
  for (std::int32_t r = 0; r < DRIVER_COUNT; ++r) block += r == row ? on : DISABLED_STATUS[r];
  return block;
}

std::vector<std::string> sets_with(std::int32_t row, const std::vector<std::string>& set) {
  std::vector<std::string> calls;
  for (std::int32_t r = 0; r < DRIVER_COUNT; ++r) {
    const std::vector<std::string>& part = r == row ? set : DISABLED_SETS[r];
    calls.insert(calls.end(), part.begin(), part.end());
  }
  return calls;
}

struct RunPieces {
  std::vector<std::string> blocks;
  std::string tail;
  SplitRecord record;
  std::vector<std::int32_t> counts;
};

const RunPieces& pieces() {
  static const RunPieces got = [] {
    RunPieces p;
    p.blocks = split_status_blocks(verbose_run().out, &p.tail);
    p.record = split_record(verbose_run().calls);
    p.counts = combination_counts();
    return p;
  }();
  return got;
}

TEST(Frames, TheRunDraws5452FramesAndPasses) {
  const RunPieces& p = pieces();
  std::int32_t expected = 1;
  for (std::int32_t count : p.counts) expected += count;
  EXPECT_EQ(p.blocks.size(), static_cast<std::size_t>(expected));
  EXPECT_EQ(p.record.frames.size(), static_cast<std::size_t>(expected));
  EXPECT_EQ(fake_call_count("glDrawArrays"), 0) << "the capture resets the fake after the run";
  EXPECT_EQ(first_difference(p.tail, "\n" + std::to_string(expected) +
                                         " Combinations.\nquillet (fixed point) passed.\n\n"),
            "");
}

TEST(Frames, FirstFrameHasNoDriverEnabled) {
  EXPECT_EQ(pieces().blocks.at(0),
            "Hint GL_DONT_CARE.\nAnti-Aliasing off.\nAlpha off.\nBlend off.\nDepth off.\nDither off.\n"
            "Fog off.\nLighting off.\nLogic Op off.\nScissor off.\nShading SMOOTH.\nStencil off.\n"
            "Texture off.\n");
  EXPECT_EQ(pieces().record.frames.at(0).sets, sets_with(-1, {}));
}

// In every frame exactly the row whose turn it is shows and applies its
// enabled form; all the others their disabled forms; the drawing never varies.
TEST(Frames, EveryFrameEnablesExactlyTheRowWhoseTurnItIs) {
  const RunPieces& p = pieces();
  std::size_t frame = 1;
  for (std::int32_t row = 0; row < DRIVER_COUNT; ++row) {
    for (std::int32_t c = 0; c < p.counts[row]; ++c, ++frame) {
      ASSERT_LT(frame, p.blocks.size());
      std::string before, after;
      for (std::int32_t r = 0; r < row; ++r) before += DISABLED_STATUS[r];
      for (std::int32_t r = row + 1; r < DRIVER_COUNT; ++r) after += DISABLED_STATUS[r];
      const std::string& block = p.blocks[frame];
      ASSERT_EQ(block.compare(0, before.size(), before), 0) << "frame " << frame + 1 << "\n" << block;
      ASSERT_GE(block.size(), before.size() + after.size());
      ASSERT_EQ(block.substr(block.size() - after.size()), after) << "frame " << frame + 1 << "\n" << block;
      const std::string own = block.substr(before.size(), block.size() - before.size() - after.size());
      ASSERT_NE(own, DISABLED_STATUS[row]) << "frame " << frame + 1;

      const std::vector<std::string>& sets = p.record.frames[frame].sets;
      std::vector<std::string> head, rest;
      for (std::int32_t r = 0; r < row; ++r)
        head.insert(head.end(), DISABLED_SETS[r].begin(), DISABLED_SETS[r].end());
      for (std::int32_t r = row + 1; r < DRIVER_COUNT; ++r)
        rest.insert(rest.end(), DISABLED_SETS[r].begin(), DISABLED_SETS[r].end());
      ASSERT_GE(sets.size(), head.size() + rest.size()) << "frame " << frame + 1;
      ASSERT_EQ(std::vector<std::string>(sets.begin(), sets.begin() + head.size()), head)
          << "frame " << frame + 1;
      ASSERT_EQ(std::vector<std::string>(sets.end() - rest.size(), sets.end()), rest)
          << "frame " << frame + 1;
      ASSERT_EQ(p.record.frames[frame].drawing, p.record.frames[0].drawing) << "frame " << frame + 1;
    }
  }
  EXPECT_EQ(frame, p.blocks.size());
}

// Expected texture image: the checkerboard in a format, texel by texel.
std::string checkerboard_hex(const char* dark, const char* light) {
  std::string hex;
  for (int row = 0; row < 4; ++row) {
    for (int column = 0; column < 4; ++column) hex += (row + column) % 2 == 0 ? dark : light;
  }
  return hex;
}

std::vector<std::string> texture_sets(const char* mode, const char* wrap_s, const char* wrap_t,
                                      const char* min, const char* mag, const char* format,
                                      const std::string& image) {
  return {std::string("glTexEnvxv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, {") + mode + "})",
          std::string("glTexParameterx(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, ") + wrap_s + ")",
          std::string("glTexParameterx(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, ") + wrap_t + ")",
          std::string("glTexParameterx(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, ") + min + ")",
          std::string("glTexParameterx(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, ") + mag + ")",
          std::string("glTexImage2D(GL_TEXTURE_2D, 0, ") + format + ", 4, 4, 0, " + format +
              ", GL_UNSIGNED_BYTE, " + image + ")",
          "glEnable(GL_TEXTURE_2D)"};
}

std::vector<std::string> stencil_sets(const char* func, const char* ops) {
  return {std::string("glStencilFunc(") + func + ", 0, 0xFFFFFFFF)", std::string("glStencilOp(") + ops + ")",
          "glStencilMask(0xFFFFFFFF)", "glEnable(GL_STENCIL_TEST)"};
}

struct SampleFrame {
  std::int32_t row;
  std::int32_t combination;  // 1-based; 0 stands for the driver's last
  std::string status;
  std::vector<std::string> sets;
};

TEST(Frames, SampleFramesOfEveryDriver) {
  const std::string alpha_image = checkerboard_hex("80", "80");
  const std::string rgb_image = checkerboard_hex("000000", "FFFFFF");
  const std::string luminance_alpha_image = checkerboard_hex("0000", "FFFF");
  const std::vector<SampleFrame> samples = {
      {0, 1, "Hint.\n\tGL_POINT_SMOOTH_HINT, GL_NICEST.\n", {"glHint(GL_POINT_SMOOTH_HINT, GL_NICEST)"}},
      {0, 4, "Hint.\n\tGL_LINE_SMOOTH_HINT, GL_FASTEST.\n", {"glHint(GL_LINE_SMOOTH_HINT, GL_FASTEST)"}},
      {0, 0, "Hint.\n\tGL_FOG_HINT, GL_FASTEST.\n", {"glHint(GL_FOG_HINT, GL_FASTEST)"}},
      {1, 1, "Anti-Aliasing on.\n", {"glEnable(GL_POINT_SMOOTH)", "glEnable(GL_LINE_SMOOTH)"}},
      {2, 1, "Alpha on.\n\tGL_EQUAL.\n", {"glAlphaFuncx(GL_EQUAL, 0x10000)", "glEnable(GL_ALPHA_TEST)"}},
      {2, 0, "Alpha on.\n\tGL_NEVER.\n", {"glAlphaFuncx(GL_NEVER, 0x10000)", "glEnable(GL_ALPHA_TEST)"}},
      {3, 1, "Blend on.\n\tGL_ZERO, GL_ZERO.\n", {"glBlendFunc(0x0, 0x0)", "glEnable(GL_BLEND)"}},
      {3, 2, "Blend on.\n\tGL_ZERO, GL_ONE.\n", {"glBlendFunc(0x0, 0x1)", "glEnable(GL_BLEND)"}},
      {3, 9, "Blend on.\n\tGL_ONE, GL_ZERO.\n", {"glBlendFunc(0x1, 0x0)", "glEnable(GL_BLEND)"}},
      {3,
       0,
       "Blend on.\n\tGL_SRC_ALPHA_SATURATE, GL_ONE_MINUS_DST_ALPHA.\n",
       {"glBlendFunc(0x308, 0x305)", "glEnable(GL_BLEND)"}},
      {4,
       1,
       "Depth on.\n\tGL_EQUAL.\n",
       {"glDepthFunc(GL_EQUAL)", "glDepthRangex(0xFFFF0000, 0x10000)", "glEnable(GL_DEPTH_TEST)"}},
      {4,
       0,
       "Depth on.\n\tGL_NEVER.\n",
       {"glDepthFunc(GL_NEVER)", "glDepthRangex(0xFFFF0000, 0x10000)", "glEnable(GL_DEPTH_TEST)"}},
      {5, 1, "Dither on.\n", {"glEnable(GL_DITHER)"}},
      {6, 1, "Fog on.\n\tGL_LINEAR.\n", {"glFogxv(GL_FOG_MODE, {0x2601})", "glEnable(GL_FOG)"}},
      {6, 2, "Fog on.\n\tGL_EXP.\n", {"glFogxv(GL_FOG_MODE, {0x800})", "glEnable(GL_FOG)"}},
      {6, 3, "Fog on.\n\tGL_EXP2.\n", {"glFogxv(GL_FOG_MODE, {0x801})", "glEnable(GL_FOG)"}},
      {7,
       1,
       "Lighting on.\n\tGL_TRUE, GL_TRUE.\n",
       {"glLightModelxv(GL_LIGHT_MODEL_TWO_SIDE, {0x10000})", "glEnable(GL_LIGHTING)"}},
      {7,
       2,
       "Lighting on.\n\tGL_TRUE, GL_FALSE.\n",
       {"glLightModelxv(GL_LIGHT_MODEL_TWO_SIDE, {0x0})", "glEnable(GL_LIGHTING)"}},
      {7,
       3,
       "Lighting on.\n\tGL_FALSE, GL_TRUE.\n",
       {"glLightModelxv(GL_LIGHT_MODEL_TWO_SIDE, {0x10000})", "glEnable(GL_LIGHTING)"}},
      {7,
       4,
       "Lighting on.\n\tGL_FALSE, GL_FALSE.\n",
       {"glLightModelxv(GL_LIGHT_MODEL_TWO_SIDE, {0x0})", "glEnable(GL_LIGHTING)"}},
      {8, 1, "Logic Op on.\n\tGL_NOOP.\n", {"glLogicOp(GL_NOOP)", "glEnable(GL_COLOR_LOGIC_OP)"}},
      {8, 2, "Logic Op on.\n\tGL_SET.\n", {"glLogicOp(GL_SET)", "glEnable(GL_COLOR_LOGIC_OP)"}},
      {8, 0, "Logic Op on.\n\tGL_NOR.\n", {"glLogicOp(GL_NOR)", "glEnable(GL_COLOR_LOGIC_OP)"}},
      {9, 1, "Scissor on.\n", {"glScissor(0, 0, 12, 12)", "glEnable(GL_SCISSOR_TEST)"}},
      {10, 1, "Shading.\n\tGL_FLAT\n", {"glShadeModel(GL_FLAT)"}},
      {11, 1, "Stencil on.\n\tGL_EQUAL, GL_KEEP, GL_KEEP, GL_KEEP.\n",
       stencil_sets("GL_EQUAL", "0x1E00, 0x1E00, 0x1E00")},
      {11, 2, "Stencil on.\n\tGL_EQUAL, GL_KEEP, GL_KEEP, GL_REPLACE.\n",
       stencil_sets("GL_EQUAL", "0x1E00, 0x1E00, 0x1E01")},
      {11, 217, "Stencil on.\n\tGL_NOTEQUAL, GL_KEEP, GL_KEEP, GL_KEEP.\n",
       stencil_sets("GL_NOTEQUAL", "0x1E00, 0x1E00, 0x1E00")},
      {11, 0, "Stencil on.\n\tGL_NEVER, GL_ZERO, GL_ZERO, GL_ZERO.\n",
       stencil_sets("GL_NEVER", "0x0, 0x0, 0x0")},
      {12, 1,
       "Texture on.\n\tGL_MODULATE.\n\tGL_S, GL_REPEAT, GL_NEAREST, GL_T, GL_REPEAT, GL_NEAREST.\n"
       "\tGL_ALPHA, GL_UNSIGNED_BYTE.\n\tGL_TEXTURE_2D.\n",
       texture_sets("0x2100", "GL_REPEAT", "GL_REPEAT", "GL_NEAREST", "GL_NEAREST", "GL_ALPHA", alpha_image)},
      {12, 5,
       "Texture on.\n\tGL_MODULATE.\n\tGL_S, GL_REPEAT, GL_NEAREST, GL_T, GL_REPEAT, GL_NEAREST.\n"
       "\tGL_ALPHA, GL_UNSIGNED_BYTE.\n\tGL_TEXTURE_2D.\n",
       texture_sets("0x2100", "GL_REPEAT", "GL_REPEAT", "GL_NEAREST", "GL_NEAREST", "GL_ALPHA", alpha_image)},
      {12, 6,
       "Texture on.\n\tGL_MODULATE.\n\tGL_S, GL_REPEAT, GL_NEAREST, GL_T, GL_REPEAT, GL_NEAREST.\n"
       "\tGL_RGB, GL_UNSIGNED_BYTE.\n\tGL_TEXTURE_2D.\n",
       texture_sets("0x2100", "GL_REPEAT", "GL_REPEAT", "GL_NEAREST", "GL_NEAREST", "GL_RGB", rgb_image)},
      {12, 1201,
       "Texture on.\n\tGL_DECAL.\n\tGL_S, GL_REPEAT, GL_NEAREST, GL_T, GL_REPEAT, GL_NEAREST.\n"
       "\tGL_ALPHA, GL_UNSIGNED_BYTE.\n\tGL_TEXTURE_2D.\n",
       texture_sets("0x2101", "GL_REPEAT", "GL_REPEAT", "GL_NEAREST", "GL_NEAREST", "GL_ALPHA", alpha_image)},
      {12, 0,
       "Texture on.\n\tGL_BLEND.\n\tGL_S, GL_CLAMP_TO_EDGE, GL_LINEAR_MIPMAP_LINEAR, GL_T, GL_CLAMP_TO_EDGE, "
       "GL_LINEAR.\n\tGL_LUMINANCE_ALPHA, GL_UNSIGNED_BYTE.\n\tGL_TEXTURE_2D.\n",
       texture_sets("0xBE2", "GL_CLAMP_TO_EDGE", "GL_CLAMP_TO_EDGE", "GL_LINEAR_MIPMAP_LINEAR", "GL_LINEAR",
                    "GL_LUMINANCE_ALPHA", luminance_alpha_image)},
  };
  const RunPieces& p = pieces();
  for (const SampleFrame& s : samples) {
    const std::int32_t combination = s.combination == 0 ? p.counts[s.row] : s.combination;
    const std::size_t index = static_cast<std::size_t>(frame_of(s.row, combination) - 1);
    ASSERT_LT(index, p.blocks.size());
    EXPECT_EQ(p.blocks[index], block_with(s.row, s.status))
        << "row " << s.row << " combination " << combination;
    EXPECT_EQ(p.record.frames[index].sets, sets_with(s.row, s.sets))
        << "row " << s.row << " combination " << combination;
  }
}

// Each format's image, as glTexImage2D received it, in the first frame of
// that format.
TEST(Frames, TextureImageOfEachFormat) {
  const struct {
    std::int32_t combination;
    const char* format;
    const char* dark;
    const char* light;
    std::size_t bytes;
  } formats[] = {
      {1, "GL_ALPHA", "80", "80", 16},
      {6, "GL_RGB", "000000", "FFFFFF", 48},
      {11, "GL_RGBA", "00000080", "FFFFFF80", 64},
      {16, "GL_LUMINANCE", "00", "FF", 16},
      {21, "GL_LUMINANCE_ALPHA", "0000", "FFFF", 32},
  };
  const RunPieces& p = pieces();
  for (const auto& f : formats) {
    const std::size_t index = static_cast<std::size_t>(frame_of(12, f.combination) - 1);
    const std::string expected = std::string("glTexImage2D(GL_TEXTURE_2D, 0, ") + f.format + ", 4, 4, 0, " +
                                 f.format + ", GL_UNSIGNED_BYTE, " + checkerboard_hex(f.dark, f.light) + ")";
    const std::vector<std::string>& sets = p.record.frames.at(index).sets;
    bool found = false;
    for (const std::string& call : sets) found = found || call == expected;
    EXPECT_TRUE(found) << f.format;
    EXPECT_EQ(checkerboard_hex(f.dark, f.light).size(), 2 * f.bytes) << f.format;
  }
}

TEST(Frames, ImageBuilderSizesAndUnknownInputs) {
  const struct {
    std::int32_t format;
    std::int32_t type;
    std::int32_t size;
  } cases[] = {
      {0x1906, 0x1401, 16}, {0x1907, 0x1401, 48}, {0x1908, 0x1401, 64}, {0x1909, 0x1401, 16},
      {0x190A, 0x1401, 32}, {0x1907, 0x1403, 0},  {0x1902, 0x1401, 0},
  };
  for (const auto& c : cases) {
    unsigned char image[TEXTURE_IMAGE_BYTES + 1] = {};
    image[TEXTURE_IMAGE_BYTES] = 0xA5;
    EXPECT_EQ(build_texture_image(c.format, c.type, image), c.size) << std::hex << c.format;
    EXPECT_EQ(image[TEXTURE_IMAGE_BYTES], 0xA5);
  }
}

// Frame set-up, Init and the whole first frame, call by call.
TEST(Frames, GoldenRecordOfTheRunStart) {
  const std::vector<std::string> golden = read_lines(GOLDEN_DIR "/run_start.txt");
  ASSERT_FALSE(golden.empty());
  const RunPieces& p = pieces();
  std::vector<std::string> start = p.record.prelude;
  start.insert(start.end(), p.record.frames[0].sets.begin(), p.record.frames[0].sets.end());
  start.insert(start.end(), p.record.frames[0].drawing.begin(), p.record.frames[0].drawing.end());
  EXPECT_EQ(start, golden);
}

// The record ends with the last frame's drawing: End and the verdict issue no GL call.
TEST(Frames, NothingFollowsTheLastFrame) {
  const std::vector<std::string>& calls = verbose_run().calls;
  ASSERT_FALSE(calls.empty());
  EXPECT_EQ(calls.back(), "glDisableClientState(GL_TEXTURE_COORD_ARRAY)");
}

TEST(Frames, QuietRunPrintsOnlyTheVerdict) {
  const CapturedRun quiet = capture_whole_run(0, false);
  EXPECT_EQ(first_difference(quiet.out, "quillet (fixed point) passed.\n\n"), "");
  EXPECT_TRUE(quiet.calls.empty());
}

}  // namespace
