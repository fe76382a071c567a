#include "art.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

namespace artgen {
namespace {

// An open book seen from the front: two curved pages meeting at the spine, with ruled lines.
void paintOpenBook(QPainter& p, const QRectF& r, const QColor& paper, const QColor& lines) {
    const qreal cx = r.center().x();
    const qreal w = r.width() / 2;
    const qreal t = r.top();
    const qreal b = r.bottom();
    const qreal h = r.height();
    for (const qreal side : {-1.0, 1.0}) {
        const qreal spine = cx + side * w * 0.03;
        const qreal edge = cx + side * w;
        QPainterPath page;
        page.moveTo(spine, t + h * 0.14);
        page.cubicTo(cx + side * w * 0.35, t - h * 0.04, cx + side * w * 0.75, t, edge,
                     t + h * 0.1);
        page.lineTo(edge, b - h * 0.12);
        page.cubicTo(cx + side * w * 0.75, b - h * 0.22, cx + side * w * 0.35, b - h * 0.2, spine,
                     b);
        page.closeSubpath();
        p.setPen(Qt::NoPen);
        p.setBrush(paper);
        p.drawPath(page);

        p.setPen(QPen(lines, std::max<qreal>(1.0, h / 40), Qt::SolidLine, Qt::RoundCap));
        p.setBrush(Qt::NoBrush);
        for (int i = 1; i <= 4; ++i) {
            const qreal dy = h * (0.12 + 0.16 * i);
            const qreal x0 = cx + side * w * 0.18;
            const qreal x1 = cx + side * w * 0.82;
            QPainterPath line;
            line.moveTo(x0, t + dy);
            line.quadTo((x0 + x1) / 2, t + dy - h * 0.07, x1, t + dy - h * 0.03);
            p.drawPath(line);
        }
    }
}

} // namespace

QImage pointFrame() {
    QImage image = transparentLayer(QSize(370, 70));
    QPainter p(&image);
    prepare(p);

    // The card: paler than the page it lies on, with a hairline border.
    const QRectF card(0.5, 6.5, 369, 63);
    p.setPen(QColor(192, 182, 142));
    p.setBrush(QColor(252, 250, 240));
    p.drawRoundedRect(card, 6, 6);

    // Ruled lines just under the two lines of commentary (written at y 23 and 45, 15 px).
    p.setPen(QPen(QColor(222, 214, 182), 1, Qt::DotLine));
    p.drawLine(QPointF(17, 41.5), QPointF(358, 41.5));
    p.drawLine(QPointF(17, 63.5), QPointF(358, 63.5));

    // A green stripe in the left margin, and the tag sitting on the top edge, both clear of x 17.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(120, 176, 96));
    p.drawRoundedRect(QRectF(7, 24, 3, 38), 1.5, 1.5);

    const QRectF tag(7, 0, 44, 15);
    p.setBrush(colour::panel);
    p.drawRoundedRect(tag, 4, 4);
    drawCentredText(p, tag.center(), QStringLiteral("Point"), latinFont(10), Qt::white);
    p.end();
    return image;
}

QImage replayCounter(int digit) {
    QImage image = transparentLayer(QSize(30, 30));
    QPainter p(&image);
    prepare(p);
    const QRectF square(0, 0, 30, 30);
    p.setPen(Qt::NoPen);
    p.setBrush(colour::rim);
    p.drawRoundedRect(square, 4, 4);
    QLinearGradient fill(0, 1, 0, 29);
    fill.setColorAt(0, QColor(40, 160, 40));
    fill.setColorAt(1, QColor(0, 112, 0));
    p.setBrush(fill);
    p.drawRoundedRect(square.adjusted(1, 1, -1, -1), 3, 3);
    drawInkCentredText(p, QPointF(15, 15), QString::number(digit), latinFont(19), Qt::white);
    p.end();
    return image;
}

QImage messagePanel() {
    // Flat, to the pixel: the window lays text and buttons on it at fixed places.
    QImage image = canvas(QSize(330, 110), QImage::Format_ARGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    p.fillRect(QRect(5, 5, 320, 100), colour::messageBlue);
    p.end();
    return image;
}

QImage splash() {
    const QSize size(476, 359);
    QImage image = canvas(size, QImage::Format_ARGB32_Premultiplied);
    const QRect whole(QPoint(), size);
    QPainter p(&image);
    prepare(p);

    QLinearGradient sky(0, 0, 0, size.height());
    sky.setColorAt(0, QColor(44, 160, 52));
    sky.setColorAt(1, QColor(0, 92, 0));
    p.fillRect(whole, sky);

    QRadialGradient glow(QPointF(238, 110), 260);
    glow.setColorAt(0, QColor(255, 255, 255, 60));
    glow.setColorAt(1, QColor(255, 255, 255, 0));
    p.fillRect(whole, glow);

    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 14));
    p.drawEllipse(QPointF(440, 300), 150, 150);
    p.drawEllipse(QPointF(30, 30), 95, 95);
    p.setBrush(QColor(255, 255, 255, 18));
    p.drawEllipse(QPointF(410, 62), 26, 26);
    p.drawEllipse(QPointF(62, 262), 14, 14);

    paintOpenBook(p, QRectF(180, 46, 116, 76), Qt::white, QColor(0, 120, 0, 110));

    const QString title = QStringLiteral("Yomirin!");
    const QFont titleFont = fitted(latinFont(64), title, 380);
    drawCentredText(p, QPointF(240, 182), title, titleFont, QColor(0, 50, 0, 110));
    drawCentredText(p, QPointF(238, 179), title, titleFont, Qt::white);

    const QString level = QStringLiteral("ビギナー編");
    const QFont levelFont = japaneseFont(21, true);
    const qreal pillWidth = inkWidth(levelFont, level) + 44;
    const QRectF pill(238 - pillWidth / 2, 222, pillWidth, 34);
    p.setBrush(QColor(0, 60, 0, 70));
    p.drawRoundedRect(pill.translated(0, 2), 17, 17);
    p.setBrush(colour::content);
    p.drawRoundedRect(pill, 17, 17);
    drawInkCentredText(p, pill.center(), level, levelFont, QColor(0, 96, 0));

    // The foot of the picture repeats the window's beige, with the course's promise on it.
    const QRectF foot(0, 300, size.width(), size.height() - 300);
    p.fillRect(foot, colour::stepBand);
    p.fillRect(QRectF(0, 300, size.width(), 3), QColor(0, 78, 0));
    drawInkCentredText(p, QPointF(238, 331), QStringLiteral("英語を読む・聞く・書く"),
                       japaneseFont(19, true), QColor(0, 80, 0));
    p.end();
    return image.convertToFormat(QImage::Format_ARGB32);
}

QImage windowIcon(int size) {
    QImage image = transparentLayer(QSize(size, size));
    QPainter p(&image);
    prepare(p);
    // Drawn on a 64-unit grid: scaling the painter keeps every size sharp, not a blown-up bitmap.
    p.scale(size / 64.0, size / 64.0);
    const QRectF tile(1, 1, 62, 62);
    p.setPen(Qt::NoPen);
    p.setBrush(colour::rim);
    p.drawRoundedRect(tile, 13, 13);
    QLinearGradient fill(0, 2, 0, 62);
    fill.setColorAt(0, QColor(52, 170, 52));
    fill.setColorAt(1, QColor(0, 104, 0));
    p.setBrush(fill);
    p.drawRoundedRect(tile.adjusted(1.5, 1.5, -1.5, -1.5), 11.5, 11.5);

    drawCentredText(p, QPointF(32, 23), QStringLiteral("Y"), latinFont(30), Qt::white);
    paintOpenBook(p, QRectF(12, 38, 40, 17), QColor(250, 248, 236), QColor(0, 110, 0, 0));
    p.end();
    return image;
}

} // namespace artgen
