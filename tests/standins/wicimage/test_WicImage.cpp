// Pictures of the stand-ins: TIFF pages we encode (CCITT G4, LZW, uncompressed, several pages)
// decode to exactly the pixels we put in, and crop, resize, kinds and raw rows.

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>

#include "TiffWriter.h"
#include "WicCodec.h"
#include "WicImage.h"

using namespace wicimage;

namespace {

Picture Make(int width, int height, PixelKind kind, std::uint32_t seed, int pattern) {
    Picture picture;
    picture.width = width;
    picture.height = height;
    picture.kind = kind;
    picture.dpiX = 200;
    picture.dpiY = 100;
    picture.Allocate();
    std::mt19937 random(seed);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            for (int c = 0; c < picture.Channels(); ++c) {
                std::uint8_t value = 0;
                switch (pattern) {
                case 0: // noise
                    value = static_cast<std::uint8_t>(random());
                    break;
                case 1: // long runs and short ones
                    value = ((x / (1 + y % 50)) + c) % 3 == 0 ? 0 : 255;
                    break;
                default: // one colour
                    value = static_cast<std::uint8_t>(pattern);
                    break;
                }
                if (kind == PixelKind::Bilevel) {
                    value = value < 128 ? 0 : 255;
                }
                picture.samples[(static_cast<size_t>(y) * width + x) * picture.Channels() + c] =
                    value;
            }
        }
    }
    return picture;
}

void ExpectRoundTrip(const std::vector<const Picture*>& pages, bool compressed) {
    const std::string bytes = WriteTiff(pages, compressed);
    EncodedInfo info;
    std::string error;
    ASSERT_TRUE(Probe(bytes, info, error)) << error;
    EXPECT_EQ(Container::Tiff, info.container);
    ASSERT_EQ(static_cast<int>(pages.size()), info.frames);
    for (size_t i = 0; i < pages.size(); ++i) {
        SCOPED_TRACE("page " + std::to_string(i + 1));
        Picture decoded;
        ASSERT_TRUE(Decode(bytes, static_cast<int>(i), decoded, error)) << error;
        EXPECT_EQ(pages[i]->width, decoded.width);
        EXPECT_EQ(pages[i]->height, decoded.height);
        EXPECT_EQ(pages[i]->kind, decoded.kind);
        EXPECT_NEAR(pages[i]->dpiX, decoded.dpiX, 0.01);
        EXPECT_NEAR(pages[i]->dpiY, decoded.dpiY, 0.01);
        EXPECT_TRUE(pages[i]->samples == decoded.samples) << "pixels differ";
    }
}

TEST(TiffWriterTest, Group4DecodesToTheSamePixels) {
    struct Case {
        int width;
        int height;
        int pattern;
    };
    // Widths around byte edges, a run longer than 2560 pixels, noise (every mode), one colour.
    const Case cases[] = {{1, 3, 0},    {7, 5, 0},    {8, 8, 0},      {9, 4, 1},   {200, 100, 0},
                          {333, 77, 1}, {3000, 6, 1}, {2700, 3, 255}, {64, 64, 0}, {70, 2, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.width) + "x" + std::to_string(c.height) + " pattern " +
                     std::to_string(c.pattern));
        const Picture page = Make(c.width, c.height, PixelKind::Bilevel, c.width, c.pattern);
        ExpectRoundTrip({&page}, true);
    }
}

TEST(TiffWriterTest, LzwDecodesToTheSamePixels) {
    // Noise fills the code table several times over (clear codes); runs compress well.
    const Picture noise = Make(300, 200, PixelKind::Grey, 1, 0);
    const Picture runs = Make(640, 120, PixelKind::Grey, 2, 1);
    const Picture colour = Make(211, 97, PixelKind::Colour, 3, 0);
    const Picture flat = Make(500, 500, PixelKind::Colour, 4, 77);
    for (const Picture* page : {&noise, &runs, &colour, &flat}) {
        ExpectRoundTrip({page}, true);
    }
    EXPECT_LT(EncodeLzw(std::string(100000, 'a')).size(), 2000u);
}

TEST(TiffWriterTest, SeveralPagesOfEveryKindCompressedOrNot) {
    const Picture bilevel = Make(120, 40, PixelKind::Bilevel, 5, 0);
    const Picture grey = Make(50, 60, PixelKind::Grey, 6, 0);
    const Picture colour = Make(33, 21, PixelKind::Colour, 7, 1);
    ExpectRoundTrip({&bilevel, &grey, &colour}, true);
    ExpectRoundTrip({&colour, &bilevel, &grey}, false);
}

TEST(TiffWriterTest, EmptyLzwInputStillEndsTheStream) {
    // Clear (256) and end of information (257), 9 bits each, padded: 1000 0000 0100 0000 01..
    EXPECT_EQ(std::string("\x80\x40\x40", 3), EncodeLzw(std::string()));
}

TEST(WicImageTest, CropResizeAndKinds) {
    Picture picture = Make(10, 6, PixelKind::Grey, 0, 200);
    picture.samples[2 * 10 + 3] = 10; // row 2, column 3
    Picture cropped;
    ASSERT_TRUE(Crop(picture, 2, 3, 4, 8, cropped));
    EXPECT_EQ(5, cropped.width);
    EXPECT_EQ(2, cropped.height);
    EXPECT_EQ(10, cropped.samples[0]);
    EXPECT_FALSE(Crop(picture, 0, 0, 7, 5, cropped)); // below the picture
    EXPECT_FALSE(Crop(picture, 3, 3, 3, 5, cropped)); // empty

    Picture resized;
    ASSERT_TRUE(Resize(picture, 5, 3, true, resized));
    EXPECT_DOUBLE_EQ(100.0, resized.dpiX);
    EXPECT_DOUBLE_EQ(50.0, resized.dpiY);
    EXPECT_EQ((10 + 200 + 200 + 200 + 2) / 4, resized.samples[1 * 5 + 1]); // mean of 2 x 2
    EXPECT_FALSE(Resize(picture, 0, 3, true, resized));

    Picture colour = Make(2, 1, PixelKind::Colour, 0, 0);
    colour.samples = {255, 0, 0, 0, 0, 255};
    const Picture grey = ConvertKind(colour, PixelKind::Grey);
    EXPECT_EQ(76, grey.samples[0]);
    EXPECT_EQ(29, grey.samples[1]);
    EXPECT_EQ((std::vector<std::uint8_t>{0, 0}), ConvertKind(colour, PixelKind::Bilevel).samples);
}

TEST(WicImageTest, RawRows) {
    Picture picture = Make(10, 2, PixelKind::Grey, 0, 255);
    picture.samples[0] = 0;  // row 0, first pixel black
    picture.samples[19] = 0; // row 1, last pixel black
    // 1 bit: set bits are black, rows of two bytes without padding between them.
    EXPECT_EQ(std::string("\x80\x00\x00\x40", 4), RawRows(picture, 1));
    EXPECT_EQ(20u, RawRows(picture, 8).size());
    const std::string rgb = RawRows(picture, 24);
    ASSERT_EQ(60u, rgb.size());
    EXPECT_EQ(std::string("\x00\x00\x00\xFF\xFF\xFF", 6), rgb.substr(0, 6));
    EXPECT_TRUE(RawRows(picture, 4).empty());
}

TEST(WicCodecTest, JpegHoldsOnePageAndGarbageIsRefused) {
    const Picture page = Make(40, 30, PixelKind::Colour, 9, 1);
    std::string bytes;
    std::string error;
    ASSERT_TRUE(Encode({&page}, Container::Jpeg, true, bytes, error)) << error;
    EncodedInfo info;
    ASSERT_TRUE(Probe(bytes, info, error)) << error;
    EXPECT_EQ(Container::Jpeg, info.container);
    EXPECT_EQ(PixelKind::Colour, info.kind);
    EXPECT_NEAR(200.0, info.dpiX, 0.5);
    EXPECT_FALSE(Encode({&page, &page}, Container::Jpeg, true, bytes, error));
    EXPECT_FALSE(Encode({&page}, Container::Png, true, bytes, error));
    EXPECT_FALSE(Probe("not a picture", info, error));
    Picture decoded;
    EXPECT_FALSE(Decode(std::string(), 0, decoded, error));
}

} // namespace
