#include "viewer/resources/resources.h"

#include <gtest/gtest.h>

namespace {

// Every bitmap the window and its buttons use, with its size; shapes are black on pure white.
TEST(ResourcesTest, ArtworkHasTheSizesAndKeysTheWindowExpects) {
    resources::Init();
    const QImage skin = resources::Bitmap(216);
    ASSERT_FALSE(skin.isNull());
    EXPECT_EQ(skin.size(), QSize(881, 608));
    EXPECT_EQ(skin.pixel(0, 0), qRgb(0, 255, 0)) << "corners are cut away by the green key";
    EXPECT_NE(skin.pixel(440, 300), qRgb(0, 255, 0));

    struct Button {
        int shape;
        QSize size;
        std::vector<int> images;
    };
    const Button buttons[] = {
        {224, {28, 28}, {220, 221, 223, 226, 227, 228, 230, 231, 232, 234, 235, 236}},
        {239, {86, 44}, {237, 238, 240, 241}},
        {246, {50, 24}, {242, 243, 244, 245}},
        {247, {46, 35}, {248, 249, 250, 251, 252, 253}},
        {257, {31, 34}, {258, 259}},
        {254, {46, 49}, {255, 256}},
        {266, {14, 13}, {260, 261, 262, 263, 264, 265}},
        {267, {133, 29}, {268, 269, 270, 271, 272, 273, 274, 275, 276, 277, 285, 286, 299, 300}},
        {278, {104, 22}, {279, 280, 281, 282, 283, 284}},
    };
    for (const Button& b : buttons) {
        const QImage shape = resources::Bitmap(b.shape);
        ASSERT_EQ(shape.size(), b.size) << b.shape;
        for (int id : b.images) {
            const QImage image = resources::Bitmap(id);
            ASSERT_EQ(image.size(), b.size) << id;
            // Outside the shape the image is pure white; inside it never is.
            for (int y = 0; y < b.size.height(); ++y)
                for (int x = 0; x < b.size.width(); ++x) {
                    const bool inside = shape.pixel(x, y) != qRgb(255, 255, 255);
                    ASSERT_EQ(image.pixel(x, y) != qRgb(255, 255, 255), inside)
                        << "image " << id << " at " << x << "," << y;
                }
        }
    }
    EXPECT_EQ(resources::Bitmap(297).size(), QSize(22, 23));
    EXPECT_TRUE(resources::Bitmap(9999).isNull());
}

TEST(ResourcesTest, AlarmSoundIsTheSmallPcmWave) {
    resources::Init();
    const QByteArray wave = resources::Wave(294);
    ASSERT_EQ(wave.size(), 13544);
    EXPECT_TRUE(wave.startsWith("RIFF"));
    EXPECT_EQ(wave.mid(8, 4), "WAVE");
    EXPECT_TRUE(resources::Wave(1).isEmpty());
}

}  // namespace
