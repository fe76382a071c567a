#include "platform_qt/packed_picture.h"

#include <QResource>

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace {

QImage withAlpha() {
    QImage image(3, 2, QImage::Format_ARGB32);
    image.fill(QColor(10, 200, 30, 255));
    image.setPixelColor(1, 0, QColor(200, 100, 50, 128));
    image.setPixelColor(2, 1, QColor(0, 0, 0, 0));
    return image;
}

const unsigned char* bytesOf(const QByteArray& packed) {
    return reinterpret_cast<const unsigned char*>(packed.constData());
}

TEST(PackedPicture, GivesBackThePixelsAndKeepsAlphaOnlyWhereThePictureHasIt) {
    QImage opaque(4, 3, QImage::Format_RGB888);
    opaque.fill(QColor(1, 2, 3));
    opaque.setPixelColor(3, 2, QColor(250, 128, 7));
    const QByteArray packedOpaque = platform::packPicture(opaque);
    const QImage shownOpaque = platform::unpackPicture(bytesOf(packedOpaque), packedOpaque.size());
    EXPECT_EQ(shownOpaque.format(), QImage::Format_RGB32);
    EXPECT_EQ(shownOpaque, opaque.convertToFormat(QImage::Format_RGB32));

    // An alpha channel that is everywhere opaque is dropped: the screen draws such a picture as is.
    const QByteArray packedFullAlpha =
        platform::packPicture(opaque.convertToFormat(QImage::Format_ARGB32));
    EXPECT_EQ(platform::unpackPicture(bytesOf(packedFullAlpha), packedFullAlpha.size()).format(),
              QImage::Format_RGB32);

    const QByteArray packed = platform::packPicture(withAlpha());
    const QImage shown = platform::unpackPicture(bytesOf(packed), packed.size());
    EXPECT_EQ(shown.format(), QImage::Format_ARGB32_Premultiplied);
    EXPECT_EQ(shown, withAlpha().convertToFormat(QImage::Format_ARGB32_Premultiplied));
}

TEST(PackedPicture, SharesAlignedBytesAndCopiesMisalignedOnes) {
    const QByteArray packed = platform::packPicture(withAlpha());
    const QImage shared = platform::unpackPicture(bytesOf(packed), packed.size());
    EXPECT_EQ(shared.constBits(), bytesOf(packed) + 16);

    std::vector<unsigned char> shifted(packed.size() + 1);
    std::memcpy(shifted.data() + 1, packed.constData(), packed.size());
    const QImage copied = platform::unpackPicture(shifted.data() + 1, packed.size());
    EXPECT_NE(copied.constBits(), shifted.data() + 1 + 16);
    EXPECT_EQ(copied, shared);
}

TEST(PackedPicture, TheProgramsOwnPicturesAreShownFromWhereTheyLie) {
    for (const char* name : {"splash", "msgbg", "point", "check", "n1", "icon"}) {
        const QString resource = QStringLiteral(":/art/%1.pic").arg(QLatin1String(name));
        const QImage picture = platform::builtInPicture(resource);
        ASSERT_FALSE(picture.isNull()) << name;
        EXPECT_EQ(picture.constBits(), QResource(resource).data() + 16) << name << " was copied";
    }
}

TEST(PackedPicture, BytesThatAreNoWholePictureGiveANullPicture) {
    const QByteArray good = platform::packPicture(withAlpha());
    const auto lying = [&](int at, std::uint32_t value) {
        QByteArray bytes = good;
        std::memcpy(bytes.data() + at, &value, sizeof value);
        return bytes;
    };
    const QByteArray cases[] = {
        QByteArray(),
        good.left(15),                                      // no whole header
        good.left(good.size() - 1),                         // a pixel short
        QByteArray("XPIC").append(good.mid(4)),             // another kind of file
        lying(4, 0),                                        // no width
        lying(8, 0x40000000u),                              // more rows than it holds
        lying(4, 0xFFFFFFFFu),                              // a width whose bytes overflow
        lying(12, QImage::Format_Indexed8),                 // pixels of another kind
    };
    for (const QByteArray& bytes : cases)
        EXPECT_TRUE(platform::unpackPicture(bytesOf(bytes), bytes.size()).isNull())
            << bytes.left(16).toHex().constData();
    EXPECT_TRUE(platform::builtInPicture(QStringLiteral(":/art/no-such-picture.pic")).isNull());
}

} // namespace
