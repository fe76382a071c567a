#pragma once
#include "app/controls.h"
#include "app/start_files.h"
#include "content/content_store.h"
#include "platform/clock.h"
#include "platform/replace_file.h"
#include "platform/sound.h"
#include "records/label_stream.h"
#include "session/checklist_edit.h"
#include "session/session_state.h"
#include "session/test_run.h"

#include <QLineEdit>
#include <QTimer>
#include <QWidget>

#include <array>
#include <functional>

class TForm2;
class TForm3;
class TForm4;
class TForm6;

// The main window: a fixed 800 x 600 picture with the session's controls on it. It owns the
// program-wide session state; the other windows reach it through this window.
class TForm1 : public QWidget {
    Q_OBJECT
public:
    // Creation reads the start files (app::readStartFiles), prepares the window and starts the
    // session; throws AssetError when a bitmap of the installation cannot be loaded.
    TForm1(platform::Sound& sound, platform::Clock& clock);
    ~TForm1() override;

    void attachWindows(TForm2* messageWindow, TForm3* resultsWindow, TForm4* settingsWindow,
                       TForm6* splash);

    session::SessionState& state() { return state_; }
    const content::ContentStore& content() const { return content_; }
    platform::Sound& sound() { return sound_; }
    platform::Clock& clock() { return clock_; }

    // Start-up and assets.
    void SetDefaultSentenceFont();
    void InitSession();
    // Reads the course text of the program folder; the window's creation takes it from the start
    // files.
    void ReadCourse();
    // Writes save.dat and then fs.dat; a failure is reported, leaves the old file whole and
    // gives false, and the caller then ends what it was doing.
    bool SaveState();
    void LoadState();
    void ClearResults(int chapter);
    // How a failed save is told to the learner; a dialog unless replaced (tests record it).
    std::function<void(const QString&)> reportError;
    // The file system saves go through; tests put in one that fails.
    platform::FileSystem* saveFileSystem = &platform::systemFileSystem();

    // Course text and sound.
    void ShowChapterTitle();
    void PlaySentenceVoice();
    void PlayChime();

    // Views and navigation.
    void ShowStudyView();
    void ShowTestStudyView();
    void ShowTestView();
    // The view of the mode; results mode keeps what is on show.
    void redrawCurrentView();
    void DisplayEnglish(int id);
    void DisplayJapanese(int id);
    void DisplayPoints(int id);
    // Hides the English sentence, its translation and its points.
    void HideSentence();
    void NextSentence();
    void PreviousSentence();
    void StartStudy();
    void StartTestStudy();
    void ShowCounter();
    void ShowStepAndChapter();
    void ShowReplayIndicators(int used);
    void BuildSentenceOrder();

    // Messages, test, checklist and records (filled in by their own units).
    void ShowOverlay(session::Overlay overlay);
    void ShowMessageWindow(session::MessageId id);
    void StartTest();
    void GiveUp();
    void Edit1KeyPress();
    void CheckTestStudyAnswer();
    void RecordAnswer();
    // Files the score of the finished test and saves; false when the save failed.
    bool RecordTestResult();
    void StartReview();
    void ShowAnswerMark();
    void AddToChecklist();
    void RemoveFromChecklist();

    // Buttons, tabs and keys.
    void SetNavigationButtons(session::EnabledButtons enabled);
    void HighlightModeTab(session::SessionMode mode);
    void ShowFunctionKeyCaptions(bool shown);

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
    // Returns whether the key was one of the window's; the key goes on to the focused control.
    bool FormKeyDown(int key, Qt::KeyboardModifiers shift);

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
    void pressNavigationButton(session::NavButton which);
    void applyChecklistEdit(const session::ChecklistEdit& edit);
    void showSentence();
    void moveToSlot(int slot);
    void changeStepOrChapter(int step, int chapter);
    void refuseInTest();
    // Whether a choice on the window goes ahead; in a test the learner is told it cannot.
    bool choiceActs();
    void openResultsWindow();
    void placeEdit1();
    void hideEdit1();
    std::string typedAnswer() const;
    bool loadSaveRecord();
    void loadSentenceFont();
    records::StoredLabel storedSentenceLabel() const;
    void applyStoredSentenceLabel(const records::StoredLabel& stored);

    platform::Sound& sound_;
    platform::Clock& clock_;
    session::SessionState state_;
    content::ContentStore content_;
    std::array<QImage, BitmapCount> ButtonBitmaps;
    TForm2* messageWindow_ = nullptr;
    TForm3* resultsWindow_ = nullptr;
    TForm4* settingsWindow_ = nullptr;
    TForm6* splash_ = nullptr;
    bool centredOnce_ = false;
};
