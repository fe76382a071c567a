#pragma once
#include "records/font_spec.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QFontComboBox;
class QLabel;
class QPushButton;

namespace app {

// The font-choosing dialog of the settings window: face, style, size in points, colour,
// underline and strike-out, with a sample. It holds one font: its own at first, then the last
// confirmed choice, and opens on that font; a cancel leaves it as it was. A face left as it was
// keeps its stored name (which may name a face this machine lacks).
class FontDialog : public QDialog {
    Q_OBJECT
public:
    // The dialog's own font to begin with.
    FontDialog(QWidget* parent, const records::FontSpec& initial);

    const records::FontSpec& chosenFont() const { return font_; }
    // Shows the dialog on the font it holds and returns at once; accepted() or rejected() follows.
    void openOnFont();
    void accept() override;

    // The sixteen named colours and the window-text colour, in the order the colour box lists them.
    static int colourCount();

    QFontComboBox* faceBox;
    QComboBox* styleBox;
    QComboBox* sizeBox; // points; any whole size may be typed
    QComboBox* colourBox;
    QCheckBox* strikeOutBox;
    QCheckBox* underlineBox;
    QLabel* sample;
    QPushButton* okButton;
    QPushButton* cancelButton;

private:
    void showFont(const records::FontSpec& font);
    records::FontSpec fontOfControls() const;
    void selectColour(records::StoredColor color);
    void updateSample();

    records::FontSpec font_;
    QString shownFace_;
};

} // namespace app
