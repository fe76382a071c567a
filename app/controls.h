#pragma once
#include "records/font_size.h"
#include "records/font_spec.h"

#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>
#include <QWidget>

#include <optional>
#include <vector>

class QTimer;

namespace app {

QColor toQColor(records::StoredColor color);
QString fromCp932(const std::string& bytes);

// Sets the font's size from a pixel height at the screen's resolution.
using records::setFontPixels;

// The child windows' font: the proportional Gothic face at a pixel height and colour.
records::FontSpec gothicFont(int pixels, records::StoredColor color = records::windowTextColor);

// The resolution fonts are sized for: the primary screen's logical dots per inch.
int screenPpi();

// Switching on a timer that already runs does not restart its interval.
void switchOn(QTimer& timer);

// Shows a window above the others, active.
void bringToFront(QWidget& window);

// A difference marked on a control's text, in characters: [begin, end) underlined and
// [boxBegin, boxEnd) boxed, so that the mark reads without its colour. An empty range is a place
// between two characters, drawn a blank wide.
struct TextMark {
    int begin = 0;
    int end = 0;
    int boxBegin = 0;
    int boxEnd = 0;
    bool operator==(const TextMark&) const = default;
};

// A transparent label whose font is kept as a stored font and which, like a desktop label with
// automatic size, takes the size of its text whenever the text or the font changes; its width
// and height can be set afterwards (a width of 800 with centred text centres the line).
class AutoLabel : public QLabel {
    Q_OBJECT
public:
    explicit AutoLabel(QWidget* parent, bool centred = false);

    // A new caption drops the marks of the old one.
    void setCaption(const QString& text);
    QString caption() const { return text(); }
    // The marks on the caption and what a screen reader says of them (the accessible description).
    void setMarks(std::vector<TextMark> marks, const QString& description);
    const std::vector<TextMark>& marks() const { return marks_; }

    const records::FontSpec& fontSpec() const { return spec_; }
    void setFontSpec(const records::FontSpec& stored);
    // The font alone, measured with the label's first text or as it first shows: for a label that
    // is hidden until it is given its text, which then needs no font engine at start.
    void setFontSpecForText(const records::FontSpec& stored) { takeFont(stored); }
    void setFontPixels(int pixels);
    void setFontColor(records::StoredColor color);

    void setLeft(int x) { move(x, y()); }
    void setTop(int y) { move(x(), y); }
    void setWidth(int w) { resize(w, height()); }
    void setHeight(int h) { resize(width(), h); }

signals:
    void mousePressed(AutoLabel* sender, Qt::MouseButton button);
    void mouseReleased(AutoLabel* sender, Qt::MouseButton button);
    void clicked(AutoLabel* sender);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void fitToText();
    void takeFont(const records::FontSpec& stored);

    records::FontSpec spec_;
    bool measured_ = false;
    std::vector<TextMark> marks_;
};

// A picture control: a fixed-size picture into which rectangles of bitmaps are copied.
class PictureBox : public QWidget {
    Q_OBJECT
public:
    explicit PictureBox(QWidget* parent);

    void setPicture(const QImage& image);
    const QImage& picture() const { return picture_; }
    // Copies the rectangle (0, 0)-(width, height) of source onto the same place of the picture.
    void copyFrom(const QImage& source, int width, int height);

protected:
    void paintEvent(QPaintEvent* event) override;
    bool painted() const { return paintPicture_; }
    void setPaintPicture(bool on);

private:
    QImage picture_;
    bool paintPicture_ = true;
};

// A picture button is pressed by hiding it, so that the flat drawing of it in the background
// shows through. Hiding paints nothing but keeps the widget on screen, so the press that hid it
// still delivers its release, and its click, wherever the mouse is let go.
class PictureButton : public PictureBox {
    Q_OBJECT
public:
    explicit PictureButton(QWidget* parent);

    void hideForPress() { setPaintPicture(false); }
    void showAgain() { setPaintPicture(true); }
    bool isHiddenByPress() const { return !painted(); }
    // A left click in the middle, as assistive technology asks for one.
    void pressAndRelease();

signals:
    void mousePressed(PictureButton* sender, Qt::MouseButton button, Qt::KeyboardModifiers mods,
                      QPoint pos);
    void mouseReleased(PictureButton* sender, Qt::MouseButton button, Qt::KeyboardModifiers mods,
                       QPoint pos);
    // A left button released over the control it was pressed on; reported before the release.
    void clicked(PictureButton* sender);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    // The second press of a double-click presses again but gives no second click.
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    bool releaseClicks_ = true;
};

// A flat text button that never takes the keyboard focus.
class FlatButton : public QToolButton {
    Q_OBJECT
public:
    FlatButton(const QString& caption, QWidget* parent, bool raised = false);
    void setFontSpec(const records::FontSpec& stored);
    records::FontSpec& fontSpec() { return spec_; }
    void applyFont();

private:
    records::FontSpec spec_;
};

// The answer line. Taking on a font measures it, which costs a font engine of its own; the line
// is hidden at start and shows only in some views, so a font given while it is hidden is taken
// on as it shows.
// It takes English only: the input method stays out of it whatever state the learner left it in.
class AnswerLine : public QLineEdit {
    Q_OBJECT
public:
    explicit AnswerLine(QWidget* parent);
    void setAnswerFont(const QFont& font);
    using QLineEdit::inputMethodQuery;
    QVariant inputMethodQuery(Qt::InputMethodQuery query) const override;
    // Marks on the text and what a screen reader says of them; any change of the text drops them.
    void setMarks(std::vector<TextMark> marks, const QString& description);
    const std::vector<TextMark>& marks() const { return marks_; }

protected:
    void showEvent(QShowEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    std::optional<QFont> waitingFont_;
    std::vector<TextMark> marks_;
};

QFont toQFont(const records::FontSpec& stored);

// The face and size every window was designed with ("ＭＳ Ｐゴシック", 12 pixels), for whatever sets
// no font of its own.
QFont baseFont();

} // namespace app

// The windows use the controls by their plain names.
using app::AnswerLine;
using app::AutoLabel;
using app::FlatButton;
using app::PictureBox;
using app::PictureButton;
