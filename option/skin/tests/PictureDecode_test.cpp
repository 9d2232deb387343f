#include "PictureDecode.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#define STB_IMAGE_WRITE_IMPLEMENTATION
#define STBI_WRITE_NO_STDIO
#include <stb_image_write.h>

namespace {

using Bytes = std::vector<uint8_t>;

// A JPEG of `width` x `height`: red rising from left to right, blue from top
// to bottom, green 0, at the best quality.
Bytes jpegOf(int width, int height) {
  const int channels = 3;
  std::vector<uint8_t> rgb(size_t(width) * height * channels);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      uint8_t* p = &rgb[(size_t(y) * width + x) * channels];
      p[0] = uint8_t(x * 255 / (width - 1));
      p[1] = 0;
      p[2] = uint8_t(y * 255 / (height - 1));
    }
  Bytes out;
  stbi_write_jpg_to_func(
      [](void* context, void* data, int size) {
        auto* bytes = static_cast<Bytes*>(context);
        bytes->insert(bytes->end(), static_cast<uint8_t*>(data), static_cast<uint8_t*>(data) + size);
      },
      &out, width, height, channels, rgb.data(), 100);
  return out;
}

// What DecodePicture wrote, or nothing when it refused.
struct Decoded {
  bool ok = false;
  int width = 0, height = 0, bytesPerPixel = 0;
  Bytes rows;
  const uint8_t* at(int x, int y) const {
    return &rows[y * PictureStride(width, bytesPerPixel) + size_t(x) * size_t(bytesPerPixel)];
  }
};
Decoded decode(const Bytes& file) {
  Decoded d;
  d.ok = DecodePicture(file.data(), file.size(), [&](int w, int h, int bytes) {
    d.width = w;
    d.height = h;
    d.bytesPerPixel = bytes;
    d.rows.assign(PictureStride(w, bytes) * h, 0xAA);
    return d.rows.data();
  });
  return d;
}

TEST(PictureDecode, AJpegComesOutTopDownInBlueGreenRedRowsPaddedToFourBytes) {
  const Decoded d = decode(jpegOf(33, 17));
  ASSERT_TRUE(d.ok);
  EXPECT_EQ(d.width, 33);
  EXPECT_EQ(d.height, 17);
  EXPECT_EQ(PictureStride(33), 100u);
  auto near = [](int value, int expected) { return std::abs(value - expected) < 24; };
  // Top left black, top right red, bottom left blue: blue is the first byte.
  EXPECT_TRUE(near(d.at(0, 0)[0], 0) && near(d.at(0, 0)[2], 0));
  EXPECT_TRUE(near(d.at(32, 0)[2], 255) && near(d.at(32, 0)[0], 0)) << int(d.at(32, 0)[2]);
  EXPECT_TRUE(near(d.at(0, 16)[0], 255) && near(d.at(0, 16)[2], 0)) << int(d.at(0, 16)[0]);
  EXPECT_EQ(d.rows[99], 0xAA) << "the padding is left alone";
}

// A grey JPEG of 8 x 4 pixels, one component, dark on the left and light on
// the right, as the skin's grey pictures are written.
const Bytes kGreyJpeg = {
    0xFF, 0xD8, 0xFF, 0xE0, 0x00, 0x10, 0x4A, 0x46, 0x49, 0x46, 0x00, 0x01, 0x01, 0x00, 0x00, 0x01, 0x00,
    0x01, 0x00, 0x00, 0xFF, 0xDB, 0x00, 0x43, 0x00, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01,
    0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01,
    0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01,
    0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01,
    0x01, 0x01, 0x01, 0x01, 0xFF, 0xC0, 0x00, 0x0B, 0x08, 0x00, 0x04, 0x00, 0x08, 0x01, 0x01, 0x11, 0x00,
    0xFF, 0xC4, 0x00, 0x14, 0x00, 0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
    0x00, 0x00, 0x00, 0x00, 0x03, 0xFF, 0xC4, 0x00, 0x18, 0x10, 0x00, 0x02, 0x03, 0x00, 0x00, 0x00, 0x00,
    0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x0A, 0x47, 0x85, 0xC3, 0xFF, 0xDA, 0x00,
    0x08, 0x01, 0x01, 0x00, 0x00, 0x3F, 0x00, 0x35, 0x66, 0x8E, 0xAA, 0xF3, 0x3F, 0xFF, 0xD9,
};

TEST(PictureDecode, AGreyJpegStaysOneByteAPixel) {
  const Decoded d = decode(kGreyJpeg);
  ASSERT_TRUE(d.ok);
  EXPECT_EQ(d.bytesPerPixel, 1);
  EXPECT_EQ(d.width, 8);
  EXPECT_EQ(d.height, 4);
  EXPECT_LT(d.at(0, 2)[0], 64);
  EXPECT_GT(d.at(7, 2)[0], 192);
  EXPECT_EQ(PictureStride(5, 1), 8u);
  EXPECT_EQ(decode(jpegOf(33, 5)).bytesPerPixel, 3) << "colour stays colour";
}

TEST(PictureDecode, DamagedPicturesAreRefusedWithoutAskingForRows) {
  const Bytes good = jpegOf(40, 30);
  Bytes cut(good.begin(), good.begin() + good.size() * 2 / 3);
  EXPECT_FALSE(decode(cut).ok) << "cut short";
  Bytes headerOnly(good.begin(), good.begin() + 40);
  EXPECT_FALSE(decode(headerOnly).ok);
  // The start of a JPEG that claims 65535 x 65535 pixels, with an end marker.
  Bytes lying = {0xFF, 0xD8, 0xFF, 0xC0, 0x00, 0x11, 0x08, 0xFF, 0xFF, 0xFF, 0xFF, 0x03, 0x01,
                 0x22, 0x00, 0x02, 0x11, 0x01, 0x03, 0x11, 0x01, 0xFF, 0xDA, 0x00, 0x0C, 0x03,
                 0x01, 0x00, 0x02, 0x11, 0x03, 0x11, 0x00, 0x3F, 0x00, 0xFF, 0xD9};
  EXPECT_FALSE(decode(lying).ok) << "larger than any window";
  Bytes junk(5000, 0x5A);
  junk[0] = 0xFF, junk[1] = 0xD8, junk[2] = 0xFF, junk[4998] = 0xFF, junk[4999] = 0xD9;
  EXPECT_FALSE(decode(junk).ok) << "no picture between the markers";
  EXPECT_FALSE(decode({}).ok);
  EXPECT_FALSE(decode({'B', 'M', 0, 0}).ok) << "bitmaps are not decoded here";
  EXPECT_FALSE(DecodePicture(good.data(), good.size(), [](int, int, int) {
    return static_cast<uint8_t*>(nullptr);
  })) << "no room for the rows";
}

TEST(PictureDecode, FormatsAreToldByTheirSignature) {
  const uint8_t bmp[] = {'B', 'M', 1}, jpeg[] = {0xFF, 0xD8, 0xFF}, gif[] = {'G', 'I', 'F', '8', '9', 'a'};
  EXPECT_EQ(PictureFormatOf(bmp, sizeof bmp), PictureFormat::Bmp);
  EXPECT_EQ(PictureFormatOf(jpeg, sizeof jpeg), PictureFormat::Jpeg);
  EXPECT_EQ(PictureFormatOf(gif, sizeof gif), PictureFormat::Gif);
  EXPECT_EQ(PictureFormatOf(jpeg, 2), PictureFormat::Unknown);
  EXPECT_EQ(PictureFormatOf(nullptr, 0), PictureFormat::Unknown);
}

TEST(PictureDecode, AGifTakesItsFirstFrame) {
  // One white pixel: header, logical screen with a two-colour table, image
  // descriptor, LZW data, trailer.
  const Bytes gif = {'G', 'I',  'F', '8', '9', 'a', 1, 0, 1, 0, 0x80, 0, 0, 0xFF, 0xFF, 0xFF, 0,   0,
                     0,   0x2C, 0,   0,   0,   0,   1, 0, 1, 0, 0,    2, 2, 0x44, 0x01, 0,    0x3B};
  const Decoded d = decode(gif);
  ASSERT_TRUE(d.ok);
  EXPECT_EQ(d.width, 1);
  EXPECT_EQ(d.at(0, 0)[0], 0xFF);
  Bytes cut(gif.begin(), gif.end() - 1);
  EXPECT_FALSE(decode(cut).ok) << "no trailer";
}

}  // namespace
