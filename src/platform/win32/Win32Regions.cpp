#include "platform/win32/Win32Regions.h"

#include <cstring>
#include <vector>

namespace vormix {

HRGN CreateNativeRegion(const TRegion& region) {
  const std::vector<TRect>& rects = region.Rects();
  if (rects.empty()) return CreateRectRgn(0, 0, 0, 0);
  std::vector<char> buffer(sizeof(RGNDATAHEADER) + rects.size() * sizeof(RECT));
  RGNDATAHEADER header{};
  header.dwSize = sizeof(RGNDATAHEADER);
  header.iType = RDH_RECTANGLES;
  header.nCount = static_cast<DWORD>(rects.size());
  header.nRgnSize = static_cast<DWORD>(rects.size() * sizeof(RECT));
  const TRect bounds = region.Bounds();
  header.rcBound = {bounds.Left, bounds.Top, bounds.Right, bounds.Bottom};
  std::memcpy(buffer.data(), &header, sizeof(header));
  for (std::size_t i = 0; i < rects.size(); ++i) {
    const RECT r{rects[i].Left, rects[i].Top, rects[i].Right, rects[i].Bottom};
    std::memcpy(buffer.data() + sizeof(RGNDATAHEADER) + i * sizeof(RECT), &r, sizeof(RECT));
  }
  return ExtCreateRegion(nullptr, static_cast<DWORD>(buffer.size()), reinterpret_cast<const RGNDATA*>(buffer.data()));
}

TRegion RegionFromNative(HRGN region) {
  const DWORD size = GetRegionData(region, 0, nullptr);
  if (size < sizeof(RGNDATAHEADER)) return {};
  std::vector<char> buffer(size);
  if (!GetRegionData(region, size, reinterpret_cast<RGNDATA*>(buffer.data()))) return {};
  RGNDATAHEADER header;
  std::memcpy(&header, buffer.data(), sizeof(header));
  std::vector<TRect> rects;
  for (DWORD i = 0; i < header.nCount; ++i) {
    RECT r;
    std::memcpy(&r, buffer.data() + header.dwSize + i * sizeof(RECT), sizeof(RECT));
    rects.push_back({r.left, r.top, r.right, r.bottom});
  }
  return TRegion::FromRects(std::move(rects));
}

}  // namespace vormix
