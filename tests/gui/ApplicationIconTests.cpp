#include "gui/ApplicationIcon.h"

#include <QImage>
#include <QPixmap>

#include <gtest/gtest.h>

namespace lunor::test {
namespace {

// The icon's pictures are built into the program: a program folder copied anywhere, or a
// program without an installed icon theme, still shows them at every size.
TEST(ApplicationIconTest, EverySizeIsBuiltIn)
{
    const QIcon icon = gui::applicationIcon();
    for (int size : { 16, 22, 24, 32, 48, 64, 128, 256 }) {
        SCOPED_TRACE(size);
        EXPECT_TRUE(icon.availableSizes().contains(QSize(size, size)));
        const QPixmap picture = icon.pixmap(QSize(size, size));
        ASSERT_FALSE(picture.isNull());
        EXPECT_EQ(picture.size(), QSize(size, size));
        // A round face: the corners are transparent, the centre is not.
        const QImage image = picture.toImage();
        EXPECT_EQ(qAlpha(image.pixel(0, 0)), 0);
        EXPECT_EQ(qAlpha(image.pixel(size / 2, size / 2)), 255);
    }
}

} // namespace
} // namespace lunor::test
