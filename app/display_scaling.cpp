#include "app/display_scaling.h"

#include "platform/display_scale.h"
#include "platform_qt/packed_picture.h"

#include <QByteArray>
#include <QGuiApplication>
#include <QScreen>

namespace app {

namespace {

constexpr int twinScale = 2;

void setScaleFactor(int scale) {
    qputenv("QT_SCALE_FACTOR", QByteArray::number(scale));
    // Alone: the screen's own resolution must not multiply it.
    qputenv("QT_ENABLE_HIGHDPI_SCALING", "0");
    // Fonts are sized in the pixels of the layout; a scaled window must not size them again for
    // the desktop's resolution.
    if (scale > 1)
        qputenv("QT_FONT_DPI", "96");
}

} // namespace

bool prepareDisplayScaling() {
    // Per-screen factors of any size would break the whole-number scale.
    qunsetenv("QT_SCREEN_SCALE_FACTORS");
    const std::optional<double> setting =
        platform::scaleFactorSetting(qgetenv("QT_SCALE_FACTOR").toStdString());
    if (setting) {
        setScaleFactor(platform::wholeScale(*setting));
        return true;
    }
    qunsetenv("QT_SCALE_FACTOR");
    // The desktop's resolution over 96, rounded as platform::wholeScale rounds (halves up). The
    // fonts keep the resolution of scale 1 where the rounding went down (120 stays 120) and the
    // layout's 96 where it went up (144 gives 96, not 72).
    if (qEnvironmentVariableIsEmpty("QT_ENABLE_HIGHDPI_SCALING"))
        qputenv("QT_ENABLE_HIGHDPI_SCALING", "1");
    qputenv("QT_SCALE_FACTOR_ROUNDING_POLICY", "Round");
    qputenv("QT_DPI_ADJUSTMENT_POLICY", "AdjustUpOnly");
    return false;
}

int physicalScaleWanted() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    // The desktop's resolution is its answer, even at 96; only a default leaves the physical one
    // to speak, and a screen scaled already has its scale.
    if (!screen || screen->devicePixelRatio() != 1.0 ||
        qRound(screen->logicalDotsPerInchY()) != 96 || qEnvironmentVariableIsSet("QT_FONT_DPI"))
        return 1;
    return platform::scaleForDpi(screen->physicalDotsPerInchY());
}

void prepareForScale(int scale) { setScaleFactor(scale); }

int pictureScale() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? std::max(1, qRound(screen->devicePixelRatio())) : 1;
}

QString doubleSizePath(const QString& path) {
    const qsizetype dot = path.lastIndexOf(u'.');
    const qsizetype slash = path.lastIndexOf(u'/');
    if (dot <= slash)
        return path + QStringLiteral("@2x");
    return path.left(dot) + QStringLiteral("@2x") + path.mid(dot);
}

std::string doubleSizePath(const std::string& path) {
    return doubleSizePath(QString::fromStdString(path)).toStdString();
}

QImage doubled(const QImage& picture) {
    if (picture.isNull())
        return picture;
    QImage twice = picture.scaled(picture.size() * twinScale, Qt::IgnoreAspectRatio,
                                  Qt::SmoothTransformation);
    twice.setDevicePixelRatio(twinScale);
    return twice;
}

QImage asTwin(QImage twin) {
    if (twin.isNull() || twin.width() % twinScale || twin.height() % twinScale)
        return {};
    twin.setDevicePixelRatio(twinScale);
    return twin;
}

QImage loadPicture(const QString& resource) {
    if (pictureScale() < twinScale)
        return platform::builtInPicture(resource);
    // The twins are kept as compressed pictures: only a doubled window reads them.
    QString twinResource = doubleSizePath(resource);
    if (twinResource.endsWith(QStringLiteral(".pic"))) {
        twinResource.chop(4);
        twinResource += QStringLiteral(".png");
    }
    const QImage twin = asTwin(QImage(twinResource));
    return twin.isNull() ? doubled(platform::builtInPicture(resource)) : twin;
}

} // namespace app
