#include "app/controls.h"

#include "records/font_size.h"
#include "app/text_literals.h"
#include "platform/cp932.h"
#include "platform_qt/face_map.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QTimer>

namespace app {
namespace {

// What the desktop's system colours look like here; only a few occur in practice.
QColor systemColorLook(int index) {
    switch (index) {
    case 5:  // window
        return Qt::white;
    case 15: // button face
        return QColor(240, 240, 240);
    case 16: // button shadow
    case 17: // grey text
        return QColor(128, 128, 128);
    case 13: // highlight
        return QColor(0, 120, 215);
    case 14: // highlight text
        return Qt::white;
    default: // window text and the other text colours
        return Qt::black;
    }
}

// Boxes and underlines the marked characters of a line of text whose first character starts at
// left; top and height are those of the text's line.
void paintMarks(QWidget& widget, const QString& text, int left, int top, int height,
                const std::vector<TextMark>& marks) {
    if (marks.empty())
        return;
    const QFontMetrics metrics(widget.font());
    const int blank = std::max(6, metrics.horizontalAdvance(QLatin1Char(' ')));
    const auto span = [&](int begin, int end) {
        const int from = left + metrics.horizontalAdvance(text.left(begin));
        const int to = left + metrics.horizontalAdvance(text.left(end));
        return std::pair{from, begin == end ? from + blank : to};
    };
    QPainter painter(&widget);
    painter.setPen(QPen(QColor(220, 0, 0), 2));
    painter.setBrush(Qt::NoBrush);
    for (const TextMark& mark : marks) {
        const auto [boxFrom, boxTo] = span(mark.boxBegin, mark.boxEnd);
        painter.drawRect(QRect(boxFrom, top + 1, boxTo - boxFrom, height - 4));
        const auto [lineFrom, lineTo] = span(mark.begin, mark.end);
        painter.drawLine(lineFrom, top + height - 1, lineTo, top + height - 1);
    }
}

} // namespace

QColor toQColor(records::StoredColor color) {
    const auto bits = static_cast<std::uint32_t>(color);
    if (bits & 0x80000000u)
        return systemColorLook(static_cast<int>(bits & 0xFFu));
    return QColor(static_cast<int>(bits & 0xFF), static_cast<int>((bits >> 8) & 0xFF),
                  static_cast<int>((bits >> 16) & 0xFF));
}

QString fromCp932(const std::string& bytes) {
    return QString::fromStdString(platform::cp932ToUtf8(bytes));
}

records::FontSpec gothicFont(int pixels, records::StoredColor color) {
    records::FontSpec stored;
    stored.name = platform::utf8ToCp932("ＭＳ Ｐゴシック").value_or(std::string());
    stored.charset = 128;
    stored.color = color;
    setFontPixels(stored, pixels, screenPpi());
    return stored;
}

int screenPpi() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    const int ppi = screen ? qRound(screen->logicalDotsPerInchY()) : 96;
    return ppi > 0 ? ppi : 96;
}

void switchOn(QTimer& timer) {
    if (!timer.isActive())
        timer.start();
}

void bringToFront(QWidget& window) {
    window.show();
    window.raise();
    window.activateWindow();
}

QFont toQFont(const records::FontSpec& stored) {
    QFont font(platform::installedFaceFor(fromCp932(stored.name)));
    font.setPixelSize(std::max(1, stored.pixels()));
    font.setBold(stored.style & records::Bold);
    font.setItalic(stored.style & records::Italic);
    font.setUnderline(stored.style & records::Underline);
    font.setStrikeOut(stored.style & records::StrikeOut);
    if (stored.pitch == "fpFixed")
        font.setFixedPitch(true);
    return font;
}

QFont baseFont() {
    records::FontSpec stored;
    stored.name = cp932("ＭＳ Ｐゴシック");
    stored.charset = 128;
    stored.height = -12;
    return toQFont(stored);
}

AutoLabel::AutoLabel(QWidget* parent, bool centred) : QLabel(parent) {
    setAlignment((centred ? Qt::AlignHCenter : Qt::AlignLeft) | Qt::AlignTop);
    setAutoFillBackground(false);
    setContentsMargins(0, 0, 0, 0);
    setMargin(0);
    setIndent(0);
    setTextFormat(Qt::PlainText);
    setFocusPolicy(Qt::NoFocus);
    // Measured when given a caption or font, or else as it first shows: the default font is
    // mostly replaced before anything is drawn, and measuring it would cost a font engine.
    takeFont(spec_);
}

void AutoLabel::fitToText() {
    const QFontMetrics metrics(font());
    resize(std::max(1, metrics.horizontalAdvance(text())), metrics.height());
    measured_ = true;
}

void AutoLabel::showEvent(QShowEvent* event) {
    // A label given neither caption nor font is measured as it first shows.
    if (!measured_)
        fitToText();
    QLabel::showEvent(event);
}

void AutoLabel::setCaption(const QString& text) {
    setText(text);
    fitToText();
    if (!marks_.empty())
        setMarks({}, {});
}

void AutoLabel::setMarks(std::vector<TextMark> marks, const QString& description) {
    marks_ = std::move(marks);
    setAccessibleDescription(description);
    update();
}

void AutoLabel::paintEvent(QPaintEvent* event) {
    QLabel::paintEvent(event);
    const int textWidth = QFontMetrics(font()).horizontalAdvance(text());
    const int left = (alignment() & Qt::AlignHCenter) ? (width() - textWidth) / 2 : 0;
    paintMarks(*this, text(), left, 0, QFontMetrics(font()).height(), marks_);
}

void AutoLabel::setFontSpec(const records::FontSpec& stored) {
    takeFont(stored);
    fitToText();
}

void AutoLabel::takeFont(const records::FontSpec& stored) {
    spec_ = stored;
    measured_ = false;
    setFont(toQFont(spec_));
    QPalette pal = palette();
    pal.setColor(QPalette::WindowText, toQColor(spec_.color));
    setPalette(pal);
}

void AutoLabel::setFontPixels(int pixels) {
    records::FontSpec stored = spec_;
    app::setFontPixels(stored, pixels, screenPpi());
    setFontSpec(stored);
}

void AutoLabel::setFontColor(records::StoredColor color) {
    spec_.color = color;
    QPalette pal = palette();
    pal.setColor(QPalette::WindowText, toQColor(color));
    setPalette(pal);
}

void AutoLabel::mousePressEvent(QMouseEvent* event) {
    emit mousePressed(this, event->button());
}

void AutoLabel::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit clicked(this);
    emit mouseReleased(this, event->button());
}

AnswerLine::AnswerLine(QWidget* parent) : QLineEdit(parent) {
    setAttribute(Qt::WA_InputMethodEnabled, false);
    setInputMethodHints(Qt::ImhLatinOnly | Qt::ImhNoPredictiveText | Qt::ImhNoAutoUppercase);
    connect(this, &QLineEdit::textChanged, this, [this] {
        if (!marks_.empty())
            setMarks({}, {});
    });
}

void AnswerLine::setMarks(std::vector<TextMark> marks, const QString& description) {
    marks_ = std::move(marks);
    setAccessibleDescription(description);
    update();
}

void AnswerLine::paintEvent(QPaintEvent* event) {
    QLineEdit::paintEvent(event);
    if (marks_.empty())
        return;
    // The text scrolls inside the line; the cursor's place tells where it starts now.
    const QRect cursor = cursorRect();
    const int left =
        cursor.center().x() - QFontMetrics(font()).horizontalAdvance(text().left(cursorPosition()));
    paintMarks(*this, text(), left, cursor.top(), cursor.height(), marks_);
}

// The input context asks the focused control whether it takes an input method each time the
// focus moves to it. A line edit answers from its read-only state alone, ignoring the widget's
// attribute (which setReadOnly and setEchoMode also switch back on), so the answer is given here.
QVariant AnswerLine::inputMethodQuery(Qt::InputMethodQuery query) const {
    if (query == Qt::ImEnabled)
        return false;
    return QLineEdit::inputMethodQuery(query);
}

void AnswerLine::setAnswerFont(const QFont& font) {
    if (isVisible()) {
        waitingFont_.reset();
        setFont(font);
    } else {
        waitingFont_ = font;
    }
}

void AnswerLine::showEvent(QShowEvent* event) {
    // Before the first paint, so the line never shows in the font it had.
    if (waitingFont_) {
        setFont(*waitingFont_);
        waitingFont_.reset();
    }
    QLineEdit::showEvent(event);
}

PictureBox::PictureBox(QWidget* parent) : QWidget(parent) {
    setFocusPolicy(Qt::NoFocus);
}

void PictureBox::setPicture(const QImage& image) {
    // An opaque picture draws as fast as it is; one with transparency is premultiplied once here.
    picture_ = image.format() == QImage::Format_RGB32
                   ? image
                   : image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    update();
}

void PictureBox::copyFrom(const QImage& source, int width, int height) {
    // The rectangle is in the window's pixels; a picture drawn for a scaled window has more.
    const qreal ratio = source.devicePixelRatio();
    const QSize pixels = (QSizeF(width, height) * ratio).toSize();
    // The whole of an opaque picture of the same size, or onto no picture yet: share it instead of
    // painting a copy.
    if (source.size() == pixels && (picture_.isNull() || picture_.size() == source.size()) &&
        !source.hasAlphaChannel() && source.format() == QImage::Format_RGB32) {
        picture_ = source;
        update();
        return;
    }
    if (picture_.width() < pixels.width() || picture_.height() < pixels.height()) {
        QImage grown(std::max(pixels.width(), picture_.width()),
                     std::max(pixels.height(), picture_.height()), QImage::Format_ARGB32_Premultiplied);
        grown.setDevicePixelRatio(ratio);
        grown.fill(Qt::transparent);
        QPainter(&grown).drawImage(0, 0, picture_);
        picture_ = grown;
    }
    if (source.hasAlphaChannel() && picture_.format() != QImage::Format_ARGB32_Premultiplied)
        picture_ = picture_.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    QPainter painter(&picture_);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.drawImage(QPointF(0, 0), source, QRectF(QPointF(0, 0), pixels));
    painter.end();
    update();
}

void PictureBox::setPaintPicture(bool on) {
    paintPicture_ = on;
    update();
}

void PictureBox::paintEvent(QPaintEvent*) {
    if (!paintPicture_ || picture_.isNull())
        return;
    QPainter painter(this);
    // Pictures drawn for twice the size on a window scaled by three are enlarged smoothly, not by
    // repeating every other pixel.
    if (picture_.devicePixelRatio() != devicePixelRatioF())
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(0, 0, picture_);
}

PictureButton::PictureButton(QWidget* parent) : PictureBox(parent) {
    setCursor(Qt::PointingHandCursor);
}

void PictureButton::mousePressEvent(QMouseEvent* event) {
    emit mousePressed(this, event->button(), event->modifiers(), event->position().toPoint());
}

void PictureButton::mouseDoubleClickEvent(QMouseEvent* event) {
    releaseClicks_ = false;
    emit mousePressed(this, event->button(), event->modifiers(), event->position().toPoint());
}

void PictureButton::mouseReleaseEvent(QMouseEvent* event) {
    const QPoint pos = event->position().toPoint();
    if (event->button() == Qt::LeftButton && rect().contains(pos) && releaseClicks_)
        emit clicked(this);
    releaseClicks_ = true;
    emit mouseReleased(this, event->button(), event->modifiers(), pos);
}

void PictureButton::pressAndRelease() {
    const QPoint middle = rect().center();
    emit mousePressed(this, Qt::LeftButton, Qt::NoModifier, middle);
    emit clicked(this);
    emit mouseReleased(this, Qt::LeftButton, Qt::NoModifier, middle);
}

FlatButton::FlatButton(const QString& caption, QWidget* parent, bool raised)
    : QToolButton(parent) {
    setText(caption);
    setAutoRaise(!raised);
    setFocusPolicy(Qt::NoFocus);
    setToolButtonStyle(Qt::ToolButtonTextOnly);
}

void FlatButton::setFontSpec(const records::FontSpec& stored) {
    spec_ = stored;
    applyFont();
}

void FlatButton::applyFont() {
    setFont(toQFont(spec_));
    QPalette pal = palette();
    pal.setColor(QPalette::ButtonText, toQColor(spec_.color));
    setPalette(pal);
}

} // namespace app
