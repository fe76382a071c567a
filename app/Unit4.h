#pragma once
#include "app/controls.h"
#include "session/settings.h"

#include <QWidget>

class QCheckBox;
class QGroupBox;
class TForm1;

namespace app {
class FontDialog;
}

// The settings window: the reset, the clearings of the results and the checklist, the four
// display options, and the English sentence's font. The ticks take effect only with "実行";
// the two font buttons act at once.
class TForm4 : public QWidget {
    Q_OBJECT
public:
    explicit TForm4(TForm1& main);

    // Each time the window becomes active: no action ticked, the options as they stand.
    void FormActivate();
    void SpeedButton1Click(); // 実行
    void SpeedButton2Click(); // キャンセル
    void SpeedButton3Click(); // 標準フォント
    // フォント変更: opens FontDialog1 and returns at once; a confirmed choice goes to the sentence.
    void SpeedButton4Click();

    AutoLabel* Label1;
    QGroupBox* GroupBox1;
    QCheckBox* CheckBox1;
    QCheckBox* CheckBox3;
    QCheckBox* CheckBox2;
    AutoLabel* Label2;
    QGroupBox* GroupBox2;
    QCheckBox* CheckBox6;
    QCheckBox* CheckBox7;
    QCheckBox* CheckBox5;
    QCheckBox* CheckBox4;
    AutoLabel* Label3;
    QGroupBox* GroupBox3;
    FlatButton* SpeedButton3;
    FlatButton* SpeedButton4;
    FlatButton* SpeedButton1;
    FlatButton* SpeedButton2;
    // Made when フォント変更 first opens it.
    app::FontDialog* FontDialog1 = nullptr;

protected:
    bool event(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:

    void createControls();
    session::SettingsTicks ticks() const;
    void showTicks(const session::SettingsTicks& ticks);
    app::FontDialog& fontDialog();
    void applyChosenFont();
    void leave();

    TForm1& main_;
    // Coming back from the font dialog is not coming back from another window: the ticks stay.
    bool inFontDialog_ = false;
};
