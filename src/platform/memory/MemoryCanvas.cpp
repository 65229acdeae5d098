#include "platform/memory/MemoryCanvas.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <utility>

#include "platform/memory/MemoryFrames.h"
#include "platform/memory/MemoryRaster.h"

namespace vormix {

// ---------------------------------------------------------------------------------------
// System colours

namespace {

constexpr std::array<TColor, kMemorySystemColorCount> kDefaultSystemColors = {
    0xC8C8C8, 0x000000, 0xD1B499, 0xDBCDBF, 0xF0F0F0, 0xFFFFFF, 0x646464, 0x000000, 0x000000, 0x000000, 0xB4B4B4,
    0xFCF7F4, 0xABABAB, 0xFF9933, 0xFFFFFF, 0xF0F0F0, 0xA0A0A0, 0x6D6D6D, 0x000000, 0x000000, 0xFFFFFF, 0x696969,
    0xE3E3E3, 0x000000, 0xE1FFFF, 0x000000, 0xCC6600, 0xEAD1B9, 0xF2E4D7, 0xFF9933, 0xF0F0F0};

std::array<TColor, kMemorySystemColorCount>& SystemColors() {
  static std::array<TColor, kMemorySystemColorCount> colors = kDefaultSystemColors;
  return colors;
}

// How far beyond the bitmap a clip region made from a path is kept.
constexpr int kPathClipReach = 1024;

TRect Normalized(const TRect& r) {
  return {std::min(r.Left, r.Right), std::min(r.Top, r.Bottom), std::max(r.Left, r.Right), std::max(r.Top, r.Bottom)};
}

// How the pattern fill of FillRect takes an inverted rectangle: it reaches back from
// the corner it starts at and still includes that corner's pixel.
TRect Mirrored(const TRect& r) {
  const TRect n = Normalized(r);
  return {r.Left > r.Right ? n.Left + 1 : n.Left, r.Top > r.Bottom ? n.Top + 1 : n.Top,
          r.Left > r.Right ? n.Right + 1 : n.Right, r.Top > r.Bottom ? n.Bottom + 1 : n.Bottom};
}

// Whether a ternary raster operation reads the source or the pattern at all.
bool UsesSource(std::uint32_t rop) { return ((rop >> 2) & 0x330000) != (rop & 0x330000); }
bool UsesPattern(std::uint32_t rop) { return ((rop >> 4) & 0x0F0000) != (rop & 0x0F0000); }

// Bit i of the operation's code is the result for pattern, source and destination bits
// (i >> 2, (i >> 1) & 1, i & 1); applied to all 24 colour bits at once.
TColor ApplyRop(std::uint32_t rop, TColor p, TColor s, TColor d) {
  const unsigned code = (rop >> 16) & 0xFF;
  TColor result = 0;
  for (unsigned i = 0; i < 8; ++i) {
    if (!(code & (1u << i))) continue;
    result |= ((i & 4) ? p : ~p) & ((i & 2) ? s : ~s) & ((i & 1) ? d : ~d);
  }
  return result & 0xFFFFFF;
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
         });
}

// A rectangle relative to a text's reference point, turned by the escapement
// (tenths of a degree, counter-clockwise on the screen) and placed at the point.
std::vector<TPoint> TurnedCorners(const TRect& r, TPoint reference, int escapement) {
  const TPoint corners[4] = {{r.Left, r.Top}, {r.Right, r.Top}, {r.Right, r.Bottom}, {r.Left, r.Bottom}};
  std::vector<TPoint> turned;
  const int angle = ((escapement % 3600) + 3600) % 3600;
  const double radians = angle * 3.14159265358979323846 / 1800.0;
  const double c = std::cos(radians), s = std::sin(radians);
  for (const TPoint& p : corners) {
    TPoint q;
    switch (angle) {
      case 0:
        q = p;
        break;
      case 900:
        q = {p.Y, -p.X};
        break;
      case 1800:
        q = {-p.X, -p.Y};
        break;
      case 2700:
        q = {-p.Y, p.X};
        break;
      default:
        q = {static_cast<int>(std::lround(p.X * c + p.Y * s)), static_cast<int>(std::lround(-p.X * s + p.Y * c))};
        break;
    }
    turned.push_back({reference.X + q.X, reference.Y + q.Y});
  }
  return turned;
}

}  // namespace

TColor MemorySystemColor(int index) {
  if (index < 0 || index >= kMemorySystemColorCount) return 0;
  return SystemColors()[static_cast<std::size_t>(index)];
}

void SetMemorySystemColor(int index, TColor rgb) {
  if (index < 0 || index >= kMemorySystemColorCount) return;
  SystemColors()[static_cast<std::size_t>(index)] = rgb & 0xFFFFFF;
}

TColor ResolveMemoryColor(TColor color) {
  return IsSystemColor(color) ? MemorySystemColor(SystemColorIndex(color)) : (color & 0xFFFFFF);
}

TMemorySystemColorScope::TMemorySystemColorScope() : m_saved(SystemColors()) {}
TMemorySystemColorScope::~TMemorySystemColorScope() { SystemColors() = m_saved; }

// ---------------------------------------------------------------------------------------
// The picture and its state

MemoryCanvas::MemoryCanvas(int width, int height, TColor background) { Resize(width, height, background); }

void MemoryCanvas::Resize(int width, int height, TColor background) {
  m_width = std::max(width, 0);
  m_height = std::max(height, 0);
  m_pixels.assign(static_cast<std::size_t>(m_width) * m_height, ResolveMemoryColor(background));
  m_texts.clear();
  m_state = TState();
  m_saved.clear();
  m_path = TPathState::None;
  m_figures.clear();
  m_figureStart.reset();
}

TColor MemoryCanvas::ResolveColor(TColor color) const { return ResolveMemoryColor(color); }

TImage MemoryCanvas::Image() const {
  TImage image(m_width, m_height);
  image.Pixels = m_pixels;
  return image;
}

TColor MemoryCanvas::Pixel(int x, int y) const {
  if (x < 0 || y < 0 || x >= m_width || y >= m_height) return clNone;
  return m_pixels[static_cast<std::size_t>(y) * m_width + x];
}

void MemoryCanvas::SetPen(TColor color, int width, TPenStyle style) {
  m_state.Pen = {ResolveMemoryColor(color), std::max(width, 1), style == TPenStyle::psSolid && color != clNone};
}

void MemoryCanvas::SetBrush(TColor color) {
  if (color == clNone) return SetBrushClear();
  m_state.Brush = {TBrushStyle::bsSolid, ResolveMemoryColor(color), nullptr};
}

void MemoryCanvas::SetBrushClear() { m_state.Brush = {TBrushStyle::bsClear, clBlack, nullptr}; }

void MemoryCanvas::SetBrushPattern(const TImage& pattern) {
  if (pattern.IsEmpty()) return SetBrushClear();
  auto resolved = std::make_shared<TImage>(pattern);
  for (TColor& c : resolved->Pixels) c = ResolveMemoryColor(c);
  m_state.Brush = {TBrushStyle::bsPattern, clBlack, std::move(resolved)};
}

TColor MemoryCanvas::TBrush::At(int x, int y) const {
  if (Style != TBrushStyle::bsPattern) return Color;
  const int px = ((x % Pattern->Width) + Pattern->Width) % Pattern->Width;
  const int py = ((y % Pattern->Height) + Pattern->Height) % Pattern->Height;
  return Pattern->At(px, py);
}

int MemoryCanvas::Save() {
  m_saved.push_back(m_state);
  return static_cast<int>(m_saved.size());
}

// A positive level goes back to the state that Save() call saved, a negative one that
// many saves back; levels that were never saved (or were restored already) do nothing.
void MemoryCanvas::Restore(int level) {
  const int count = static_cast<int>(m_saved.size());
  const int index = level > 0 ? level - 1 : count + level;
  if (level == 0 || index < 0 || index >= count) return;
  m_state = m_saved[static_cast<std::size_t>(index)];
  m_saved.resize(static_cast<std::size_t>(index));
}

TPoint MemoryCanvas::SetWindowOrigin(TPoint origin) { return std::exchange(m_state.Origin, origin); }

// ---------------------------------------------------------------------------------------
// Clipping. Without a clip region everything on the bitmap may be drawn; an operation
// that needs a region to combine with starts from the whole bitmap, except that
// intersecting with a rectangle simply takes the rectangle, as the system does.

void MemoryCanvas::IntersectClipRect(const TRect& rect) {
  const TRegion r(Normalized(ToDevice(rect)));
  m_state.Clip = m_state.Clip ? m_state.Clip->Intersect(r) : r;
}

void MemoryCanvas::ExcludeClipRect(const TRect& rect) {
  CombineClip(TRegion(Normalized(ToDevice(rect))), TClipCombine::ccDiff);
}

void MemoryCanvas::SelectClipRegion(const std::optional<TRegion>& region, TClipCombine combine) {
  if (!region) {
    if (combine == TClipCombine::ccCopy) m_state.Clip.reset();
    return;
  }
  CombineClip(*region, combine);
}

void MemoryCanvas::CombineClip(const TRegion& region, TClipCombine combine) {
  const TRegion current = m_state.Clip ? *m_state.Clip : TRegion(Bounds());
  switch (combine) {
    case TClipCombine::ccCopy:
      m_state.Clip = region;
      break;
    case TClipCombine::ccAnd:
      m_state.Clip = current.Intersect(region);
      break;
    case TClipCombine::ccOr:
      m_state.Clip = current.Union(region);
      break;
    case TClipCombine::ccDiff:
      m_state.Clip = current.Subtract(region);
      break;
    case TClipCombine::ccXor:
      m_state.Clip = current.Xor(region);
      break;
  }
}

bool MemoryCanvas::RectVisible(const TRect& rect) const {
  return !DrawableRegion().Intersect(TRegion(Normalized(ToDevice(rect)))).IsEmpty();
}

TRegion MemoryCanvas::DrawableRegion() const {
  const TRegion bounds(Bounds());
  return m_state.Clip ? m_state.Clip->Intersect(bounds) : bounds;
}

bool MemoryCanvas::IsVisible(TPoint p) const {
  if (p.X < 0 || p.Y < 0 || p.X >= m_width || p.Y >= m_height) return false;
  return !m_state.Clip || m_state.Clip->Contains(p);
}

// ---------------------------------------------------------------------------------------
// Pixels, areas and lines

void MemoryCanvas::Plot(TPoint p, TColor rgb) {
  if (IsVisible(p)) m_pixels[static_cast<std::size_t>(p.Y) * m_width + p.X] = rgb;
}

void MemoryCanvas::FillRegion(const TRegion& device, const TBrush& brush) {
  if (brush.Style == TBrushStyle::bsClear) return;
  const TRegion area = device.Intersect(DrawableRegion());
  for (const TRect& r : area.Rects())
    for (int y = r.Top; y < r.Bottom; ++y)
      for (int x = r.Left; x < r.Right; ++x) m_pixels[static_cast<std::size_t>(y) * m_width + x] = brush.At(x, y);
}

void MemoryCanvas::StrokeSegment(TPoint from, TPoint to, const TPen& pen) {
  if (!pen.Visible) return;
  // Wider pens are only for outlines that need not be exact: a square nib on each pixel.
  const int before = (pen.Width - 1) / 2, after = pen.Width / 2;
  const TRect reach = Bounds().Inflated(pen.Width, pen.Width);
  if (std::max(from.X, to.X) < reach.Left || std::min(from.X, to.X) >= reach.Right ||
      std::max(from.Y, to.Y) < reach.Top || std::min(from.Y, to.Y) >= reach.Bottom)
    return;
  VisitLinePixels(from, to, [&](TPoint p) {
    for (int dy = -before; dy <= after; ++dy)
      for (int dx = -before; dx <= after; ++dx) Plot({p.X + dx, p.Y + dy}, pen.Color);
  });
}

void MemoryCanvas::StrokeLines(std::span<const TPoint> device, bool close, const TPen& pen) {
  for (std::size_t i = 0; i + 1 < device.size(); ++i) StrokeSegment(device[i], device[i + 1], pen);
  if (close && device.size() > 1) StrokeSegment(device.back(), device.front(), pen);
}

void MemoryCanvas::FillRect(const TRect& rect, TColor color) {
  if (color == clNone) return;
  FillRegion(TRegion(Mirrored(ToDevice(rect))), {TBrushStyle::bsSolid, ResolveMemoryColor(color), nullptr});
}

void MemoryCanvas::FillRect(const TRect& rect) { FillRegion(TRegion(Mirrored(ToDevice(rect))), m_state.Brush); }

// The outline runs along the rectangle's outermost ring (the right and bottom edges
// lie outside as always); without a pen the fill stops one pixel short on the right
// and at the bottom, as it does on Windows.
void MemoryCanvas::Rectangle(const TRect& rect) {
  const TRect r = Normalized(ToDevice(rect));
  if (r.Left == r.Right || r.Top == r.Bottom) return;
  const int right = r.Right - 1, bottom = r.Bottom - 1;
  std::vector<TPoint> corners = {{right, r.Top}, {r.Left, r.Top}, {r.Left, bottom}, {right, bottom}};
  if (IsRecordingPath()) return AddFigure(std::move(corners), true);
  FillRegion(TRegion({r.Left, r.Top, right, bottom}), m_state.Brush);
  StrokeLines(corners, true, m_state.Pen);
}

// In a path a move only marks where the next line starts; a move that no line follows
// leaves nothing behind.
void MemoryCanvas::MoveTo(TPoint p) {
  m_state.Position = p;
  m_figureStart = ToDevice(p);
}

void MemoryCanvas::LineTo(TPoint p) {
  if (IsRecordingPath()) {
    if (m_figureStart || m_figures.empty() || m_figures.back().Closed)
      AddFigure({m_figureStart.value_or(ToDevice(m_state.Position))}, false);
    m_figures.back().Points.push_back(ToDevice(p));
  } else {
    StrokeSegment(ToDevice(m_state.Position), ToDevice(p), m_state.Pen);
  }
  m_state.Position = p;
}

void MemoryCanvas::Polyline(std::span<const TPoint> points) {
  if (points.size() < 2) return;
  std::vector<TPoint> device;
  for (const TPoint& p : points) device.push_back(ToDevice(p));
  if (IsRecordingPath()) return AddFigure(std::move(device), false);
  StrokeLines(device, false, m_state.Pen);
}

void MemoryCanvas::Polygon(std::span<const TPoint> points) {
  if (points.size() < 2) return;
  std::vector<TPoint> device;
  for (const TPoint& p : points) device.push_back(ToDevice(p));
  if (IsRecordingPath()) return AddFigure(std::move(device), true);
  FillRegion(PolygonRegion(device, Bounds()), m_state.Brush);
  StrokeLines(device, true, m_state.Pen);
}

void MemoryCanvas::SetPixel(TPoint p, TColor color) {
  if (color != clNone) Plot(ToDevice(p), ResolveMemoryColor(color));
}

// ---------------------------------------------------------------------------------------
// The system's frame pieces

void MemoryCanvas::DrawEdge(const TRect& rect, TEdgeFlags edge, TEdgeSides sides) {
  DrawSystemEdge(*this, rect, edge, sides);
}

void MemoryCanvas::DrawFocusRect(const TRect& rect) {
  DrawSystemFocusRect(*this, rect, Bounds().Offset(m_state.Origin.X, m_state.Origin.Y));
}

void MemoryCanvas::DrawScrollArrow(const TRect& rect, TFrameControlState state) {
  DrawSystemScrollArrow(*this, rect, state);
}

// ---------------------------------------------------------------------------------------
// Text

void MemoryCanvas::RecordText(const TRect& rect, std::string_view text, TTextFlags flags, bool atPoint) {
  TFontSpec font = m_state.Font;
  font.Color = m_state.TextColor;
  m_texts.push_back({rect, std::string(text), font, flags, atPoint});
}

void MemoryCanvas::DrawCells(TPoint reference, std::span<const TTextCell> cells, const std::optional<TRect>& clip) {
  const int height = std::abs(m_state.Font.Height);
  const int escapement = m_state.Font.Escapement;
  if (height == 0) return;
  const auto turned = [&](const TRect& relative) { return TurnedCorners(relative, reference, escapement); };
  if (IsRecordingPath()) {
    for (const TTextCell& cell : cells)
      if (!cell.IsBlank()) AddFigure(turned({cell.X, 0, cell.X + cell.Width - 1, height - 1}), true);
    return;
  }
  const auto fill = [&](const TRect& relative, TColor rgb) {
    TRegion area = PolygonRegion(turned(relative), Bounds());
    if (clip) area = area.Intersect(TRegion(*clip));
    FillRegion(area, {TBrushStyle::bsSolid, rgb, nullptr});
  };
  if (m_state.BackgroundMode == TBackgroundMode::bmOpaque) {
    const TColor background = ResolveMemoryColor(m_state.BackgroundColor);
    for (const TTextCell& cell : cells) fill({cell.X, 0, cell.X + cell.Width, height}, background);
  }
  const TColor ink = ResolveMemoryColor(m_state.TextColor);
  for (const TTextCell& cell : cells) {
    if (!cell.IsBlank()) fill({cell.X, 0, cell.X + cell.Width - 1, height - 1}, ink);
    if (m_state.Font.Underline || cell.Accelerator) fill({cell.X, height - 1, cell.X + cell.Width, height}, ink);
    if (m_state.Font.StrikeOut) fill({cell.X, height / 2, cell.X + cell.Width, height / 2 + 1}, ink);
  }
}

void MemoryCanvas::WriteText(TPoint at, std::string_view text) {
  const TSize extent = TextExtent(text);
  RecordText({at.X, at.Y, at.X + extent.Width, at.Y + extent.Height}, text, 0, true);
  DrawCells(ToDevice(at), MemoryTextCells(text, std::abs(m_state.Font.Height)), std::nullopt);
}

int MemoryCanvas::WriteText(TRect& rect, std::string_view text, TTextFlags flags) {
  const TTextLayout layout = MemoryTextLayout(text, rect, flags, std::abs(m_state.Font.Height));
  if (flags & dtCalcRect) {
    rect = layout.Bounds;
    return layout.Height;
  }
  RecordText(rect, text, flags, false);
  std::optional<TRect> clip;
  if (!(flags & dtNoClip)) clip = ToDevice(rect);
  for (const TTextLine& line : layout.Lines) DrawCells(ToDevice(line.At), line.Cells, clip);
  return layout.Height;
}

TSize MemoryCanvas::TextExtent(std::string_view text) {
  const int height = std::abs(m_state.Font.Height);
  int width = 0;
  for (const TTextCell& cell : MemoryTextCells(text, height)) width += cell.Width;
  return {width, height};
}

bool MemoryCanvas::FontIsTrueType() {
  for (std::string_view face : {"MS Sans Serif", "System", "Small Fonts", "Courier", "Terminal"})
    if (EqualsIgnoringCase(m_state.Font.Name, face)) return false;
  return true;
}

// ---------------------------------------------------------------------------------------
// Paths, kept in device pixels as the system keeps them

void MemoryCanvas::AddFigure(std::vector<TPoint> device, bool closed) {
  m_figures.push_back({std::move(device), closed});
  m_figureStart.reset();
}

void MemoryCanvas::BeginPath() {
  m_path = TPathState::Open;
  m_figures.clear();
  m_figureStart.reset();
}

void MemoryCanvas::EndPath() {
  if (m_path == TPathState::Open) m_path = TPathState::Closed;
}

TRegion MemoryCanvas::PathRegion(const TRect& limit) const {
  std::vector<std::vector<TPoint>> polygons;
  for (const TFigure& f : m_figures) polygons.push_back(f.Points);
  return PolygonRegion(polygons, limit);
}

void MemoryCanvas::StrokePath() {
  if (m_path != TPathState::Closed) return;
  for (const TFigure& f : m_figures) StrokeLines(f.Points, f.Closed, m_state.Pen);
  m_path = TPathState::None;
  m_figures.clear();
}

void MemoryCanvas::FillPath() {
  if (m_path != TPathState::Closed) return;
  FillRegion(PathRegion(Bounds()), m_state.Brush);
  m_path = TPathState::None;
  m_figures.clear();
}

// A path without any figure makes no clip at all: the call fails and the clip stays.
void MemoryCanvas::SelectClipPath(TClipCombine combine) {
  if (m_path != TPathState::Closed || m_figures.empty()) return;
  CombineClip(PathRegion(Bounds().Inflated(kPathClipReach, kPathClipReach)), combine);
  m_path = TPathState::None;
  m_figures.clear();
}

// ---------------------------------------------------------------------------------------
// Bitmaps

std::unique_ptr<IBitmapCanvas> MemoryCanvas::CreateBitmap(int width, int height) {
  return std::make_unique<MemoryCanvas>(width, height, clBlack);
}

void MemoryCanvas::BitBlt(const TRect& dest, ICanvas& source, TPoint sourceAt, TRasterOp op) {
  const auto rop = static_cast<std::uint32_t>(op);
  if (dest.Width() <= 0 || dest.Height() <= 0) return;
  if (UsesPattern(rop) && m_state.Brush.Style == TBrushStyle::bsClear) return;
  TRect target = ToDevice(dest);
  const MemoryCanvas* from = nullptr;
  TPoint shift;  // source device pixel minus target device pixel
  std::vector<TColor> copied;
  if (UsesSource(rop)) {
    from = dynamic_cast<const MemoryCanvas*>(&source);
    if (!from) return;
    const TPoint at = from->ToDevice(sourceAt);
    shift = {at.X - target.Left, at.Y - target.Top};
    const TRect within = TRect::FromBounds(at.X, at.Y, dest.Width(), dest.Height()).Intersected(from->Bounds());
    target = within.Offset(-shift.X, -shift.Y);
    // The source may be this very canvas: read it before anything is written.
    for (int y = within.Top; y < within.Bottom; ++y)
      for (int x = within.Left; x < within.Right; ++x) copied.push_back(from->Pixel(x, y));
  }
  const int width = target.Width();
  const TRect visible = target.Intersected(Bounds());
  for (int y = visible.Top; y < visible.Bottom; ++y)
    for (int x = visible.Left; x < visible.Right; ++x) {
      if (!IsVisible({x, y})) continue;
      TColor& d = m_pixels[static_cast<std::size_t>(y) * m_width + x];
      const TColor s = from ? copied[static_cast<std::size_t>(y - target.Top) * width + (x - target.Left)] : 0;
      d = ApplyRop(rop, m_state.Brush.At(x, y), s, d);
    }
}

void MemoryCanvas::DrawImage(TPoint at, const TImage& image) {
  const TPoint d = ToDevice(at);
  for (int y = 0; y < image.Height; ++y)
    for (int x = 0; x < image.Width; ++x) Plot({d.X + x, d.Y + y}, ResolveMemoryColor(image.At(x, y)));
}

void MemoryCanvas::DrawImageTransparent(TPoint at, const TImage& image, TColor transparent) {
  const TPoint d = ToDevice(at);
  const TColor key = ResolveMemoryColor(transparent);
  for (int y = 0; y < image.Height; ++y)
    for (int x = 0; x < image.Width; ++x) {
      const TColor c = ResolveMemoryColor(image.At(x, y));
      if (c != key) Plot({d.X + x, d.Y + y}, c);
    }
}

}  // namespace vormix
