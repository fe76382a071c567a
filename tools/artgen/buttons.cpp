#include "art.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace artgen {
namespace {

using Shape = std::function<QPainterPath(const QRectF&)>;
using Content = std::function<void(QPainter&, QPointF centre, Look)>;

struct BodyStyle {
    qreal margin; // free space round the raised body, so its shadow stays inside the picture
    qreal rimWidth;
    QPointF shadowOffset;
};

QPainterPath circle(const QRectF& r) {
    QPainterPath path;
    path.addEllipse(r);
    return path;
}

Shape rounded(qreal radius) {
    return [radius](const QRectF& r) {
        QPainterPath path;
        path.addRoundedRect(r, radius, radius);
        return path;
    };
}

// One drawing for every picture button. Raised: a cream face with a gloss and a drop shadow.
// Pressed: the body sits one pixel down-right, on top of where its shadow was, with a darker face
// and a shadow inside its upper-left edge, and the content follows it.
QImage paintButton(QSize size, const BodyStyle& style, const Shape& shape, Look look,
                   const Content& content) {
    const qreal m = style.margin;
    QRectF body(m, m, size.width() - 1 - 2 * m, size.height() - 1 - 2 * m);
    const bool pressed = look == Look::Pressed;
    if (pressed)
        body.translate(1, 1);

    QImage layer = transparentLayer(size);
    QPainter p(&layer);
    prepare(p);
    p.setPen(Qt::NoPen);
    if (!pressed) {
        const qreal strength = look == Look::Disabled ? 0.5 : 1.0;
        p.setBrush(QColor(0, 0, 0, qRound(40 * strength)));
        p.drawPath(shape(body.translated(style.shadowOffset * 1.5)));
        p.setBrush(QColor(0, 0, 0, qRound(55 * strength)));
        p.drawPath(shape(body.translated(style.shadowOffset)));
    }

    // The body on a layer of its own, so the disabled look can grey it without the shadow.
    QImage bodyLayer = transparentLayer(size);
    {
        QPainter b(&bodyLayer);
        prepare(b);
        b.setPen(Qt::NoPen);
        b.setBrush(colour::rim);
        b.drawPath(shape(body));

        const qreal w = style.rimWidth;
        const QRectF faceRect = body.adjusted(w, w, -w, -w);
        const QPainterPath face = shape(faceRect);
        QLinearGradient fill(faceRect.topLeft(), faceRect.bottomLeft());
        fill.setColorAt(0, pressed ? colour::pressedTop : colour::faceTop);
        fill.setColorAt(1, pressed ? colour::pressedBottom : colour::faceBottom);
        b.setBrush(fill);
        b.drawPath(face);

        b.save();
        b.setClipPath(face);
        if (pressed) {
            b.setBrush(QColor(0, 0, 0, 55));
            b.drawPath(face.subtracted(face.translated(1.2, 1.6)));
        } else {
            QLinearGradient gloss(faceRect.topLeft(),
                                  QPointF(faceRect.left(), faceRect.center().y()));
            gloss.setColorAt(0, QColor(255, 255, 255, 150));
            gloss.setColorAt(1, QColor(255, 255, 255, 0));
            b.setBrush(gloss);
            b.drawRect(QRectF(faceRect.topLeft(), QSizeF(faceRect.width(), faceRect.height() / 2)));
        }
        b.restore();
        content(b, faceRect.center(), look);
    }
    p.drawImage(0, 0, look == Look::Disabled ? greyedOut(bodyLayer) : bodyLayer);
    p.end();
    return layer;
}

QColor inkFor(Look look) {
    return look == Look::Pressed ? QColor(0, 76, 0) : colour::ink;
}

Content caption(const QString& text, QFont font, qreal maxWidth) {
    font = fitted(font, text, maxWidth);
    return [text, font](QPainter& p, QPointF centre, Look look) {
        // A faint light line under the letters reads as lettering pressed into the face.
        drawCentredText(p, centre + QPointF(0, 1), text, font, QColor(255, 255, 255, 140));
        drawCentredText(p, centre, text, font, inkFor(look));
    };
}

} // namespace

QImage arrowButton(Direction direction, Look look) {
    const auto arrow = [direction](QPainter& p, QPointF c, Look l) {
        // Drawn pointing right, mirrored about the centre for "previous": the light stays put.
        QPainterPath path;
        path.moveTo(12, 0);
        path.lineTo(-1, -12);
        path.lineTo(-1, -5);
        path.lineTo(-12, -5);
        path.lineTo(-12, 5);
        path.lineTo(-1, 5);
        path.lineTo(-1, 12);
        path.closeSubpath();
        p.save();
        p.translate(c);
        if (direction == Direction::Left)
            p.scale(-1, 1);
        QPen edge(inkFor(l), 2.5);
        edge.setJoinStyle(Qt::RoundJoin);
        p.setPen(edge);
        p.setBrush(inkFor(l));
        p.drawPath(path);
        p.restore();
    };
    return paintButton(QSize(60, 60), BodyStyle{2.5, 2.0, QPointF(1, 1.5)}, circle, look, arrow);
}

QImage actionButton(const QString& text, Look look) {
    return paintButton(QSize(65, 27), BodyStyle{0, 1.0, QPointF(1, 1)}, rounded(5), look,
                       caption(text, latinFont(11), 52));
}

QImage sideButton(const QString& text, Look look) {
    return paintButton(QSize(86, 20), BodyStyle{0, 1.0, QPointF(1, 1)}, rounded(4.5), look,
                       caption(text, latinFont(12), 70));
}

const std::vector<ButtonArt>& buttons() {
    static const std::vector<ButtonArt> all = [] {
        const auto arrow = [](Direction d) { return [d](Look l) { return arrowButton(d, l); }; };
        const auto action = [](QString t) { return [t](Look l) { return actionButton(t, l); }; };
        const auto side = [](QString t) { return [t](Look l) { return sideButton(t, l); }; };
        return std::vector<ButtonArt>{
            {QStringLiteral("l_button"), QRect(290, 447, 60, 60), true, arrow(Direction::Left)},
            {QStringLiteral("r_button"), QRect(451, 447, 60, 60), true, arrow(Direction::Right)},
            {QStringLiteral("start"), QRect(263, 537, 65, 27), true,
             action(QStringLiteral("START"))},
            {QStringLiteral("giveup"), QRect(367, 537, 65, 27), true,
             action(QStringLiteral("GIVE UP"))},
            {QStringLiteral("repeat"), QRect(471, 537, 65, 27), true,
             action(QStringLiteral("REPEAT"))},
            {QStringLiteral("check"), QRect(40, 465, 86, 20), false, side(QStringLiteral("Check"))},
            {QStringLiteral("delete"), QRect(40, 524, 86, 20), false,
             side(QStringLiteral("Delete"))},
            {QStringLiteral("setting"), QRect(673, 465, 86, 20), false,
             side(QStringLiteral("Setting"))},
            {QStringLiteral("exit"), QRect(673, 524, 86, 20), false, side(QStringLiteral("Exit"))},
        };
    }();
    return all;
}

} // namespace artgen
