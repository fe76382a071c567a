#include "art.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QStringList>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

using namespace artgen;

namespace {

const std::vector<Picture>& pictures() {
    static const std::vector<Picture> all = allPictures();
    return all;
}

const QImage& image(const QString& fileName) {
    for (const Picture& p : pictures()) {
        if (p.fileName == fileName)
            return p.image;
    }
    static const QImage none;
    ADD_FAILURE() << "no picture " << qPrintable(fileName);
    return none;
}

const QImage& plain() {
    static const QImage image = plainBackground();
    return image;
}

int luma(QRgb c) {
    return (299 * qRed(c) + 587 * qGreen(c) + 114 * qBlue(c)) / 1000;
}

// Smallest rectangle holding every pixel where `a` and `b` differ.
QRect differences(const QImage& a, const QImage& b) {
    QRect box;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            if (a.pixel(x, y) != b.pixel(x, y))
                box |= QRect(x, y, 1, 1);
    return box;
}

} // namespace

TEST(ArtgenArtwork, DrawsExactlyTheFilesTheBuildDeclares) {
    QStringList declared = QString::fromUtf8(ARTGEN_DECLARED_FILES).split(u',');
    QStringList drawn;
    for (const Picture& p : pictures())
        drawn << p.fileName;
    declared.sort();
    drawn.sort();
    EXPECT_EQ(drawn, declared);
}

TEST(ArtgenArtwork, SizesAndFormatsAreWhatTheWindowLaysOut) {
    struct Row {
        const char* files;
        QSize size;
    };
    const Row rows[] = {
        {"bg.bmp", {800, 600}},
        {"l_button.bmp l_button_cancel.bmp r_button.bmp r_button_cancel.bmp", {60, 60}},
        {"start.bmp start_cancel.bmp giveup.bmp giveup_cancel.bmp repeat.bmp repeat_cancel.bmp",
         {65, 27}},
        {"check.png delete.png setting.png exit.png", {86, 20}},
        {"point.png", {370, 70}},
        {"n1.png n2.png n3.png", {30, 30}},
        {"msgbg.png", {330, 110}},
        {"splash.bmp", {476, 359}},
        {"icon.png", {64, 64}},
    };
    for (const Row& row : rows) {
        for (const QString& name : QString::fromUtf8(row.files).split(u' ')) {
            SCOPED_TRACE(qPrintable(name));
            const QImage& img = image(name);
            EXPECT_EQ(img.size(), row.size);
            EXPECT_EQ(img.format(),
                      name.endsWith(u".png") ? QImage::Format_ARGB32 : QImage::Format_RGB888);
        }
    }
}

// Places the window draws on, or that must stay one flat colour for other reasons.
TEST(ArtgenBackground, PlainAreasKeepTheirBandColour) {
    struct Row {
        const char* what;
        QRect area;
        QColor colour;
    };
    const Row rows[] = {
        {"top band right of the tabs", {330, 0, 470, 31}, colour::modeBand},
        {"gap before the first tab", {62, 0, 7, 31}, colour::modeBand},
        {"step band under the title", {150, 31, 530, 31}, colour::stepBand},
        {"content area", {0, 62, 800, 349}, colour::content},
        {"left panel above Check", {0, 411, 167, 54}, colour::sidePanel},
        {"right panel below Exit", {634, 545, 166, 55}, colour::sidePanel},
        {"middle panel top", {167, 411, 467, 36}, colour::panel},
        {"F1", {268, 470, 20, 16}, colour::panel},
        {"F2", {514, 470, 20, 16}, colour::panel},
        {"F3", {286, 567, 20, 16}, colour::panel},
        {"F4", {390, 567, 20, 16}, colour::panel},
        {"F5", {494, 567, 20, 16}, colour::panel},
    };
    const QImage bg = image(QStringLiteral("bg.bmp"));
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        int wrong = 0;
        for (int y = row.area.top(); y <= row.area.bottom(); ++y)
            for (int x = row.area.left(); x <= row.area.right(); ++x)
                wrong += bg.pixelColor(x, y) != row.colour;
        EXPECT_EQ(wrong, 0);
    }
}

TEST(ArtgenBackground, LabelsEndJustBeforeTheNumbersTheWindowWrites) {
    struct Row {
        const char* what;
        int from, to, lastInk;
    };
    const Row rows[] = {{"Step", 0, 60, 55}, {"Chapter", 60, 154, 149}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        int last = -1;
        for (int x = row.from; x <= row.to; ++x)
            for (int y = 31; y <= 61; ++y)
                if (luma(plain().pixel(x, y)) < 150)
                    last = x;
        EXPECT_GE(last, row.lastInk - 2);
        EXPECT_LE(last, row.lastInk);
    }
}

TEST(ArtgenBackground, TabSeparatorsArePairsOfOneDarkAndOneLightColumn) {
    for (int x : {109, 199, 266}) {
        SCOPED_TRACE(x);
        const int band = luma(colour::modeBand.rgb());
        EXPECT_LT(luma(plain().pixel(x, 15)), band);
        EXPECT_GT(luma(plain().pixel(x + 1, 15)), band);
        EXPECT_EQ(plain().pixelColor(x - 1, 15), colour::modeBand);
        EXPECT_EQ(plain().pixelColor(x + 2, 15), colour::modeBand);
    }
}

// The window hides a held button, so bg.bmp must show it pushed in at exactly its place.
TEST(ArtgenBackground, EveryButtonPlaceShowsThatButtonPushedIn) {
    const QImage bg = image(QStringLiteral("bg.bmp"));
    for (const ButtonArt& b : buttons()) {
        SCOPED_TRACE(qPrintable(b.stem));
        const QImage backdrop = plain().copy(b.place);
        const QImage pressed = bg.copy(b.place);
        const QImage raised = flattened(backdrop, b.paint(Look::Raised));
        const QRect pressedBox = differences(pressed, backdrop);
        const QRect raisedBox = differences(raised, backdrop);
        ASSERT_FALSE(pressedBox.isEmpty());
        EXPECT_EQ(pressedBox.topLeft(), raisedBox.topLeft() + QPoint(1, 1));

        // Darker on the whole: the face loses its light.
        qint64 pressedLuma = 0, raisedLuma = 0;
        for (int y = 0; y < pressed.height(); ++y)
            for (int x = 0; x < pressed.width(); ++x) {
                pressedLuma += luma(pressed.pixel(x, y));
                raisedLuma += luma(raised.pixel(x, y));
            }
        EXPECT_LT(pressedLuma, raisedLuma);
    }

    int outside = 0;
    for (int y = 0; y < bg.height(); ++y)
        for (int x = 0; x < bg.width(); ++x)
            if (bg.pixel(x, y) != plain().pixel(x, y))
                outside += std::none_of(buttons().begin(), buttons().end(),
                                        [&](const ButtonArt& b) { return b.place.contains(x, y); });
    EXPECT_EQ(outside, 0) << "pressed drawings spill out of their places";
}

TEST(ArtgenButtons, GreyedTwinsAreGreyFlatAndSitOnTheSameBackground) {
    for (const ButtonArt& b : buttons()) {
        if (!b.bitmap)
            continue;
        SCOPED_TRACE(qPrintable(b.stem));
        const QImage backdrop = plain().copy(b.place);
        const QImage enabled = image(b.stem + QStringLiteral(".bmp"));
        const QImage disabled = image(b.stem + QStringLiteral("_cancel.bmp"));
        ASSERT_EQ(enabled.size(), disabled.size());

        // Round the body only the shadow falls: there the twin may darken the window's pixels, but
        // never lighten them (a greyed shadow turns into a pale halo).
        const auto shadowOnly = [&](int x, int y) {
            if (b.place.width() == 60)
                return std::hypot(x + 0.5 - 29.5, y + 0.5 - 29.5) > 28.5;
            return x == b.place.width() - 1 || y == b.place.height() - 1;
        };
        int lighter = 0;
        for (int y = 0; y < disabled.height(); ++y)
            for (int x = 0; x < disabled.width(); ++x)
                if (shadowOnly(x, y))
                    lighter =
                        std::max(lighter, luma(disabled.pixel(x, y)) - luma(backdrop.pixel(x, y)));
        EXPECT_LE(lighter, 1) << "a light halo round the greyed button";

        // The middle of the face, well inside any edge: no colour, and far less contrast.
        const QRect middle = b.place.size().width() == 60 ? QRect(16, 16, 28, 28)
                                                          : QRect(6, 6, b.place.width() - 12, 12);
        int spreadEnabled[2] = {255, 0}, spreadDisabled[2] = {255, 0}, saturation = 0;
        for (int y = middle.top(); y <= middle.bottom(); ++y)
            for (int x = middle.left(); x <= middle.right(); ++x) {
                const QRgb e = enabled.pixel(x, y), d = disabled.pixel(x, y);
                spreadEnabled[0] = std::min(spreadEnabled[0], luma(e));
                spreadEnabled[1] = std::max(spreadEnabled[1], luma(e));
                spreadDisabled[0] = std::min(spreadDisabled[0], luma(d));
                spreadDisabled[1] = std::max(spreadDisabled[1], luma(d));
                saturation = std::max(
                    {saturation, std::abs(qRed(d) - qGreen(d)), std::abs(qGreen(d) - qBlue(d))});
            }
        EXPECT_LE(saturation, 2);
        EXPECT_LT(spreadDisabled[1] - spreadDisabled[0], (spreadEnabled[1] - spreadEnabled[0]) / 2);
    }
}

TEST(ArtgenButtons, ArrowsPointTheWayTheirButtonGoes) {
    // The tip is a narrow column of ink, the shaft's end a wide one.
    struct Row {
        const char* stem;
        bool tipOnLeft;
    };
    for (const Row row : {Row{"l_button", true}, Row{"r_button", false}}) {
        SCOPED_TRACE(row.stem);
        const QImage img = image(QString::fromUtf8(row.stem) + QStringLiteral(".bmp"));
        std::vector<int> heights(img.width(), 0);
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x) {
                const bool insideFace = std::hypot(x + 0.5 - 30, y + 0.5 - 30) < 20;
                const QRgb c = img.pixel(x, y);
                heights[x] += insideFace && qRed(c) < 60 && qGreen(c) < 130;
            }
        const auto first =
            std::find_if(heights.begin(), heights.end(), [](int h) { return h > 0; });
        const auto last =
            std::find_if(heights.rbegin(), heights.rend(), [](int h) { return h > 0; });
        ASSERT_NE(first, heights.end());
        const int leftEnd = *(first + 1), rightEnd = *(last + 1);
        if (row.tipOnLeft)
            EXPECT_LT(leftEnd, rightEnd);
        else
            EXPECT_GT(leftEnd, rightEnd);
    }
}

TEST(ArtgenPictures, MessagePanelIsBlueInsideAFiveWhitePixelBorder) {
    const QImage panel = image(QStringLiteral("msgbg.png"));
    int wrong = 0;
    for (int y = 0; y < panel.height(); ++y)
        for (int x = 0; x < panel.width(); ++x) {
            const bool border = x < 5 || y < 5 || x >= panel.width() - 5 || y >= panel.height() - 5;
            wrong += panel.pixelColor(x, y) != (border ? QColor(Qt::white) : colour::messageBlue);
        }
    EXPECT_EQ(wrong, 0);
}

TEST(ArtgenWriting, FilesReadBackAsDrawnWithTwentyFourBitBitmaps) {
    QTemporaryDir tmp;
    ASSERT_TRUE(tmp.isValid());
    const QString bmpDir = tmp.filePath(QStringLiteral("app/bmp"));
    const QString resDir = tmp.filePath(QStringLiteral("generated/art"));
    QString error;
    ASSERT_TRUE(writeAll(bmpDir, resDir, &error)) << qPrintable(error);
    for (const Picture& p : pictures()) {
        SCOPED_TRACE(qPrintable(p.fileName));
        const QString path = QDir(p.bitmap ? bmpDir : resDir).filePath(p.fileName);
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QByteArray header = file.read(30);
        if (p.bitmap) {
            ASSERT_EQ(header.size(), 30);
            EXPECT_TRUE(header.startsWith("BM"));
            EXPECT_EQ(static_cast<unsigned char>(header.at(28)), 24u);
        }
        EXPECT_EQ(QImage(path).convertToFormat(p.image.format()), p.image);
    }
    EXPECT_EQ(QDir(bmpDir).entryList(QDir::Files).size() +
                  QDir(resDir).entryList(QDir::Files).size(),
              static_cast<int>(pictures().size()))
        << "a stray temporary file was left behind";
}

TEST(ArtgenWriting, AnUnwritableTargetIsReportedNotSkipped) {
    struct Row {
        const char* what;
        const char* blocker;
        const char* mentioned;
    };
    const Row rows[] = {
        {"resource folder is a file", "art", "art"},
        {"a picture's name is taken by a folder", "bmp/bg.bmp/", "bg.bmp"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        QTemporaryDir tmp;
        ASSERT_TRUE(tmp.isValid());
        const QString blocker = tmp.filePath(QString::fromUtf8(row.blocker));
        if (blocker.endsWith(u'/')) {
            ASSERT_TRUE(QDir().mkpath(blocker));
        } else {
            QFile f(blocker);
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        }
        QString error;
        EXPECT_FALSE(writeAll(tmp.filePath(QStringLiteral("bmp")),
                              tmp.filePath(QStringLiteral("art")), &error));
        EXPECT_TRUE(error.contains(QString::fromUtf8(row.mentioned))) << qPrintable(error);
    }
}

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

// A menu icon is the window icon drawn again at its size: the same look, not a scaled copy.
TEST(ArtgenArtwork, MenuIconsAreTheWindowIconAtEverySize) {
    EXPECT_EQ(windowIcon(64), windowIcon()) << "the 64-pixel menu icon is the window's own";
    for (int size : menuIconSizes) {
        SCOPED_TRACE(size);
        const QImage icon = windowIcon(size);
        EXPECT_EQ(icon.size(), QSize(size, size));
        EXPECT_EQ(qAlpha(icon.pixel(0, 0)), 0) << "the rounded corner stays transparent";
        const QColor middle = icon.pixelColor(size * 3 / 16, size * 3 / 16);
        EXPECT_GT(middle.green(), middle.red() + 40) << "the green tile fills the icon";
    }
    QTemporaryDir dir;
    QString error;
    ASSERT_TRUE(writeMenuIcons(dir.path(), QStringLiteral("yomirin"), &error)) << qPrintable(error);
    for (int size : menuIconSizes)
        EXPECT_EQ(QImage(QStringLiteral("%1/%2x%2/apps/yomirin.png").arg(dir.path()).arg(size)).size(),
                  QSize(size, size));
}

// Where the desktop doubles the window, each picture is shown from its twin: the same drawing at
// twice the pixels, which shrunk again looks like the picture at 1.
TEST(ArtgenTwins, EveryWindowPictureHasATwiceAsLargeTwinOfTheSameLook) {
    int twins = 0;
    for (const Picture& one : pictures()) {
        if (one.fileName.contains(u'@') || one.fileName == QStringLiteral("icon.png"))
            continue;
        SCOPED_TRACE(qPrintable(one.fileName));
        QString twinName = doubleSizeName(one.fileName);
        if (twinName == QStringLiteral("splash@2x.bmp"))
            twinName = QStringLiteral("splash@2x.png"); // four times the pixels, compressed
        const QImage& twin = image(twinName);
        ASSERT_EQ(twin.size(), one.image.size() * 2);
        EXPECT_EQ(twin.format(), twinName.endsWith(u".png") ? QImage::Format_ARGB32
                                                           : QImage::Format_RGB888);
        const QImage shrunk = twin.scaled(one.image.size(), Qt::IgnoreAspectRatio,
                                          Qt::SmoothTransformation)
                                  .convertToFormat(QImage::Format_ARGB32);
        const QImage original = one.image.convertToFormat(QImage::Format_ARGB32);
        qint64 difference = 0;
        for (int y = 0; y < original.height(); ++y)
            for (int x = 0; x < original.width(); ++x)
                difference += std::abs(luma(shrunk.pixel(x, y)) - luma(original.pixel(x, y)));
        EXPECT_LT(difference / (original.width() * original.height()), 12)
            << "the twin is another drawing";
        ++twins;
    }
    EXPECT_EQ(twins, 21);
}

TEST(ArtgenTwins, ButtonTwinsLieOnTheTwinBackgroundAtTheirDoubledPlace) {
    const QImage& bg = image(QStringLiteral("bg@2x.bmp"));
    for (const ButtonArt& b : buttons()) {
        if (!b.bitmap)
            continue;
        SCOPED_TRACE(qPrintable(b.stem));
        const QImage& twin = image(b.stem + QStringLiteral("@2x.bmp"));
        // The corners lie outside the body and its shadow: the background shows there.
        EXPECT_EQ(twin.pixel(0, 0), bg.pixel(b.place.topLeft() * 2));
        EXPECT_EQ(twin.pixel(twin.width() - 1, 0), bg.pixel(2 * b.place.right() + 1, 2 * b.place.top()));
    }
}
