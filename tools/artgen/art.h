#pragma once
// The program's artwork, drawn rather than stored: every picture is a function of this code, so a
// change of colour or layout is a rebuild, not a trip to an image editor.
#include <QColor>
#include <QFont>
#include <QImage>
#include <QRect>
#include <QString>

#include <functional>
#include <vector>

class QPainter;

namespace artgen {

// ---- palette shared by the window's bands and the pictures drawn on them ----
namespace colour {
inline const QColor modeBand{0, 110, 0};
inline const QColor stepBand{205, 198, 167};
inline const QColor content{225, 221, 202};
inline const QColor panel{0, 115, 0};
inline const QColor sidePanel{0, 102, 0};
inline const QColor messageBlue{0, 73, 148};

// Button faces are a lighter cousin of the content beige, so buttons read as part of the page.
inline const QColor faceTop{253, 251, 240};
inline const QColor faceBottom{226, 220, 192};
inline const QColor pressedTop{226, 220, 194};
inline const QColor pressedBottom{205, 198, 167};
inline const QColor rim{0, 78, 0};
inline const QColor ink{0, 92, 0};
} // namespace colour

inline constexpr int windowWidth = 800;
inline constexpr int windowHeight = 600;

// ---- shared drawing helpers (style.cpp) ----
// Disabled is the raised button greyed out; its shadow stays a shadow, only fainter.
enum class Look { Raised, Pressed, Disabled };

QFont latinFont(qreal pixelSize, bool bold = true);
QFont japaneseFont(qreal pixelSize, bool bold = false);
// Empty when both families are installed; otherwise the missing ones, for the error message.
QString missingFontFamilies();

// The pictures are drawn in the window's pixels; at a drawing scale of 2 each one is made with
// twice as many pixels a side (a device pixel ratio of 2), sharp where the desktop doubles the
// window. Everything drawn inside a DrawingScale is at its scale.
int drawingScale();
class DrawingScale {
public:
    explicit DrawingScale(int scale);
    ~DrawingScale();
    DrawingScale(const DrawingScale&) = delete;
    DrawingScale& operator=(const DrawingScale&) = delete;

private:
    int previous_;
};
// A picture of `size` window pixels at the drawing scale, not yet filled.
QImage canvas(QSize size, QImage::Format format);
// The rectangle of `image` that shows `place`, in the image's own pixels.
QRect inPixels(const QImage& image, const QRect& place);

QImage transparentLayer(QSize size);
void prepare(QPainter& p);
// Centres the ink of `text` horizontally and its capital height vertically on `centre`.
void drawCentredText(QPainter& p, QPointF centre, const QString& text, const QFont& font,
                     const QColor& colour);
// Centres the ink's bounding box on `centre`: for digits and Japanese, which have no capital
// height.
void drawInkCentredText(QPainter& p, QPointF centre, const QString& text, const QFont& font,
                        const QColor& colour);
// Largest pixel size, not above the font's own, at which the ink of `text` fits `maxWidth`.
QFont fitted(QFont font, const QString& text, qreal maxWidth);
qreal inkWidth(const QFont& font, const QString& text);
// The disabled look: grey, and squeezed towards a light mid-grey so it reads as unavailable.
QImage greyedOut(const QImage& layer);
// `layer` drawn over `backdrop`, as an opaque 24-bit image.
QImage flattened(const QImage& backdrop, const QImage& layer);

// ---- buttons (buttons.cpp): transparent layers of the button's own size ----
enum class Direction { Left, Right };
QImage arrowButton(Direction direction, Look look);
// The 65 x 27 text buttons under the counter.
QImage actionButton(const QString& caption, Look look);
// The 86 x 20 buttons on the side panels.
QImage sideButton(const QString& caption, Look look);

struct ButtonArt {
    QString stem; // file name without extension
    QRect place;  // where the window shows it, which is also where bg.bmp shows it pressed
    bool bitmap;  // a BMP with a greyed twin, or a transparent PNG
    std::function<QImage(Look)> paint;
};
const std::vector<ButtonArt>& buttons();

// ---- the window background (background.cpp) ----
// Bands, separators, labels and plates, without the pressed buttons.
QImage plainBackground();
// What bg.bmp holds: the plain background with every button drawn pressed at its place.
QImage background();

// ---- the other pictures (pictures.cpp) ----
QImage pointFrame();
QImage replayCounter(int digit);
QImage messagePanel();
QImage splash();
QImage windowIcon(int size = 64);
// The sizes a desktop menu and its launchers look for in the hicolor icon theme.
constexpr int menuIconSizes[] = {16, 24, 32, 48, 64, 128, 256};
// Writes <dir>/<n>x<n>/apps/<name>.png for every menu size.
bool writeMenuIcons(const QString& dir, const QString& name, QString* error);

// ---- the whole set (catalogue.cpp) ----
struct Picture {
    QString fileName;
    bool bitmap; // BMP into the program folder, otherwise into the resources (PNG, or BMP)
    QImage image;
};
// Every picture the window shows, and its twin at twice the size ("name@2x.ext"); the window
// icon has none, the menu icons come in their own sizes.
std::vector<Picture> allPictures();
// The twin's file name: "bg.bmp" gives "bg@2x.bmp".
QString doubleSizeName(const QString& fileName);
// Writes every picture; on failure returns false and says which file and why.
bool writeAll(const QString& bmpDir, const QString& resourceDir, QString* error);

} // namespace artgen
