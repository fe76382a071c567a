#include "art.h"

#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace artgen {
namespace {

// Band rows and the panel split, inclusive as the window code counts them.
constexpr int modeBandBottom = 30;
constexpr int stepBandBottom = 61;
constexpr int contentBottom = 410;
constexpr int leftPanelRight = 166;
constexpr int rightPanelLeft = 634;

// Between the tab captions the window writes on the top band.
constexpr int separatorColumns[] = {109, 199, 266};

void paintBands(QPainter& p) {
    p.fillRect(QRect(0, 0, windowWidth, modeBandBottom + 1), colour::modeBand);
    p.fillRect(QRect(0, modeBandBottom + 1, windowWidth, stepBandBottom - modeBandBottom),
               colour::stepBand);
    p.fillRect(QRect(0, stepBandBottom + 1, windowWidth, contentBottom - stepBandBottom),
               colour::content);
    const int panelTop = contentBottom + 1;
    const int panelHeight = windowHeight - panelTop;
    p.fillRect(QRect(0, panelTop, windowWidth, panelHeight), colour::panel);
    p.fillRect(QRect(0, panelTop, leftPanelRight + 1, panelHeight), colour::sidePanel);
    p.fillRect(QRect(rightPanelLeft, panelTop, windowWidth - rightPanelLeft, panelHeight),
               colour::sidePanel);
}

void paintModeBand(QPainter& p) {
    // Etched separators: a dark line with a light one beside it.
    for (int x : separatorColumns) {
        p.fillRect(QRect(x, 6, 1, 19), QColor(0, 78, 0));
        p.fillRect(QRect(x + 1, 6, 1, 19), QColor(64, 150, 64));
    }
    // "MODE" labels the tabs to its right: set on a darker plate, slightly letter-spaced, so it
    // is not taken for one more tab.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 88, 0));
    p.drawRoundedRect(QRectF(5, 7, 53, 17), 3, 3);
    const QString mode = QStringLiteral("MODE");
    QFont font = latinFont(11);
    font.setLetterSpacing(QFont::AbsoluteSpacing, 1.2);
    drawCentredText(p, QPointF(31.5, 15.5), mode, font, QColor(214, 236, 200));
}

// A label whose ink ends at `right`, on the baseline the window's numbers use.
void paintLabel(QPainter& p, const QString& text, int right) {
    const QFont font = latinFont(13);
    const QRectF ink = QFontMetricsF(font).tightBoundingRect(text);
    p.setFont(font);
    p.setPen(QColor(74, 64, 34));
    p.drawText(QPointF(right + 1 - ink.right(), 51), text);
}

void paintStepBand(QPainter& p) {
    paintLabel(p, QStringLiteral("Step"), 55);
    paintLabel(p, QStringLiteral("Chapter"), 149);

    // A shallow tray under the four chapter selector buttons.
    const QRectF tray(683.5, 32.5, 106, 27);
    p.setPen(QColor(176, 168, 134));
    p.setBrush(QColor(196, 189, 156));
    p.drawRoundedRect(tray, 4, 4);
    p.setPen(QColor(222, 216, 190));
    p.drawLine(QPointF(687, 60.5), QPointF(786, 60.5));
}

void paintCounterPlate(QPainter& p) {
    // Sunk into the panel: dark face, darker upper edge, a light lower edge.
    const QRectF plate(350.5, 447.5, 99, 60);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 140, 0));
    p.drawRoundedRect(plate.translated(0, 1), 7, 7);
    p.setBrush(QColor(0, 70, 0));
    p.drawRoundedRect(plate, 7, 7);
    QLinearGradient face(plate.topLeft(), plate.bottomLeft());
    face.setColorAt(0, QColor(0, 84, 0));
    face.setColorAt(1, QColor(0, 98, 0));
    p.setBrush(face);
    p.drawRoundedRect(plate.adjusted(1, 1.5, -1, -1), 6, 6);
}

} // namespace

QImage plainBackground() {
    QImage image = canvas(QSize(windowWidth, windowHeight), QImage::Format_ARGB32_Premultiplied);
    {
        QPainter p(&image);
        prepare(p);
        paintBands(p);
        paintModeBand(p);
        paintStepBand(p);
        paintCounterPlate(p);
    }
    return image.convertToFormat(QImage::Format_RGB888);
}

QImage background() {
    QImage image = plainBackground().convertToFormat(QImage::Format_ARGB32_Premultiplied);
    {
        QPainter p(&image);
        for (const ButtonArt& b : buttons())
            p.drawImage(b.place.topLeft(), b.paint(Look::Pressed));
    }
    return image.convertToFormat(QImage::Format_RGB888);
}

} // namespace artgen
