// The memory canvas against GDI: random sequences of every non-text operation are drawn
// on GDI bitmaps and on memory canvases with the same system colours, and every pixel
// must agree. Only pixels that may hold the system's scroll-arrow glyph (drawn with a
// font the memory canvas does not imitate) are left out. A mismatch names the seed and
// the steps, and leaves both pictures and their difference as PNG files.
#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>
#include <cstdlib>
#include <string>

#include "win32/CanvasSequence.h"
#include "platform/memory/MemoryCanvas.h"
#include "platform/memory/Png.h"
#include "platform/win32/Win32BitmapCanvas.h"
#include "platform/win32/Win32Fonts.h"
#include "platform/win32/Win32Text.h"

namespace vormix {
namespace {

using namespace canvastest;

std::uint64_t EnvironmentNumber(const char* name, std::uint64_t otherwise) {
  const char* value = std::getenv(name);
  return value && *value ? std::strtoull(value, nullptr, 10) : otherwise;
}

// Each picture four times as large, so that single pixels can be told apart.
TImage Enlarged(const TImage& image) {
  constexpr int kScale = 4;
  TImage big(image.Width * kScale, image.Height * kScale);
  for (int y = 0; y < big.Height; ++y)
    for (int x = 0; x < big.Width; ++x) big.Set(x, y, image.At(x / kScale, y / kScale));
  return big;
}

// Red where the pictures differ, blue where the comparison does not look, the memory
// picture dimmed elsewhere.
TImage Difference(const TImage& gdi, const TImage& memory, TWorld& world, int canvas) {
  TImage diff(gdi.Width, gdi.Height);
  for (int y = 0; y < gdi.Height; ++y)
    for (int x = 0; x < gdi.Width; ++x) {
      const TColor m = memory.At(x, y);
      TColor c = RGBColor(GetRed(m) / 3 + 120, GetGreen(m) / 3 + 120, GetBlue(m) / 3 + 120);
      if (world.IsUncertain(canvas, x, y))
        c = RGBColor(80, 80, 255);
      else if (gdi.At(x, y) != m)
        c = RGBColor(255, 0, 0);
      diff.Set(x, y, c);
    }
  return diff;
}

std::string OutputFolder() {
  const std::wstring folder = L"canvas-differences";
  CreateDirectoryW(folder.c_str(), nullptr);
  wchar_t full[MAX_PATH] = {};
  GetFullPathNameW(folder.c_str(), MAX_PATH, full, nullptr);
  return Narrow(full);
}

class CanvasDifferential : public testing::Test {
 protected:
  void SetUp() override {
    for (int i = 0; i < kMemorySystemColorCount; ++i) {
      const COLORREF c = GetSysColor(i);
      SetMemorySystemColor(i, RGBColor(GetRValue(c), GetGValue(c), GetBValue(c)));
    }
  }

  TWorld GdiWorld() { return TWorld(std::make_unique<Win32BitmapCanvas>(kMainWidth, kMainHeight, m_fonts)); }
  static TWorld MemoryWorld() { return TWorld(std::make_unique<MemoryCanvas>(kMainWidth, kMainHeight, clBlack)); }

  static bool Agree(TWorld& gdi, TWorld& memory) {
    for (int c = 0; c < gdi.Count(); ++c) {
      const TImage a = gdi.Canvas(c).Image(), b = memory.Canvas(c).Image();
      for (int y = 0; y < a.Height; ++y)
        for (int x = 0; x < a.Width; ++x)
          if (!memory.IsUncertain(c, x, y) && a.At(x, y) != b.At(x, y)) return false;
      if (gdi.Canvas(c).GetClipRegion() != memory.Canvas(c).GetClipRegion()) return false;
      if (gdi.Canvas(c).WindowOrigin() != memory.Canvas(c).WindowOrigin()) return false;
    }
    return true;
  }

  // The step after which the pictures first disagree, replayed step by step.
  std::size_t FirstDisagreement(const std::vector<TStep>& steps) {
    TWorld gdi = GdiWorld(), memory = MemoryWorld();
    for (std::size_t i = 0; i < steps.size(); ++i) {
      steps[i].Apply(gdi);
      steps[i].Apply(memory);
      if (!Agree(gdi, memory)) return i;
    }
    return steps.size();
  }

  // Runs one sequence on both adapters; answers a description of any mismatch.
  std::string Compare(std::uint64_t seed) {
    const std::vector<TStep> steps = TSequenceMaker(seed).Make();
    TWorld gdi = GdiWorld(), memory = MemoryWorld();
    for (const TStep& step : steps) {
      step.Apply(gdi);
      step.Apply(memory);
    }
    std::string problems;
    for (int c = 0; c < gdi.Count(); ++c) {
      const TImage a = gdi.Canvas(c).Image(), b = memory.Canvas(c).Image();
      int differing = 0;
      TPoint first{-1, -1};
      for (int y = 0; y < a.Height; ++y)
        for (int x = 0; x < a.Width; ++x)
          if (!memory.IsUncertain(c, x, y) && a.At(x, y) != b.At(x, y)) {
            if (!differing++) first = {x, y};
          }
      if (gdi.Canvas(c).GetClipRegion() != memory.Canvas(c).GetClipRegion())
        problems += "canvas " + std::to_string(c) + ": the clip regions differ\n";
      if (gdi.Canvas(c).WindowOrigin() != memory.Canvas(c).WindowOrigin())
        problems += "canvas " + std::to_string(c) + ": the window origins differ\n";
      if (!differing) continue;
      problems += "canvas " + std::to_string(c) + ": " + std::to_string(differing) + " pixels differ, the first at " +
                  Text(first) + ": GDI " + Hex(a.At(first.X, first.Y)) + ", memory " + Hex(b.At(first.X, first.Y)) +
                  "\n";
      const std::string stem = m_folder + "\\seed-" + std::to_string(seed) + "-canvas" + std::to_string(c);
      WritePngFile(stem + "-gdi.png", Enlarged(a));
      WritePngFile(stem + "-memory.png", Enlarged(b));
      WritePngFile(stem + "-diff.png", Enlarged(Difference(a, b, memory, c)));
    }
    if (problems.empty()) return {};
    std::string report = "seed " + std::to_string(seed) + ":\n";
    const std::size_t culprit = FirstDisagreement(steps);
    for (std::size_t i = 0; i < steps.size(); ++i)
      report += (i == culprit ? "> " : "  ") + steps[i].Text +
                (i == culprit ? "   <- the first step that disagrees\n" : "\n");
    return report + problems + "pictures in " + m_folder + "\n";
  }

  TMemorySystemColorScope m_colors;
  Win32FontCache m_fonts;
  std::string m_folder = OutputFolder();
};

// VORMIX_CANVAS_SEED and VORMIX_CANVAS_SEQUENCES choose other seeds, to replay one
// failure or to search wider.
TEST_F(CanvasDifferential, RandomSequencesOfEveryNonTextOperationDrawTheSamePixels) {
  const std::uint64_t first = EnvironmentNumber("VORMIX_CANVAS_SEED", 1);
  const std::uint64_t count = EnvironmentNumber("VORMIX_CANVAS_SEQUENCES", 6000);
  int failures = 0;
  const auto start = std::chrono::steady_clock::now();
  for (std::uint64_t seed = first; seed < first + count && failures < 5; ++seed) {
    const std::string problem = Compare(seed);
    if (problem.empty()) continue;
    ++failures;
    ADD_FAILURE() << problem;
  }
  const auto seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  std::printf("%llu sequences from seed %llu in %.1f s\n", static_cast<unsigned long long>(count),
              static_cast<unsigned long long>(first), seconds);
}

}  // namespace
}  // namespace vormix
