// PNG files are read back here the way a decoder reads them: the signature, chunks with
// lengths and checksums, the zlib stream of stored blocks and the scan lines in it.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/memory/MemoryCanvas.h"
#include "platform/memory/Png.h"

namespace vormix {
namespace {

std::uint32_t BigEndian(const std::string& bytes, std::size_t at) {
  std::uint32_t v = 0;
  for (int i = 0; i < 4; ++i) v = (v << 8) | static_cast<unsigned char>(bytes[at + i]);
  return v;
}

struct TChunk {
  std::string Type, Data;
  std::uint32_t Crc = 0;
};

std::vector<TChunk> Chunks(const std::string& png) {
  std::vector<TChunk> chunks;
  for (std::size_t at = 8; at + 12 <= png.size();) {
    const std::uint32_t length = BigEndian(png, at);
    chunks.push_back({png.substr(at + 4, 4), png.substr(at + 8, length), BigEndian(png, at + 8 + length)});
    at += 12 + length;
  }
  return chunks;
}

// Inflates a zlib stream that holds only stored blocks, checking every length field.
std::string Inflate(const std::string& z) {
  EXPECT_EQ((static_cast<unsigned char>(z[0]) * 256 + static_cast<unsigned char>(z[1])) % 31, 0) << "zlib header check";
  EXPECT_EQ(z[0] & 0x0F, 8) << "deflate";
  std::string raw;
  std::size_t at = 2;
  for (bool last = false; !last;) {
    const unsigned char header = static_cast<unsigned char>(z[at]);
    last = header & 1;
    EXPECT_EQ(header >> 1, 0) << "a stored block";
    const unsigned length = static_cast<unsigned char>(z[at + 1]) | (static_cast<unsigned char>(z[at + 2]) << 8);
    const unsigned complement = static_cast<unsigned char>(z[at + 3]) | (static_cast<unsigned char>(z[at + 4]) << 8);
    EXPECT_EQ(length ^ 0xFFFF, complement);
    raw += z.substr(at + 5, length);
    at += 5 + length;
  }
  std::uint32_t a = 1, b = 0;
  for (unsigned char c : raw) {
    a = (a + c) % 65521;
    b = (b + a) % 65521;
  }
  EXPECT_EQ(BigEndian(z, at), (b << 16) | a) << "Adler-32";
  EXPECT_EQ(at + 4, z.size());
  return raw;
}

TEST(Png, OnePixelFileHasTheKnownBytesOfEveryChunk) {
  TImage image(1, 1, RGBColor(0x12, 0x34, 0x56));
  const std::string png = EncodePng(image);
  EXPECT_EQ(png.substr(0, 8), std::string("\x89PNG\r\n\x1A\n", 8));
  const std::vector<TChunk> chunks = Chunks(png);
  ASSERT_EQ(chunks.size(), 3u);
  EXPECT_EQ(chunks[0].Type, "IHDR");
  EXPECT_EQ(chunks[0].Data, std::string("\0\0\0\x01\0\0\0\x01\x08\x02\0\0\0", 13));
  EXPECT_EQ(chunks[0].Crc, 0x907753DEu);  // the checksum every 1 x 1 RGB file carries
  EXPECT_EQ(chunks[1].Type, "IDAT");
  EXPECT_EQ(Inflate(chunks[1].Data), std::string("\0\x12\x34\x56", 4));
  EXPECT_EQ(chunks[2].Type, "IEND");
  EXPECT_EQ(chunks[2].Crc, 0xAE426082u);
}

// A canvas's picture larger than one stored block (65535 bytes) comes back pixel for
// pixel from the file written to disk.
TEST(Png, CanvasPictureRoundTripsThroughAFileAcrossSeveralBlocks) {
  MemoryCanvas canvas(200, 120, clWhite);
  canvas.FillRect({10, 10, 150, 100}, clBlue);
  canvas.SetPen(clRed, 1, TPenStyle::psSolid);
  canvas.MoveTo({0, 0});
  canvas.LineTo({199, 119});
  const std::filesystem::path file = std::filesystem::temp_directory_path() / "vormix-png-test.png";
  ASSERT_TRUE(WritePngFile(file.string(), canvas.Image()));
  std::ifstream in(file, std::ios::binary);
  const std::string png((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  in.close();
  std::filesystem::remove(file);

  const std::vector<TChunk> chunks = Chunks(png);
  ASSERT_EQ(chunks.size(), 3u);
  EXPECT_EQ(BigEndian(chunks[0].Data, 0), 200u);
  EXPECT_EQ(BigEndian(chunks[0].Data, 4), 120u);
  const std::string raw = Inflate(chunks[1].Data);
  ASSERT_EQ(raw.size(), 120u * (1 + 3 * 200));
  for (int y = 0; y < 120; ++y) {
    ASSERT_EQ(raw[y * 601], 0) << "no filter on line " << y;
    for (int x = 0; x < 200; ++x) {
      const std::size_t at = y * 601 + 1 + 3 * x;
      const TColor c = RGBColor(static_cast<unsigned char>(raw[at]), static_cast<unsigned char>(raw[at + 1]),
                                static_cast<unsigned char>(raw[at + 2]));
      ASSERT_EQ(c, canvas.Pixel(x, y)) << x << "," << y;
    }
  }
}

TEST(Png, AFileThatCannotBeCreatedIsReported) {
  EXPECT_FALSE(
      WritePngFile((std::filesystem::temp_directory_path() / "no-such-folder" / "x.png").string(), TImage(1, 1)));
}

}  // namespace
}  // namespace vormix
