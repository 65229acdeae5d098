#include "platform/memory/Png.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <fstream>

namespace vormix {

namespace {

std::uint32_t Crc32(std::string_view bytes, std::uint32_t crc = 0) {
  static const std::array<std::uint32_t, 256> table = [] {
    std::array<std::uint32_t, 256> t{};
    for (std::uint32_t n = 0; n < 256; ++n) {
      std::uint32_t c = n;
      for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
      t[n] = c;
    }
    return t;
  }();
  crc = ~crc;
  for (unsigned char b : bytes) crc = table[(crc ^ b) & 0xFF] ^ (crc >> 8);
  return ~crc;
}

std::uint32_t Adler32(std::string_view bytes) {
  std::uint32_t a = 1, b = 0;
  for (unsigned char c : bytes) {
    a = (a + c) % 65521;
    b = (b + a) % 65521;
  }
  return (b << 16) | a;
}

void PutBigEndian(std::string& out, std::uint32_t value) {
  for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<char>((value >> shift) & 0xFF));
}

void PutChunk(std::string& out, const char (&type)[5], const std::string& data) {
  PutBigEndian(out, static_cast<std::uint32_t>(data.size()));
  const std::string typed = std::string(type, 4) + data;
  out += typed;
  PutBigEndian(out, Crc32(typed));
}

// A zlib stream of stored blocks: no compression, so no decoder can disagree.
std::string StoredZlib(const std::string& raw) {
  std::string z = "\x78\x01";
  std::size_t at = 0;
  do {
    const std::size_t length = std::min<std::size_t>(raw.size() - at, 65535);
    const bool last = at + length == raw.size();
    z.push_back(last ? 1 : 0);
    z.push_back(static_cast<char>(length & 0xFF));
    z.push_back(static_cast<char>(length >> 8));
    z.push_back(static_cast<char>(~length & 0xFF));
    z.push_back(static_cast<char>((~length >> 8) & 0xFF));
    z.append(raw, at, length);
    at += length;
  } while (at < raw.size());
  PutBigEndian(z, Adler32(raw));
  return z;
}

}  // namespace

std::string EncodePng(const TImage& image) {
  std::string raw;
  raw.reserve(static_cast<std::size_t>(image.Height) * (1 + 3 * static_cast<std::size_t>(image.Width)));
  for (int y = 0; y < image.Height; ++y) {
    raw.push_back(0);  // filter type: none
    for (int x = 0; x < image.Width; ++x) {
      const TColor c = IsSystemColor(image.At(x, y)) ? clBlack : image.At(x, y);
      raw.push_back(static_cast<char>(GetRed(c)));
      raw.push_back(static_cast<char>(GetGreen(c)));
      raw.push_back(static_cast<char>(GetBlue(c)));
    }
  }
  std::string header;
  PutBigEndian(header, static_cast<std::uint32_t>(image.Width));
  PutBigEndian(header, static_cast<std::uint32_t>(image.Height));
  header += std::string("\x08\x02\x00\x00\x00", 5);  // 8 bits, RGB, deflate, no filter, no interlace

  std::string png = "\x89PNG\r\n\x1A\n";
  PutChunk(png, "IHDR", header);
  PutChunk(png, "IDAT", StoredZlib(raw));
  PutChunk(png, "IEND", "");
  return png;
}

bool WritePngFile(const std::string& path, const TImage& image) {
  const std::string bytes = EncodePng(image);
  std::ofstream file(std::filesystem::path(std::u8string(path.begin(), path.end())), std::ios::binary);
  file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(file);
}

}  // namespace vormix
