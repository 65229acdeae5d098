#pragma once
// Reproducible random drawing sequences over every non-text canvas operation, for
// comparing canvases with each other. A sequence draws on a main picture and two
// smaller off-screen bitmaps made by the main canvas, so that bit-block transfers run
// between pictures of one adapter; each step reads as the call it makes.
#include <algorithm>
#include <cstdint>
#include <functional>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "platform/Canvas.h"
#include "platform/memory/MemoryFrames.h"

namespace vormix::canvastest {

// splitmix64: the same seed gives the same numbers with every compiler and library.
class TRandom {
 public:
  explicit TRandom(std::uint64_t seed) : m_state(seed) {}
  std::uint64_t Next() {
    std::uint64_t z = (m_state += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }
  int Below(int n) { return n <= 0 ? 0 : static_cast<int>(Next() % static_cast<std::uint64_t>(n)); }
  int Between(int low, int high) { return low + Below(high - low + 1); }
  bool Chance(int percent) { return Below(100) < percent; }
  template <class T>
  const T& Pick(const std::vector<T>& items) {
    return items[static_cast<std::size_t>(Below(static_cast<int>(items.size())))];
  }

 private:
  std::uint64_t m_state;
};

inline constexpr int kMainWidth = 64, kMainHeight = 48;
inline constexpr TSize kBitmapSizes[] = {{kMainWidth, kMainHeight}, {20, 14}, {13, 17}};

// The pictures a sequence draws on, and what the comparison must leave out: pixels
// that may hold the system's arrow glyph, which the memory canvas does not imitate.
class TWorld {
 public:
  explicit TWorld(std::unique_ptr<IBitmapCanvas> main) {
    m_canvases.push_back(std::move(main));
    for (int i = 1; i < 3; ++i)
      m_canvases.push_back(m_canvases[0]->CreateBitmap(kBitmapSizes[i].Width, kBitmapSizes[i].Height));
    for (auto& c : m_canvases) m_uncertain.emplace_back(static_cast<std::size_t>(c->Width() * c->Height()), false);
    m_levels.resize(m_canvases.size());
  }

  int Count() const { return static_cast<int>(m_canvases.size()); }
  IBitmapCanvas& Canvas(int i) { return *m_canvases[static_cast<std::size_t>(i)]; }
  bool IsUncertain(int i, int x, int y) const {
    return m_uncertain[static_cast<std::size_t>(i)]
                      [static_cast<std::size_t>(y * m_canvases[static_cast<std::size_t>(i)]->Width() + x)];
  }
  // Marks a logical rectangle of a canvas as not comparable.
  void MarkUncertain(int i, const TRect& logical) {
    IBitmapCanvas& c = Canvas(i);
    const TRect d = logical.Offset(-c.WindowOrigin().X, -c.WindowOrigin().Y).Intersected({0, 0, c.Width(), c.Height()});
    for (int y = d.Top; y < d.Bottom; ++y)
      for (int x = d.Left; x < d.Right; ++x) Set(i, x, y);
  }
  // After a transfer that reads its source, what came from uncertain pixels is uncertain.
  void CarryUncertain(int from, int to, const TRect& dest, TPoint sourceAt) {
    IBitmapCanvas& s = Canvas(from);
    IBitmapCanvas& d = Canvas(to);
    std::vector<std::pair<int, int>> marks;
    for (int y = 0; y < dest.Height(); ++y)
      for (int x = 0; x < dest.Width(); ++x) {
        const int sx = sourceAt.X - s.WindowOrigin().X + x, sy = sourceAt.Y - s.WindowOrigin().Y + y;
        const int dx = dest.Left - d.WindowOrigin().X + x, dy = dest.Top - d.WindowOrigin().Y + y;
        if (sx < 0 || sy < 0 || sx >= s.Width() || sy >= s.Height()) continue;
        if (dx < 0 || dy < 0 || dx >= d.Width() || dy >= d.Height()) continue;
        if (IsUncertain(from, sx, sy)) marks.emplace_back(dx, dy);
      }
    for (auto [x, y] : marks) Set(to, x, y);
  }
  std::vector<int>& Levels(int i) { return m_levels[static_cast<std::size_t>(i)]; }

 private:
  void Set(int i, int x, int y) {
    m_uncertain[static_cast<std::size_t>(i)][static_cast<std::size_t>(y * Canvas(i).Width() + x)] = true;
  }
  std::vector<std::unique_ptr<IBitmapCanvas>> m_canvases;
  std::vector<std::vector<bool>> m_uncertain;
  std::vector<std::vector<int>> m_levels;  // what Save() answered, per canvas
};

struct TStep {
  std::string Text;
  std::function<void(TWorld&)> Apply;
};

// ---- readable values ----

inline std::string Hex(TColor c) {
  if (c == clNone) return "clNone";
  if (IsSystemColor(c)) return "SystemColor(" + std::to_string(SystemColorIndex(c)) + ")";
  std::ostringstream out;
  out << "0x" << std::hex << c;
  return out.str();
}
inline std::string Text(TPoint p) { return "(" + std::to_string(p.X) + "," + std::to_string(p.Y) + ")"; }
inline std::string Text(const TRect& r) {
  return "{" + std::to_string(r.Left) + "," + std::to_string(r.Top) + "," + std::to_string(r.Right) + "," +
         std::to_string(r.Bottom) + "}";
}
inline std::string Text(const std::vector<TPoint>& points) {
  std::string s = "{";
  for (const TPoint& p : points) s += (s.size() > 1 ? " " : "") + Text(p);
  return s + "}";
}
inline std::string Text(const TImage& image) {
  std::string s = std::to_string(image.Width) + "x" + std::to_string(image.Height);
  if (std::all_of(image.Pixels.begin(), image.Pixels.end(), [&](TColor c) { return c == image.Pixels.front(); }))
    return s + " of " + Hex(image.Pixels.front());
  s += " {";
  for (std::size_t i = 0; i < image.Pixels.size(); ++i) s += (i ? " " : "") + Hex(image.Pixels[i]);
  return s + "}";
}
inline std::string Text(TClipCombine c) {
  static const char* names[] = {"ccAnd", "ccCopy", "ccOr", "ccDiff", "ccXor"};
  return names[static_cast<int>(c)];
}
inline std::string Text(TRasterOp op) {
  switch (op) {
    case TRasterOp::roSrcCopy:
      return "roSrcCopy";
    case TRasterOp::roSrcInvert:
      return "roSrcInvert";
    case TRasterOp::roSrcAnd:
      return "roSrcAnd";
    case TRasterOp::roSrcPaint:
      return "roSrcPaint";
    case TRasterOp::roNotSrcCopy:
      return "roNotSrcCopy";
    case TRasterOp::roDstInvert:
      return "roDstInvert";
    case TRasterOp::roPatCopy:
      return "roPatCopy";
    case TRasterOp::roPatInvert:
      return "roPatInvert";
    case TRasterOp::roBlackness:
      return "roBlackness";
    case TRasterOp::roWhiteness:
      return "roWhiteness";
  }
  return "?";
}

// ---- the generator ----

class TSequenceMaker {
 public:
  explicit TSequenceMaker(std::uint64_t seed) : m_random(seed) {}

  std::vector<TStep> Make() {
    std::vector<TStep> steps;
    // Something to draw over, so that inverting and combining operations show.
    for (int c = 0; c < 3; ++c) {
      if (m_random.Chance(30)) continue;
      const TColor color = Color();
      const TSize size = kBitmapSizes[c];
      steps.push_back(On(
          c,
          "FillRect({0,0," + std::to_string(size.Width) + "," + std::to_string(size.Height) + "}, " + Hex(color) + ")",
          [=](ICanvas& k) {
            k.FillRect({0, 0, size.Width, size.Height}, color);
          }));
    }
    const int count = m_random.Between(4, 30);
    for (int i = 0; i < count; ++i) AddStep(steps);
    return steps;
  }

 private:
  using TAction = std::function<void(ICanvas&)>;

  // A step on one canvas.
  static TStep On(int canvas, std::string text, TAction action) {
    return {"canvas " + std::to_string(canvas) + ": " + text,
            [canvas, action = std::move(action)](TWorld& world) { action(world.Canvas(canvas)); }};
  }

  TColor Color() {
    static const std::vector<TColor> colors = {0x000000,  0xFFFFFF,    0x0000FF,       0x00FF00,     0xFF0000,
                                               0x00FFFF,  0xFF00FF,    0x808080,       0x123456,     0xC0C0C0,
                                               clBtnFace, clBtnShadow, clBtnHighlight, clWindowText, cl3DDkShadow};
    return m_random.Pick(colors);
  }
  int X(int canvas) { return m_random.Between(-4, kBitmapSizes[canvas].Width + 4); }
  int Y(int canvas) { return m_random.Between(-4, kBitmapSizes[canvas].Height + 4); }
  TPoint Point(int canvas) { return {X(canvas), Y(canvas)}; }
  // Mostly ordinary rectangles, some small, some empty or inverted.
  TRect Rect(int canvas) {
    const TPoint a = Point(canvas);
    if (m_random.Chance(50)) return {a.X, a.Y, a.X + m_random.Between(-2, 6), a.Y + m_random.Between(-2, 6)};
    const TPoint b = Point(canvas);
    return m_random.Chance(85) ? TRect{std::min(a.X, b.X), std::min(a.Y, b.Y), std::max(a.X, b.X), std::max(a.Y, b.Y)}
                               : TRect{a.X, a.Y, b.X, b.Y};
  }
  TImage Picture(int maxWidth, int maxHeight, int colors) {
    TImage image(m_random.Between(1, maxWidth), m_random.Between(1, maxHeight));
    std::vector<TColor> palette;
    for (int i = 0; i < colors; ++i) palette.push_back(Color());
    for (TColor& c : image.Pixels) c = m_random.Pick(palette);
    return image;
  }
  // Small polygons in tiny coordinate ranges, where every rounding shows; some have
  // repeated or collinear points.
  std::vector<TPoint> SmallPolygon(int canvas) {
    const int count = m_random.Chance(5) ? m_random.Between(1, 2) : m_random.Between(3, 8);
    const int span = m_random.Pick(std::vector<int>{2, 3, 5, 8, 14, 30});
    const TPoint base = Point(canvas);
    std::vector<TPoint> points;
    for (int i = 0; i < count; ++i) {
      if (!points.empty() && m_random.Chance(8))
        points.push_back(points.back());
      else
        points.push_back({base.X + m_random.Between(-span, span), base.Y + m_random.Between(-span, span)});
    }
    return points;
  }
  TRegion Region(int canvas) {
    std::vector<TRect> rects;
    for (int i = m_random.Between(0, 3); i > 0; --i) {
      const TRect r = Rect(canvas);
      rects.push_back(
          {std::min(r.Left, r.Right), std::min(r.Top, r.Bottom), std::max(r.Left, r.Right), std::max(r.Top, r.Bottom)});
    }
    return TRegion::FromRects(rects);
  }
  TClipCombine Combine() {
    static const std::vector<TClipCombine> all = {TClipCombine::ccAnd, TClipCombine::ccCopy, TClipCombine::ccOr,
                                                  TClipCombine::ccDiff, TClipCombine::ccXor};
    return m_random.Pick(all);
  }

  void AddStep(std::vector<TStep>& steps) {
    const int c = m_random.Chance(70) ? 0 : m_random.Between(1, 2);
    switch (m_random.Below(27)) {
      case 0: {
        const TColor color = m_random.Chance(10) ? clNone : Color();
        const bool clear = m_random.Chance(15);
        steps.push_back(On(c, "SetPen(" + Hex(color) + (clear ? ", 1, psClear)" : ")"),
                           [=](ICanvas& k) { k.SetPen(color, 1, clear ? TPenStyle::psClear : TPenStyle::psSolid); }));
        break;
      }
      case 1: {
        const int kind = m_random.Below(4);
        if (kind == 0) {
          steps.push_back(On(c, "SetBrushClear()", [](ICanvas& k) { k.SetBrushClear(); }));
        } else if (kind == 1) {
          const TImage pattern = Picture(8, 8, m_random.Between(1, 4));
          steps.push_back(
              On(c, "SetBrushPattern(" + Text(pattern) + ")", [=](ICanvas& k) { k.SetBrushPattern(pattern); }));
        } else {
          const TColor color = Color();
          steps.push_back(On(c, "SetBrush(" + Hex(color) + ")", [=](ICanvas& k) { k.SetBrush(color); }));
        }
        break;
      }
      case 2:
      case 3: {
        const TRect r = Rect(c);
        if (m_random.Chance(50)) {
          const TColor color = m_random.Chance(5) ? clNone : Color();
          steps.push_back(
              On(c, "FillRect(" + Text(r) + ", " + Hex(color) + ")", [=](ICanvas& k) { k.FillRect(r, color); }));
        } else {
          steps.push_back(On(c, "FillRect(" + Text(r) + ")", [=](ICanvas& k) { k.FillRect(r); }));
        }
        break;
      }
      case 4: {
        const TRect r = Rect(c);
        steps.push_back(On(c, "Rectangle(" + Text(r) + ")", [=](ICanvas& k) { k.Rectangle(r); }));
        break;
      }
      case 5: {
        const TPoint a = Point(c), b = m_random.Chance(50)
                                           ? TPoint{a.X + m_random.Between(-7, 7), a.Y + m_random.Between(-7, 7)}
                                           : Point(c);
        const bool move = m_random.Chance(70);
        steps.push_back(On(c, (move ? "MoveTo" + Text(a) + " " : std::string()) + "LineTo" + Text(b), [=](ICanvas& k) {
          if (move) k.MoveTo(a);
          k.LineTo(b);
        }));
        break;
      }
      case 6: {
        std::vector<TPoint> points;
        for (int i = m_random.Between(0, 6); i > 0; --i) points.push_back(Point(c));
        steps.push_back(On(c, "Polyline(" + Text(points) + ")", [=](ICanvas& k) { k.Polyline(points); }));
        break;
      }
      case 7:
      case 8: {
        const std::vector<TPoint> points = SmallPolygon(c);
        steps.push_back(On(c, "Polygon(" + Text(points) + ")", [=](ICanvas& k) { k.Polygon(points); }));
        break;
      }
      case 9: {
        const TPoint p = Point(c);
        const TColor color = Color();
        steps.push_back(
            On(c, "SetPixel(" + Text(p) + ", " + Hex(color) + ")", [=](ICanvas& k) { k.SetPixel(p, color); }));
        break;
      }
      case 10:
      case 11: {
        const TRect r = Rect(c);
        const TEdgeFlags edge = static_cast<TEdgeFlags>(m_random.Below(16));
        TEdgeSides sides = static_cast<TEdgeSides>(m_random.Below(16));
        if (m_random.Chance(50)) sides |= bfMiddle;
        if (m_random.Chance(25)) sides |= bfSoft;
        if (m_random.Chance(15)) sides |= bfFlat;
        if (m_random.Chance(15)) sides |= bfMono;
        std::ostringstream text;
        text << "DrawEdge(" << Text(r) << ", 0x" << std::hex << edge << ", 0x" << sides << ")";
        steps.push_back(On(c, text.str(), [=](ICanvas& k) { k.DrawEdge(r, edge, sides); }));
        break;
      }
      case 12: {
        const TRect r = Rect(c);
        steps.push_back(On(c, "DrawFocusRect(" + Text(r) + ")", [=](ICanvas& k) { k.DrawFocusRect(r); }));
        break;
      }
      case 13: {
        const TPoint a = Point(c);
        const TRect r{a.X, a.Y, a.X + m_random.Between(3, 24), a.Y + m_random.Between(3, 24)};
        TFrameControlState state = static_cast<TFrameControlState>(m_random.Below(4));
        for (TFrameControlState bit : {dfcsInactive, dfcsPushed, dfcsFlat, dfcsMono})
          if (m_random.Chance(20)) state |= bit;
        std::ostringstream text;
        text << "DrawScrollArrow(" << Text(r) << ", 0x" << std::hex << state << ")";
        steps.push_back({"canvas " + std::to_string(c) + ": " + text.str(), [=](TWorld& world) {
                           world.Canvas(c).DrawScrollArrow(r, state);
                           world.MarkUncertain(c, ScrollArrowGlyphBox(r, state));
                         }});
        break;
      }
      case 14: {
        const TRect r = Rect(c);
        if (m_random.Chance(50))
          steps.push_back(On(c, "IntersectClipRect(" + Text(r) + ")", [=](ICanvas& k) { k.IntersectClipRect(r); }));
        else
          steps.push_back(On(c, "ExcludeClipRect(" + Text(r) + ")", [=](ICanvas& k) { k.ExcludeClipRect(r); }));
        break;
      }
      case 15: {
        if (m_random.Chance(25)) {
          steps.push_back(On(c, "SelectClipRegion(none)",
                             [](ICanvas& k) { k.SelectClipRegion(std::nullopt, TClipCombine::ccCopy); }));
          break;
        }
        const TRegion region = Region(c);
        const TClipCombine combine = Combine();
        std::string text = "SelectClipRegion({";
        for (const TRect& r : region.Rects()) text += Text(r);
        text += "}, " + Text(combine) + ")";
        steps.push_back(On(c, text, [=](ICanvas& k) { k.SelectClipRegion(region, combine); }));
        break;
      }
      case 16:
      case 17: {
        const int use = m_random.Below(3);  // 0 clip, 1 fill, 2 stroke
        const TClipCombine combine = Combine();
        const int figure = m_random.Below(4);
        const std::vector<TPoint> points = SmallPolygon(c);
        const TRect r = Rect(c);
        std::string text = "BeginPath ";
        if (figure == 0)
          text += "Rectangle(" + Text(r) + ")";
        else if (figure == 1)
          text += "Polyline(" + Text(points) + ")";
        else if (figure == 2 && !points.empty())
          text += "MoveTo" + Text(points[0]) + " LineTo... " + Text(points);
        else
          text += "Polygon(" + Text(points) + ")";
        text += use == 0   ? " EndPath SelectClipPath(" + Text(combine) + ")"
                : use == 1 ? " EndPath FillPath"
                           : " EndPath StrokePath";
        steps.push_back(On(c, text, [=](ICanvas& k) {
          k.BeginPath();
          if (figure == 0)
            k.Rectangle(r);
          else if (figure == 1)
            k.Polyline(points);
          else if (figure == 2 && !points.empty()) {
            k.MoveTo(points[0]);
            for (std::size_t i = 1; i < points.size(); ++i) k.LineTo(points[i]);
          } else
            k.Polygon(points);
          k.EndPath();
          if (use == 0)
            k.SelectClipPath(combine);
          else if (use == 1)
            k.FillPath();
          else
            k.StrokePath();
        }));
        break;
      }
      case 18: {
        const TPoint origin{m_random.Between(-6, 6), m_random.Between(-6, 6)};
        steps.push_back(On(c, "SetWindowOrigin" + Text(origin), [=](ICanvas& k) { k.SetWindowOrigin(origin); }));
        break;
      }
      case 19:
      case 25:
      case 26: {
        const int kind = m_random.Below(4);
        const int pick = m_random.Below(3);
        if (kind <= 1) {
          steps.push_back({"canvas " + std::to_string(c) + ": Save()",
                           [=](TWorld& world) { world.Levels(c).push_back(world.Canvas(c).Save()); }});
        } else if (kind == 2) {
          steps.push_back({"canvas " + std::to_string(c) + ": Restore()", [=](TWorld& world) {
                             world.Canvas(c).Restore(-1);
                             if (!world.Levels(c).empty()) world.Levels(c).pop_back();
                           }});
        } else {
          // The level of an earlier Save(), or one that was never answered.
          steps.push_back({"canvas " + std::to_string(c) + ": Restore(level of save #" + std::to_string(pick) + ")",
                           [=](TWorld& world) {
                             auto& levels = world.Levels(c);
                             const std::size_t i = static_cast<std::size_t>(pick);
                             if (i < levels.size()) {
                               world.Canvas(c).Restore(levels[i]);
                               levels.resize(i);
                             } else {
                               world.Canvas(c).Restore(levels.empty() ? 99 : levels.back() + 1);
                             }
                           }});
        }
        break;
      }
      case 20:
      case 21:
      case 22: {
        static const std::vector<TRasterOp> ops = {
            TRasterOp::roSrcCopy,    TRasterOp::roSrcInvert, TRasterOp::roSrcAnd,  TRasterOp::roSrcPaint,
            TRasterOp::roNotSrcCopy, TRasterOp::roDstInvert, TRasterOp::roPatCopy, TRasterOp::roPatInvert,
            TRasterOp::roBlackness,  TRasterOp::roWhiteness};
        const TRasterOp op = m_random.Pick(ops);
        const int from = m_random.Below(3);
        const TPoint at = Point(c);
        const TRect dest = TRect::FromBounds(at.X, at.Y, m_random.Between(-1, 24), m_random.Between(-1, 20));
        const TPoint sourceAt{m_random.Between(-3, kBitmapSizes[from].Width),
                              m_random.Between(-3, kBitmapSizes[from].Height)};
        steps.push_back({"canvas " + std::to_string(c) + ": BitBlt(" + Text(dest) + ", canvas " + std::to_string(from) +
                             ", " + Text(sourceAt) + ", " + Text(op) + ")",
                         [=](TWorld& world) {
                           world.Canvas(c).BitBlt(dest, world.Canvas(from), sourceAt, op);
                           world.CarryUncertain(from, c, dest, sourceAt);
                         }});
        break;
      }
      default: {
        const TImage image = Picture(12, 10, m_random.Between(1, 4));
        const TPoint at = Point(c);
        if (m_random.Chance(50)) {
          steps.push_back(
              On(c, "DrawImage(" + Text(at) + ", " + Text(image) + ")", [=](ICanvas& k) { k.DrawImage(at, image); }));
        } else {
          const TColor key = m_random.Chance(80) ? m_random.Pick(image.Pixels) : Color();
          steps.push_back(On(c, "DrawImageTransparent(" + Text(at) + ", " + Text(image) + ", " + Hex(key) + ")",
                             [=](ICanvas& k) { k.DrawImageTransparent(at, image, key); }));
        }
        break;
      }
    }
  }

  TRandom m_random;
};

}  // namespace vormix::canvastest
