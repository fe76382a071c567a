#include "app/font_dialog.h"

#include "app/controls.h"
#include "records/font_size.h"
#include "platform/cp932.h"
#include "platform_qt/face_map.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFontComboBox>
#include <QFontDatabase>
#include <QFontInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QIntValidator>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QStringListModel>
#include <QVBoxLayout>

namespace app {
namespace {

using records::rgb;

struct NamedColour {
    const char16_t* name;
    records::StoredColor color;
};

// The named colours a stored font writes by name, and the desktop's text colour.
constexpr NamedColour namedColours[] = {
    {u"ウィンドウの文字色", records::windowTextColor},
    {u"黒", rgb(0, 0, 0)},           {u"栗色", rgb(128, 0, 0)},
    {u"緑", rgb(0, 128, 0)},         {u"オリーブ", rgb(128, 128, 0)},
    {u"濃紺", rgb(0, 0, 128)},       {u"紫", rgb(128, 0, 128)},
    {u"青緑", rgb(0, 128, 128)},     {u"灰色", rgb(128, 128, 128)},
    {u"銀色", rgb(192, 192, 192)},   {u"赤", rgb(255, 0, 0)},
    {u"ライム", rgb(0, 255, 0)},     {u"黄", rgb(255, 255, 0)},
    {u"青", rgb(0, 0, 255)},         {u"赤紫", rgb(255, 0, 255)},
    {u"水色", rgb(0, 255, 255)},     {u"白", rgb(255, 255, 255)},
};

struct NamedStyle {
    const char16_t* name;
    std::uint8_t bits;
};
constexpr NamedStyle styles[] = {
    {u"標準", 0},
    {u"斜体", records::Italic},
    {u"太字", records::Bold},
    {u"太字 斜体", records::Bold | records::Italic},
};

constexpr int sizes[] = {8, 9, 10, 11, 12, 14, 16, 18, 20, 22, 24, 26, 28, 36, 48, 72};
constexpr int largestSize = 999;
constexpr int largestSamplePixels = 40;
constexpr std::uint8_t styleBits = records::Bold | records::Italic;
constexpr int shiftJisCharset = 128;
constexpr int ansiCharset = 0;

bool storable(const QString& face) { return platform::utf8ToCp932(face.toStdString()).has_value(); }

// The face name goes into fs.dat as code page 932: a face whose name has no such form could not
// be found again after a restart, so it is not offered.
void offerStorableFacesOnly(QFontComboBox* box) {
    auto* model = qobject_cast<QStringListModel*>(box->model());
    if (!model)
        return;
    QStringList faces = model->stringList();
    faces.removeIf([](const QString& face) { return !storable(face); });
    model->setStringList(faces);
}

QIcon swatch(records::StoredColor color) {
    QPixmap pixmap(24, 12);
    pixmap.fill(toQColor(color));
    QPainter(&pixmap).drawRect(0, 0, pixmap.width() - 1, pixmap.height() - 1);
    return QIcon(pixmap);
}

} // namespace

int FontDialog::colourCount() { return static_cast<int>(std::size(namedColours)); }

FontDialog::FontDialog(QWidget* parent, const records::FontSpec& initial)
    : QDialog(parent, Qt::Dialog | Qt::WindowStaysOnTopHint), font_(initial) {
    setWindowTitle(QStringLiteral("フォント"));

    faceBox = new QFontComboBox(this);
    faceBox->setEditable(false);
    offerStorableFacesOnly(faceBox);
    styleBox = new QComboBox(this);
    for (const NamedStyle& style : styles)
        styleBox->addItem(QString::fromUtf16(style.name), style.bits);
    sizeBox = new QComboBox(this);
    sizeBox->setEditable(true);
    sizeBox->setInsertPolicy(QComboBox::NoInsert);
    sizeBox->setValidator(new QIntValidator(1, largestSize, sizeBox));
    for (int size : sizes)
        sizeBox->addItem(QString::number(size));

    auto* effects = new QGroupBox(QStringLiteral("文字飾り"), this);
    strikeOutBox = new QCheckBox(QStringLiteral("取り消し線(&K)"), effects);
    underlineBox = new QCheckBox(QStringLiteral("下線(&U)"), effects);
    colourBox = new QComboBox(effects);
    for (const NamedColour& colour : namedColours)
        colourBox->addItem(swatch(colour.color), QString::fromUtf16(colour.name), colour.color);
    auto* effectsLayout = new QVBoxLayout(effects);
    effectsLayout->addWidget(strikeOutBox);
    effectsLayout->addWidget(underlineBox);
    auto* colourCaption = new QLabel(QStringLiteral("色(&C):"), effects);
    colourCaption->setBuddy(colourBox);
    effectsLayout->addWidget(colourCaption);
    effectsLayout->addWidget(colourBox);

    auto* sampleFrame = new QGroupBox(QStringLiteral("サンプル"), this);
    sample = new QLabel(QStringLiteral("AaBbYyZz あア亜"), sampleFrame);
    sample->setAlignment(Qt::AlignCenter);
    sample->setMinimumSize(220, 70);
    (new QVBoxLayout(sampleFrame))->addWidget(sample);

    auto* buttons = new QDialogButtonBox(this);
    okButton = buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    cancelButton = buttons->addButton(QStringLiteral("キャンセル"), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &FontDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &FontDialog::reject);

    auto* grid = new QGridLayout(this);
    const auto caption = [this](const char* text, QWidget* buddy) {
        auto* label = new QLabel(QString::fromUtf8(text), this);
        label->setBuddy(buddy);
        return label;
    };
    grid->addWidget(caption("フォント名(&F):", faceBox), 0, 0);
    grid->addWidget(caption("スタイル(&Y):", styleBox), 0, 1);
    grid->addWidget(caption("サイズ(&S):", sizeBox), 0, 2);
    grid->addWidget(faceBox, 1, 0);
    grid->addWidget(styleBox, 1, 1);
    grid->addWidget(sizeBox, 1, 2);
    grid->addWidget(effects, 2, 0);
    grid->addWidget(sampleFrame, 2, 1, 1, 2);
    grid->addWidget(buttons, 3, 0, 1, 3);

    connect(faceBox, &QComboBox::currentTextChanged, this, &FontDialog::updateSample);
    connect(styleBox, &QComboBox::currentIndexChanged, this, &FontDialog::updateSample);
    connect(sizeBox, &QComboBox::currentTextChanged, this, &FontDialog::updateSample);
    connect(colourBox, &QComboBox::currentIndexChanged, this, &FontDialog::updateSample);
    connect(strikeOutBox, &QCheckBox::toggled, this, &FontDialog::updateSample);
    connect(underlineBox, &QCheckBox::toggled, this, &FontDialog::updateSample);
}

void FontDialog::openOnFont() {
    showFont(font_);
    open();
}

void FontDialog::accept() {
    font_ = fontOfControls();
    QDialog::accept();
}

void FontDialog::showFont(const records::FontSpec& font) {
    // The face drawn, under the name the list knows it by (which may be a localised one).
    const QString installed = platform::installedFaceFor(fromCp932(font.name));
    int face = faceBox->findText(installed, Qt::MatchFixedString);
    if (face < 0)
        face = faceBox->findText(QFontInfo(QFont(installed)).family(), Qt::MatchFixedString);
    if (face >= 0)
        faceBox->setCurrentIndex(face);
    shownFace_ = faceBox->currentText();
    styleBox->setCurrentIndex(std::max(0, styleBox->findData(font.style & styleBits)));
    sizeBox->setCurrentText(QString::number(font.size));
    strikeOutBox->setChecked(font.style & records::StrikeOut);
    underlineBox->setChecked(font.style & records::Underline);
    selectColour(font.color);
    updateSample();
}

void FontDialog::selectColour(records::StoredColor color) {
    int index = colourBox->findData(color);
    if (index < 0) { // a colour the list does not name stays choosable as it is
        colourBox->addItem(swatch(color), QStringLiteral("その他"), color);
        index = colourBox->count() - 1;
    }
    colourBox->setCurrentIndex(index);
}

records::FontSpec FontDialog::fontOfControls() const {
    records::FontSpec font = font_;
    const QString face = faceBox->currentText();
    if (face != shownFace_) {
        if (const auto name = platform::utf8ToCp932(face.toStdString())) {
            font.name = *name;
            font.charset = QFontDatabase::writingSystems(face).contains(QFontDatabase::Japanese)
                               ? shiftJisCharset
                               : ansiCharset;
        }
    }
    font.style = static_cast<std::uint8_t>(styleBox->currentData().toInt());
    if (strikeOutBox->isChecked())
        font.style |= records::StrikeOut;
    if (underlineBox->isChecked())
        font.style |= records::Underline;
    bool isNumber = false;
    const int points = sizeBox->currentText().toInt(&isNumber);
    if (isNumber && points >= 1 && points <= largestSize) {
        font.size = points;
        font.height = -records::pixelsForPoints(points, screenPpi());
    }
    font.color = static_cast<records::StoredColor>(colourBox->currentData().toInt());
    return font;
}

void FontDialog::updateSample() {
    records::FontSpec shown = fontOfControls();
    shown.height = -std::min(shown.pixels(), largestSamplePixels);
    sample->setFont(toQFont(shown));
    QPalette pal = sample->palette();
    pal.setColor(QPalette::WindowText, toQColor(shown.color));
    sample->setPalette(pal);
}

} // namespace app
