#include "art.h"

#include <QFontDatabase>
#include <QFontMetricsF>
#include <QPainter>
#include <QStringList>

#include <algorithm>
#include <cmath>

namespace artgen {
namespace {

const QString latinFamily = QStringLiteral("DejaVu Sans");
const QString japaneseFamily = QStringLiteral("IPAPGothic");

QFont makeFont(const QString& family, qreal pixelSize, bool bold) {
    QFont f(family);
    f.setPixelSize(std::max(1, static_cast<int>(std::lround(pixelSize))));
    f.setBold(bold);
    f.setStyleStrategy(QFont::PreferAntialias);
    // Our pictures are fixed bitmaps: keep vertical hinting for crisp baselines, free widths.
    f.setHintingPreference(QFont::PreferVerticalHinting);
    return f;
}

} // namespace

QFont latinFont(qreal pixelSize, bool bold) {
    return makeFont(latinFamily, pixelSize, bold);
}

QFont japaneseFont(qreal pixelSize, bool bold) {
    return makeFont(japaneseFamily, pixelSize, bold);
}

QString missingFontFamilies() {
    const QStringList installed = QFontDatabase::families();
    QStringList missing;
    for (const QString& family : {latinFamily, japaneseFamily}) {
        if (!installed.contains(family, Qt::CaseInsensitive))
            missing << family;
    }
    return missing.join(QStringLiteral(", "));
}

namespace {
int currentScale = 1;
} // namespace

int drawingScale() { return currentScale; }

DrawingScale::DrawingScale(int scale) : previous_(currentScale) { currentScale = scale; }

DrawingScale::~DrawingScale() { currentScale = previous_; }

QImage canvas(QSize size, QImage::Format format) {
    QImage image(size * currentScale, format);
    image.setDevicePixelRatio(currentScale);
    return image;
}

QRect inPixels(const QImage& image, const QRect& place) {
    const int scale = qRound(image.devicePixelRatio());
    return QRect(place.topLeft() * scale, place.size() * scale);
}

QImage transparentLayer(QSize size) {
    QImage image = canvas(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

void prepare(QPainter& p) {
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
}

qreal inkWidth(const QFont& font, const QString& text) {
    return QFontMetricsF(font).tightBoundingRect(text).width();
}

QFont fitted(QFont font, const QString& text, qreal maxWidth) {
    while (font.pixelSize() > 6 && inkWidth(font, text) > maxWidth)
        font.setPixelSize(font.pixelSize() - 1);
    return font;
}

void drawCentredText(QPainter& p, QPointF centre, const QString& text, const QFont& font,
                     const QColor& colour) {
    const QFontMetricsF metrics(font);
    const QRectF ink = metrics.tightBoundingRect(text);
    // Whole-pixel origins keep small captions sharp instead of smeared over two pixel rows.
    const qreal x = std::round(centre.x() - (ink.left() + ink.width() / 2));
    const qreal baseline = std::round(centre.y() + metrics.capHeight() / 2);
    p.save();
    p.setFont(font);
    p.setPen(colour);
    p.drawText(QPointF(x, baseline), text);
    p.restore();
}

void drawInkCentredText(QPainter& p, QPointF centre, const QString& text, const QFont& font,
                        const QColor& colour) {
    const QRectF ink = QFontMetricsF(font).tightBoundingRect(text);
    const QPointF origin(std::round(centre.x() - ink.center().x()),
                         std::round(centre.y() - ink.center().y()));
    p.save();
    p.setFont(font);
    p.setPen(colour);
    p.drawText(origin, text);
    p.restore();
}

QImage greyedOut(const QImage& layer) {
    QImage image = layer.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const QRgb px = line[x];
            const double luma = 0.299 * qRed(px) + 0.587 * qGreen(px) + 0.114 * qBlue(px);
            // Contrast cut to 40 % around a light grey: dark ink stays legible, nothing pops.
            const int v =
                std::clamp(static_cast<int>(std::lround(172 + (luma - 172) * 0.4)), 0, 255);
            line[x] = qRgba(v, v, v, qAlpha(px));
        }
    }
    return image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

QImage flattened(const QImage& backdrop, const QImage& layer) {
    QImage canvas = backdrop.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    {
        QPainter p(&canvas);
        p.drawImage(0, 0, layer);
    }
    return canvas.convertToFormat(QImage::Format_RGB888);
}

} // namespace artgen
