#include "art.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

namespace artgen {

std::vector<Picture> allPictures() {
    std::vector<Picture> all;
    const auto bmp = [&all](const QString& stem, QImage image) {
        all.push_back(
            {stem + QStringLiteral(".bmp"), true, image.convertToFormat(QImage::Format_RGB888)});
    };
    const auto png = [&all](const QString& stem, QImage image) {
        all.push_back(
            {stem + QStringLiteral(".png"), false, image.convertToFormat(QImage::Format_ARGB32)});
    };
    // An opaque picture shown while the program starts: stored as an uncompressed bitmap, read
    // as fast as memory is copied, where a PNG would cost the start a few milliseconds of inflating.
    const auto opaque = [&all](const QString& stem, QImage image) {
        all.push_back(
            {stem + QStringLiteral(".bmp"), false, image.convertToFormat(QImage::Format_RGB888)});
    };

    const QImage plain = plainBackground();
    bmp(QStringLiteral("bg"), background());
    for (const ButtonArt& b : buttons()) {
        const QImage raised = b.paint(Look::Raised);
        if (b.bitmap) {
            // BMP has no transparency: the button is laid on the very pixels the window shows
            // round it, so its corners vanish into the background.
            const QImage backdrop = plain.copy(b.place);
            bmp(b.stem, flattened(backdrop, raised));
            bmp(b.stem + QStringLiteral("_cancel"), flattened(backdrop, b.paint(Look::Disabled)));
        } else {
            png(b.stem, raised);
        }
    }
    png(QStringLiteral("point"), pointFrame());
    for (int digit = 1; digit <= 3; ++digit)
        png(QStringLiteral("n%1").arg(digit), replayCounter(digit));
    png(QStringLiteral("msgbg"), messagePanel());
    opaque(QStringLiteral("splash"), splash());
    png(QStringLiteral("icon"), windowIcon());
    return all;
}

bool writeAll(const QString& bmpDir, const QString& resourceDir, QString* error) {
    for (const QString& dir : {bmpDir, resourceDir}) {
        if (!QDir().mkpath(dir)) {
            *error = QStringLiteral("cannot create folder %1").arg(dir);
            return false;
        }
    }
    for (const Picture& picture : allPictures()) {
        const QString path = QDir(picture.bitmap ? bmpDir : resourceDir).filePath(picture.fileName);
        // Written aside and renamed into place, so a failed run never leaves a half picture that
        // the build would take for up to date.
        QSaveFile file(path);
        if (!file.open(QIODevice::WriteOnly)) {
            *error = QStringLiteral("cannot write %1: %2").arg(path, file.errorString());
            return false;
        }
        const QByteArray format = QFileInfo(picture.fileName).suffix().toUpper().toLatin1();
        if (!picture.image.save(&file, format.constData()) || !file.commit()) {
            *error = QStringLiteral("cannot write %1: %2").arg(path, file.errorString());
            return false;
        }
    }
    return true;
}

bool writeMenuIcons(const QString& dir, const QString& name, QString* error) {
    for (int size : menuIconSizes) {
        const QString folder = QStringLiteral("%1/%2x%2/apps").arg(dir).arg(size);
        const QString path = QStringLiteral("%1/%2.png").arg(folder, name);
        QSaveFile file(path);
        if (!QDir().mkpath(folder) || !file.open(QIODevice::WriteOnly) ||
            !windowIcon(size).convertToFormat(QImage::Format_ARGB32).save(&file, "PNG") ||
            !file.commit()) {
            *error = QStringLiteral("cannot write %1: %2").arg(path, file.errorString());
            return false;
        }
    }
    return true;
}

} // namespace artgen
