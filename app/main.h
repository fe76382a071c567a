#pragma once
#include "app/controls.h"
#include "app/start_files.h"
#include "content/content_store.h"
#include "platform/clock.h"
#include "platform/sound.h"
#include "session/trainer.h"

#include <QLineEdit>
#include <QTimer>
#include <QWidget>

#include <array>
#include <functional>

class TForm2;
class TForm3;
class TForm4;
class TForm6;

// The main window: a fixed 800 x 600 picture with the session's controls on it. It draws what its
// trainer (the session's one owner) tells it to and hands the learner's presses to it.
class TForm1 : public QWidget, public session::TrainerView {
    Q_OBJECT
public:
    // Creation reads the start files (app::readStartFiles), prepares the window and starts the
    // session; throws AssetError when a bitmap of the installation cannot be loaded.
    TForm1(platform::Sound& sound, platform::Clock& clock);
    ~TForm1() override;

    void attachWindows(TForm2* messageWindow, TForm3* resultsWindow, TForm4* settingsWindow,
                       TForm6* splash);

    session::Trainer& trainer() { return trainer_; }
    const session::SessionState& state() const { return trainer_.state(); }
    const content::ContentStore& content() const { return trainer_.content(); }

    // How a failure is told to the learner; a dialog unless replaced (tests record it).
    std::function<void(const QString&)> reportError;
    void report(QWidget* over, const QString& text);

    // What the trainer asks to be drawn.
    void showModeTab(session::SessionMode mode) override;
    void showStepAndChapter() override;
    void showChapterTitle() override;
    void showCounter() override;
    void showFunctionKeyCaptions(bool shown) override;
    void showSentenceLabel(const records::StoredLabel& label) override;
    int sentenceLineHeight(const records::FontSpec& font) override;
    void showTranslation(int id) override;
    void showPoints(int id) override;
    void hideNotes() override;
    void showStudyLines() override;
    void showOverlay(session::Overlay overlay) override;
    void showAnswerMark() override;
    void hideAnswerMark() override;
    void showNavigationButtons(session::EnabledButtons enabled) override;
    void showReplayIndicators(int used) override;
    std::string answerLineText() const override;
    void showAnswerLine() override;
    void hideAnswerLine() override;
    void focusAnswerLine() override;
    void setAnswerLine(const std::string& cp932) override;
    void appendFullStop() override;
    void markFirstDeparture(const std::string& sentence) override;
    void showMessage(session::MessageId id) override;
    void bringMessageForward() override;
    void openResults() override;
    void openSettings() override;
    void startAdvance() override;
    void stopAdvance() override;
    void reportSaveFault(const platform::FileFault& fault) override;
    void reportResetFault(const std::string& path, const std::string& reason) override;

    // Event handlers.
    void Timer1Timer();
    void Timer2Timer();
    void FormActivate();
    // A later start in this folder asks for the window: back from the taskbar, raised and
    // activated, which hands the focus to an open child window as any activation does.
    void comeToFront();
    void Lbl_gakusyuuClick(AutoLabel* sender);
    void Lbl_gakusyuuMouseDown(AutoLabel* sender, Qt::MouseButton button);
    void Lbl_gakusyuuMouseUp(AutoLabel* sender, Qt::MouseButton button);
    void img_leftMouseDown(PictureButton* sender, Qt::MouseButton button,
                           Qt::KeyboardModifiers shift, QPoint pos);
    void img_leftMouseUp(PictureButton* sender, Qt::MouseButton button,
                         Qt::KeyboardModifiers shift, QPoint pos);
    void img_rightClick() {}
    void img_checkClick();
    void img_deleteClick();
    void img_settingClick();
    void img_exitClick();
    void btn_s_upClick();
    void btn_s_downClick();
    void btn_c_upClick();
    void btn_c_downClick();
    void Edit1KeyPress();
    // Returns whether the key was one of the window's; the key goes on to the focused control.
    bool FormKeyDown(session::Key key, Qt::KeyboardModifiers shift);

    // Controls, bottom to top.
    PictureBox* Image1;
    FlatButton* btn_s_up;
    FlatButton* btn_s_down;
    FlatButton* btn_c_up;
    FlatButton* btn_c_down;
    PictureButton* img_left;
    PictureButton* img_right;
    PictureButton* img_start;
    PictureButton* img_giveup;
    PictureButton* img_repeat;
    PictureButton* img_check;
    PictureButton* img_delete;
    PictureButton* img_setting;
    PictureButton* img_exit;
    AutoLabel* Lbl_gakusyuu;
    AutoLabel* Lbl_testgakusyuu;
    AutoLabel* Lbl_test;
    AutoLabel* Lbl_seiseki;
    AutoLabel* lbl_step;
    AutoLabel* lbl_chapter;
    AutoLabel* Lbl_eibun;
    AutoLabel* Lbl_wabun;
    AutoLabel* Lbl_counter;
    PictureBox* Img_point;
    AutoLabel* Lbl_point;
    AutoLabel* Lbl_msg;
    AutoLabel* Lbl_seikai;
    AutoLabel* lbl_f1;
    AutoLabel* lbl_f2;
    AutoLabel* lbl_f3;
    AutoLabel* lbl_title;
    AutoLabel* lbl_point2;
    PictureBox* img_n1;
    PictureBox* img_n2;
    PictureBox* img_n3;
    AutoLabel* lbl_f4;
    AutoLabel* lbl_f5;
    AnswerLine* Edit1;
    QTimer Timer1;
    QTimer Timer2;

    using Bitmap = app::Bitmap;
    using enum app::Bitmap;
    const std::array<QImage, BitmapCount>& buttonBitmaps() const { return ButtonBitmaps; }

    using StartFiles = app::StartFiles;
    TForm1(platform::Sound& sound, platform::Clock& clock, StartFiles files);

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    static QFont toQFontForWindow();
    void createControls();
    void connectControls();
    AutoLabel* makeLabel(const QString& caption, const records::FontSpec& font, QPoint at,
                         bool centred = false);
    AutoLabel* makeHiddenLine(const records::FontSpec& font, QPoint at);
    void pressAndRelease(PictureButton* button, Qt::KeyboardModifiers shift);

    session::Trainer trainer_;
    std::array<QImage, BitmapCount> ButtonBitmaps;
    TForm2* messageWindow_ = nullptr;
    TForm3* resultsWindow_ = nullptr;
    TForm4* settingsWindow_ = nullptr;
    TForm6* splash_ = nullptr;
    bool centredOnce_ = false;
};
