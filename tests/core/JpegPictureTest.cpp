#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <vector>

#include "ui/look/AboutBanner.h"
#include "ui/look/JpegPicture.h"

namespace vantrel {
namespace {

std::vector<uint8_t> Banner() {
    return std::vector<uint8_t>(kAboutBannerJpeg, kAboutBannerJpeg + kAboutBannerJpegSize);
}

TEST(JpegPicture, TheBannerDecodesToItsSizeAndColours) {
    const RgbPicture picture = DecodeJpeg(kAboutBannerJpeg, kAboutBannerJpegSize);
    ASSERT_FALSE(picture.IsEmpty());
    EXPECT_EQ(picture.width, kAboutBannerWidth);
    EXPECT_EQ(picture.height, kAboutBannerHeight);
    ASSERT_EQ(picture.pixels.size(), size_t{kAboutBannerWidth} * kAboutBannerHeight * 3);
    // The left edge is the gradient's light blue: more blue than red.
    const size_t middleLeft = (size_t{kAboutBannerHeight} / 2 * kAboutBannerWidth + 2) * 3;
    EXPECT_GT(picture.pixels[middleLeft + 2], picture.pixels[middleLeft] + 60);
}

// A banner cut anywhere, down to its last marker, leaves no picture rather than a grey-filled
// one or a crash.
TEST(JpegPicture, EveryTruncationGivesNoPicture) {
    const std::vector<uint8_t> banner = Banner();
    ASSERT_GT(banner.size(), 1000u);
    for (size_t length = 0; length < banner.size(); length += (length < 700 ? 1 : 97)) {
        const RgbPicture picture = DecodeJpeg(banner.data(), length);
        EXPECT_TRUE(picture.IsEmpty()) << "cut at " << length << " of " << banner.size();
    }
    for (size_t cut = 1; cut <= 8; ++cut)
        EXPECT_TRUE(DecodeJpeg(banner.data(), banner.size() - cut).IsEmpty()) << "last " << cut;
}

TEST(JpegPicture, GarbageGivesNoPicture) {
    std::mt19937 random(20060502);
    std::uniform_int_distribution<int> byte(0, 255);
    for (const size_t size : {size_t{1}, size_t{2}, size_t{16}, size_t{600}, size_t{20000}}) {
        std::vector<uint8_t> noise(size);
        for (uint8_t& value : noise)
            value = static_cast<uint8_t>(byte(random));
        EXPECT_TRUE(DecodeJpeg(noise.data(), noise.size()).IsEmpty()) << "noise of " << size;
        // The same behind a start-of-image marker, so libjpeg reads on into it.
        noise.insert(noise.begin(), {0xFF, 0xD8, 0xFF});
        EXPECT_TRUE(DecodeJpeg(noise.data(), noise.size()).IsEmpty()) << "marked noise " << size;
    }
    EXPECT_TRUE(DecodeJpeg(nullptr, 100).IsEmpty());
    EXPECT_TRUE(DecodeJpeg(kAboutBannerJpeg, 0).IsEmpty());
}

// Damage inside the compressed data: whatever libjpeg makes of it, the decode returns, and a
// picture it gives has the banner's size.
TEST(JpegPicture, DamagedDataNeverCrashes) {
    const std::vector<uint8_t> banner = Banner();
    std::mt19937 random(7);
    std::uniform_int_distribution<size_t> where(0, banner.size() - 1);
    for (int round = 0; round < 200; ++round) {
        std::vector<uint8_t> damaged = banner;
        for (int hit = 0; hit < 4; ++hit)
            damaged[where(random)] ^= static_cast<uint8_t>(1 + round % 255);
        const RgbPicture picture = DecodeJpeg(damaged.data(), damaged.size());
        if (!picture.IsEmpty()) {
            EXPECT_EQ(picture.pixels.size(),
                      static_cast<size_t>(picture.width) * static_cast<size_t>(picture.height) * 3);
        }
    }
}

// The frame header's size fields: a picture claiming to be huge is refused before anything is
// allocated for it.
TEST(JpegPicture, AClaimedHugeSizeIsRefused) {
    std::vector<uint8_t> banner = Banner();
    size_t frame = 0;
    for (size_t at = 2; at + 9 < banner.size(); ++at) {
        if (banner[at] == 0xFF && (banner[at + 1] == 0xC0 || banner[at + 1] == 0xC2)) {
            frame = at;
            break;
        }
    }
    ASSERT_NE(frame, 0u) << "no frame header in the banner";
    // Marker (2), length (2), precision (1), height (2), width (2).
    banner[frame + 5] = 0xEA;
    banner[frame + 6] = 0x60;
    EXPECT_TRUE(DecodeJpeg(banner.data(), banner.size()).IsEmpty());
}

}  // namespace
}  // namespace vantrel
