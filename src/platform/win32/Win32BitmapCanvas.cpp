#include "platform/win32/Win32BitmapCanvas.h"

namespace vormix {

Win32Dib::Win32Dib(int width, int height)
    : m_width(width > 0 ? width : 0), m_height(height > 0 ? height : 0), m_dc(CreateCompatibleDC(nullptr)) {
  if (m_width == 0 || m_height == 0) return;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = m_width;
  info.bmiHeader.biHeight = -m_height;  // top-down
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  m_bitmap = CreateDIBSection(m_dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (!m_bitmap) {
    m_width = m_height = 0;
    return;
  }
  m_bits = static_cast<std::uint32_t*>(bits);
  m_previous = SelectObject(m_dc, m_bitmap);
}

Win32Dib::~Win32Dib() {
  if (m_previous) SelectObject(m_dc, m_previous);
  if (m_bitmap) DeleteObject(m_bitmap);
  DeleteDC(m_dc);
}

TImage Win32Dib::Read() const {
  TImage image(m_width, m_height);
  GdiFlush();
  for (std::size_t i = 0; i < image.Pixels.size(); ++i) {
    const std::uint32_t p = m_bits[i];
    image.Pixels[i] =
        RGBColor(static_cast<std::uint8_t>(p >> 16), static_cast<std::uint8_t>(p >> 8), static_cast<std::uint8_t>(p));
  }
  return image;
}

void Win32Dib::Write(const TImage& image) {
  GdiFlush();
  for (int y = 0; y < m_height && y < image.Height; ++y)
    for (int x = 0; x < m_width && x < image.Width; ++x) {
      const COLORREF c = ResolveColor(image.At(x, y));
      m_bits[static_cast<std::size_t>(y) * m_width + x] = (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
    }
}

Win32BitmapCanvas::Win32BitmapCanvas(int width, int height, Win32FontCache& fonts)
    : m_surface(width, height), m_canvas(m_surface.Dc(), fonts) {}

}  // namespace vormix
