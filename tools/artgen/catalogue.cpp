#include "art.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

#include <functional>

namespace artgen {

namespace {

// The set the window shows, drawn at the current drawing scale; `name` makes the file name.
void drawSet(std::vector<Picture>& all, const std::function<QString(const QString&)>& name) {
    const bool twin = drawingScale() > 1;
    const auto bmp = [&](const QString& stem, QImage image) {
        all.push_back(
            {name(stem + QStringLiteral(".bmp")), true, image.convertToFormat(QImage::Format_RGB888)});
    };
    const auto png = [&](const QString& stem, QImage image) {
        all.push_back({name(stem + QStringLiteral(".png")), false,
                       image.convertToFormat(QImage::Format_ARGB32)});
    };
    // An opaque picture shown while the program starts: stored as an uncompressed bitmap, read
    // as fast as memory is copied, where a PNG would cost the start a few milliseconds of inflating.
    // Its twin, four times the pixels, would swell the program by megabytes: it is a PNG.
    const auto opaque = [&](const QString& stem, QImage image) {
        if (twin)
            png(stem, image);
        else
            all.push_back({name(stem + QStringLiteral(".bmp")), false,
                           image.convertToFormat(QImage::Format_RGB888)});
    };

    const QImage plain = plainBackground();
    bmp(QStringLiteral("bg"), background());
    for (const ButtonArt& b : buttons()) {
        const QImage raised = b.paint(Look::Raised);
        if (b.bitmap) {
            // BMP has no transparency: the button is laid on the very pixels the window shows
            // round it, so its corners vanish into the background.
            const QImage backdrop = plain.copy(inPixels(plain, b.place));
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
    if (!twin)
        png(QStringLiteral("icon"), windowIcon());
}

} // namespace

QString doubleSizeName(const QString& fileName) {
    const qsizetype dot = fileName.lastIndexOf(u'.');
    return fileName.left(dot) + QStringLiteral("@2x") + fileName.mid(dot);
}

std::vector<Picture> allPictures() {
    std::vector<Picture> all;
    drawSet(all, [](const QString& file) { return file; });
    const DrawingScale twice(2);
    drawSet(all, doubleSizeName);
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
