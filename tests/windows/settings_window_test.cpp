#include "windows/window_fixture.h"

#include "app/font_dialog.h"
#include "records/font_size.h"
#include "app/messages.h"
#include "app/text_literals.h"
#include "platform/whole_file.h"
#include "records/save_record.h"
#include "session/saved_state.h"
#include "session/sentence_order.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFontComboBox>
#include <QGroupBox>
#include <QPushButton>

namespace {

using records::rgb;

// The settings window driven as a learner does: opened from the main window's picture, ticks
// clicked, "実行" and the other buttons pressed, and the font dialog filled in and confirmed.
class SettingsWindowTest : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        form1->Timer2.stop(); // the splash would take the activation
        form1->show();
        ASSERT_TRUE(becomesActive(form1.get()));
    }
    // Activation comes through the event queue.
    static bool becomesActive(QWidget* window) {
        return settles([window] { return QApplication::activeWindow() == window; });
    }
    void openSettings() {
        form1->img_settingClick();
        ASSERT_TRUE(becomesActive(form4.get()));
    }
    void tick(QCheckBox* box, bool on) {
        if (box->isChecked() != on)
            box->click();
    }
    void execute() { form4->SpeedButton1->click(); }
    session::SessionState& s() { return form1->trainer().arrange(); }
    app::FontDialog& dialog() { return *form4->FontDialog1; }
    void chooseInDialog(const char* face, const char* style, int points, const char* colour,
                        bool underline) {
        form4->SpeedButton4->click();
        ASSERT_TRUE(dialog().isVisible());
        const int faceAt = dialog().faceBox->findText(QString::fromUtf8(face));
        ASSERT_GE(faceAt, 0) << face;
        dialog().faceBox->setCurrentIndex(faceAt);
        dialog().styleBox->setCurrentIndex(dialog().styleBox->findText(QString::fromUtf8(style)));
        dialog().sizeBox->setCurrentText(QString::number(points));
        dialog().colourBox->setCurrentIndex(dialog().colourBox->findText(QString::fromUtf8(colour)));
        dialog().underlineBox->setChecked(underline);
    }
    const records::FontSpec& sentenceFont() { return form1->Lbl_eibun->fontSpec(); }
    std::string file(const char* name) {
        return platform::readWholeFile(dir.file(name)).value_or("missing");
    }
    // The bytes after a property's name in fs.dat.
    std::string valueOf(const std::string& property, std::size_t n) {
        const std::string stream = file("savedata/fs.dat");
        const std::string key = char(property.size()) + property;
        const auto at = stream.find(key);
        return at == std::string::npos ? std::string() : stream.substr(at + key.size(), n);
    }
    void fillSession() {
        s().step = 3;
        s().chapter = 5;
        s().sentence.checklist[0] = 17;
        s().results.scores[4][24] = 9;
        s().showTranslation = 0;
        s().sentence.randomOrder = 1;
        form1->trainer().arrange().showShortcuts = (1);
        form1->Lbl_gakusyuuClick(form1->Lbl_test);
    }
};

std::vector<QWidget*> tabOrderFrom(QWidget* first, int n) {
    std::vector<QWidget*> order{first};
    for (QWidget* w = first->nextInFocusChain(); w != first && int(order.size()) < n;
         w = w->nextInFocusChain())
        if (w->focusPolicy() & Qt::TabFocus)
            order.push_back(w);
    return order;
}

} // namespace

TEST_F(SettingsWindowTest, WindowAndControls) {
    EXPECT_EQ(form4->windowTitle(), QStringLiteral(" ◆ Setting"));
    EXPECT_EQ(form4->size(), QSize(397, 463));
    EXPECT_EQ(form4->minimumSize(), form4->maximumSize());
    EXPECT_TRUE(form4->windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_FALSE(form4->isVisible());
    struct Box {
        QCheckBox* box;
        const char* caption;
        QRect geometry;
    };
    const Box boxes[] = {
        {form4->CheckBox1, "初期状態に戻す", {48, 50, 129, 25}},
        {form4->CheckBox3, "チェックリストのクリア", {208, 50, 129, 25}},
        {form4->CheckBox2, "成績をクリアする", {48, 82, 129, 25}},
        {form4->CheckBox6, "和訳を表示する", {48, 186, 129, 17}},
        {form4->CheckBox7, "ポイントを表示する", {208, 184, 153, 21}},
        {form4->CheckBox5, "ショートカットの表示", {48, 214, 129, 25}},
        {form4->CheckBox4, "文順をランダムにする", {208, 214, 129, 25}},
    };
    for (const Box& b : boxes) {
        EXPECT_EQ(b.box->text(), QString::fromUtf8(b.caption));
        EXPECT_EQ(b.box->geometry(), b.geometry) << b.caption;
    }
    struct Button {
        FlatButton* button;
        const char* caption;
        QPoint clientPos;
    };
    const Button buttons[] = {
        {form4->SpeedButton3, "標準フォント", {82, 330}}, {form4->SpeedButton4, "フォント変更", {222, 330}},
        {form4->SpeedButton1, "実行", {82, 410}},         {form4->SpeedButton2, "キャンセル", {222, 410}},
    };
    for (const Button& b : buttons) {
        EXPECT_EQ(b.button->text(), QString::fromUtf8(b.caption));
        EXPECT_EQ(b.button->mapTo(form4.get(), QPoint(0, 0)), b.clientPos) << b.caption;
        EXPECT_EQ(b.button->size(), QSize(87, 22));
        EXPECT_EQ(b.button->focusPolicy(), Qt::NoFocus);
        EXPECT_FALSE(b.button->autoRaise()) << "raised";
    }
    EXPECT_EQ(form4->SpeedButton3->parentWidget(), form4->GroupBox3);
    EXPECT_TRUE(form4->GroupBox2->title().isEmpty());
    EXPECT_EQ(tabOrderFrom(form4->CheckBox1, 7),
              (std::vector<QWidget*>{form4->CheckBox1, form4->CheckBox2, form4->CheckBox3,
                                     form4->CheckBox4, form4->CheckBox5, form4->CheckBox6,
                                     form4->CheckBox7}));
}

TEST_F(SettingsWindowTest, OpeningShowsTheOptionsAndNoAction) {
    s().showPoint = 0;
    s().sentence.randomOrder = 1;
    openSettings();
    EXPECT_EQ(s().windowFocusTag, session::SettingsWindow);
    const bool expected[] = {false, false, false, true, false, true, false};
    QCheckBox* boxes[] = {form4->CheckBox1, form4->CheckBox2, form4->CheckBox3, form4->CheckBox4,
                          form4->CheckBox5, form4->CheckBox6, form4->CheckBox7};
    for (int i = 0; i < 7; ++i)
        EXPECT_EQ(boxes[i]->isChecked(), expected[i]) << "CheckBox" << i + 1;
    // The headings are measured as the window first shows, not when it is made.
    const QList<AutoLabel*> headings = form4->findChildren<AutoLabel*>();
    ASSERT_FALSE(headings.isEmpty());
    for (const AutoLabel* heading : headings) {
        const QFontMetrics metrics(heading->font());
        EXPECT_EQ(heading->size(), QSize(metrics.horizontalAdvance(heading->text()), metrics.height()))
            << heading->text().toStdString();
    }
}

TEST_F(SettingsWindowTest, TheResetReturnsToTheFirstStartAndRewritesBothFiles) {
    fillSession();
    ASSERT_TRUE(form1->trainer().save());
    openSettings();
    chooseInDialog("DejaVu Sans", "斜体", 20, "青", true);
    dialog().okButton->click();
    // The other boxes are not looked at beside the reset.
    for (QCheckBox* box : {form4->CheckBox1, form4->CheckBox2, form4->CheckBox4, form4->CheckBox5})
        tick(box, true);
    tick(form4->CheckBox7, false);
    execute();
    EXPECT_TRUE(errors.empty());
    EXPECT_FALSE(form4->isVisible());
    EXPECT_EQ(s().windowFocusTag, session::NoWindow);
    EXPECT_EQ(s().mode, session::SessionMode::Study);
    EXPECT_EQ(form1->Lbl_eibun->text(), QStringLiteral("Sentence 1."));
    EXPECT_FALSE(form1->lbl_f1->isVisibleTo(form1.get()));
    EXPECT_EQ(sentenceFont().name, app::cp932("MS Pゴシック"));
    EXPECT_EQ(sentenceFont().color, rgb(120, 0, 0));
    EXPECT_EQ(sentenceFont().style, records::Bold);
    session::SessionState firstStart;
    firstStart.results.clear(0);
    session::buildSentenceOrder(firstStart.sentence, 1, 1, 0);
    EXPECT_TRUE(file("savedata/save.dat") ==
                records::encodeSaveRecord(session::toSaveRecord(firstStart)));
    EXPECT_EQ(valueOf("Font.Color", 2), "\x02\x78");
    EXPECT_EQ(valueOf("Font.Style", 9), std::string("\x0b\x06" "fsBold\x00", 9));
}

TEST_F(SettingsWindowTest, ClearingResultsAndChecklistEmptiesTheChecklistPage) {
    s().sentence.checklist[0] = 5;
    s().sentence.checklist[1] = 250;
    s().results.scores[0][0] = 4;
    form1->btn_s_downClick(); // 1 -> C
    ASSERT_EQ(form1->Lbl_eibun->text(), QStringLiteral("Sentence 5."));
    openSettings();
    tick(form4->CheckBox2, true);
    tick(form4->CheckBox3, true);
    execute();
    EXPECT_EQ(s().results.score(1, 1), -1);
    EXPECT_EQ(s().sentence.checklist[1], 0);
    EXPECT_EQ(s().sentence.order, (std::array<std::int32_t, 10>{}));
    EXPECT_EQ(form1->Lbl_eibun->text(), QStringLiteral("no sentence")) << "the page is drawn again";
    EXPECT_EQ(file("savedata/save.dat").substr(52, 8), std::string(8, '\0'));
}


TEST_F(SettingsWindowTest, ThePointLinesGoFromTheNextSentenceOn) {
    ASSERT_TRUE(form1->Lbl_point->isVisible());
    openSettings();
    tick(form4->CheckBox7, false);
    execute();
    EXPECT_TRUE(form1->Lbl_point->isVisible()) << "the sentence on show keeps them";
    form1->trainer().nextSentence();
    EXPECT_FALSE(form1->Lbl_point->isVisible());
    EXPECT_FALSE(form1->lbl_point2->isVisible());
    EXPECT_TRUE(form1->Lbl_wabun->isVisible());
    EXPECT_EQ(s().showTranslation, 1);
}

TEST_F(SettingsWindowTest, AChosenFontIsDrawnAsTheTrainerSizesIt) {
    openSettings();
    chooseInDialog("DejaVu Sans", "太字 斜体", 36, "青", true);
    dialog().okButton->click();
    EXPECT_FALSE(dialog().isVisible());
    const QFont drawn = form1->Lbl_eibun->font();
    EXPECT_EQ(drawn.family(), QStringLiteral("DejaVu Sans"));
    EXPECT_EQ(drawn.pixelSize(), 24);
    EXPECT_TRUE(drawn.bold() && drawn.italic() && drawn.underline() && !drawn.strikeOut());
    EXPECT_EQ(form1->Lbl_eibun->palette().color(QPalette::WindowText), QColor(0, 0, 255));
    EXPECT_EQ(form1->Lbl_eibun->width(), 800);
    EXPECT_EQ(sentenceFont().charset, 0) << "a face without Japanese is a Western one";
    form4->SpeedButton2->click(); // cancelling the window keeps the font
    EXPECT_EQ(sentenceFont().name, "DejaVu Sans");
    EXPECT_FALSE(std::filesystem::exists(dir.file("savedata/fs.dat"))) << "saved at the next save";
}

TEST_F(SettingsWindowTest, TheDialogStartsOnItsOwnFontAndKeepsTheLastConfirmedChoice) {
    openSettings();
    form4->SpeedButton4->click();
    EXPECT_EQ(dialog().faceBox->currentText(), QStringLiteral("IPAPGothic"));
    EXPECT_EQ(dialog().sizeBox->currentText().toInt(), records::pointsForPixels(12, app::screenPpi()));
    EXPECT_EQ(dialog().styleBox->currentText(), QStringLiteral("標準"));
    EXPECT_EQ(dialog().colourBox->currentData().toInt(), records::windowTextColor);
    EXPECT_GE(dialog().colourBox->count(), 17);
    dialog().okButton->click(); // confirmed untouched: the stored face name stays as it was
    EXPECT_EQ(sentenceFont().name, app::cp932("ＭＳ Ｐゴシック"));
    EXPECT_EQ(sentenceFont().charset, 128);
    EXPECT_EQ(form1->Lbl_eibun->font().family(), QStringLiteral("IPAPGothic"));

    chooseInDialog("IPAGothic", "太字", 48, "栗色", false);
    dialog().okButton->click();
    const records::FontSpec chosen = sentenceFont();
    chooseInDialog("DejaVu Serif", "斜体", 10, "白", true);
    dialog().cancelButton->click();
    EXPECT_EQ(sentenceFont().name, chosen.name) << "a cancel changes nothing";
    EXPECT_EQ(sentenceFont().color, rgb(128, 0, 0));
    form4->SpeedButton4->click();
    EXPECT_EQ(dialog().faceBox->currentText(), QStringLiteral("IPAGothic"));
    EXPECT_EQ(dialog().sizeBox->currentText(), QStringLiteral("48"));
    EXPECT_EQ(dialog().colourBox->currentText(), QStringLiteral("栗色"));
    EXPECT_FALSE(dialog().underlineBox->isChecked());
    dialog().cancelButton->click();

    form4->SpeedButton3->click(); // the default font at once
    EXPECT_EQ(sentenceFont().color, rgb(120, 0, 0));
    form4->SpeedButton2->click();
    EXPECT_EQ(sentenceFont().color, rgb(120, 0, 0));
}

TEST_F(SettingsWindowTest, TicksAreLostWhenTheWindowIsActivatedAgainButNotByTheFontDialog) {
    openSettings();
    tick(form4->CheckBox2, true);
    tick(form4->CheckBox6, false);
    form4->SpeedButton4->click();
    ASSERT_TRUE(becomesActive(&dialog()));
    dialog().cancelButton->click();
    ASSERT_TRUE(becomesActive(form4.get()));
    EXPECT_TRUE(form4->CheckBox2->isChecked()) << "choosing a font is not leaving the window";
    EXPECT_FALSE(form4->CheckBox6->isChecked());

    form1->activateWindow(); // the main window hands the focus back to the settings
    settles([this] { return !form4->CheckBox2->isChecked(); });
    EXPECT_EQ(QApplication::activeWindow(), form4.get());
    EXPECT_FALSE(form4->CheckBox2->isChecked());
    EXPECT_TRUE(form4->CheckBox6->isChecked());
}

TEST_F(SettingsWindowTest, CancelAndTheCloseBoxDropTheTicks) {
    for (bool closeBox : {false, true}) {
        openSettings();
        tick(form4->CheckBox1, true);
        tick(form4->CheckBox7, false);
        if (closeBox) {
            QCloseEvent event;
            QCoreApplication::sendEvent(form4.get(), &event);
            EXPECT_TRUE(event.isAccepted());
            form4->hide();
        } else {
            form4->SpeedButton2->click();
        }
        EXPECT_FALSE(form4->isVisible());
        EXPECT_EQ(s().windowFocusTag, session::NoWindow);
        EXPECT_EQ(s().showPoint, 1);
        EXPECT_FALSE(std::filesystem::exists(dir.file("savedata/save.dat")));
    }
    openSettings();
    EXPECT_FALSE(form4->CheckBox1->isChecked());
    EXPECT_TRUE(form4->CheckBox7->isChecked());
}

TEST_F(SettingsWindowTest, AFailedSaveEndsExecuteWithTheWindowOpen) {
    s().sentence.checklist[0] = 33;
    openSettings();
    std::filesystem::remove_all(dir.file("savedata"));
    tick(form4->CheckBox3, true);
    tick(form4->CheckBox7, false);
    execute();
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_TRUE(errors[0].contains(QStringLiteral("save.dat")));
    EXPECT_TRUE(form4->isVisible());
    EXPECT_EQ(s().windowFocusTag, session::SettingsWindow);
    EXPECT_EQ(s().sentence.checklist[0], 0) << "what was applied stays";
    EXPECT_EQ(s().showPoint, 0);

    tick(form4->CheckBox1, true);
    execute();
    EXPECT_EQ(errors.size(), 2u);
    EXPECT_TRUE(form4->isVisible());
    EXPECT_EQ(s().windowFocusTag, session::SettingsWindow);
}

TEST_F(SettingsWindowTest, AResetThatCannotRemoveTheSaveFileChangesNothing) {
    fillSession();
    std::filesystem::create_directories(dir.file("savedata/save.dat/inside"));
    openSettings();
    tick(form4->CheckBox1, true);
    execute();
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_TRUE(errors[0].contains(QStringLiteral("save.dat")));
    EXPECT_EQ(s().step, 3);
    EXPECT_EQ(s().sentence.checklist[0], 17);
    EXPECT_TRUE(form4->isVisible());
}

TEST_F(SettingsWindowTest, DuringATestTheSettingsWait) {
    s().sentence.checklist[0] = 33;
    openSettings(); // opened before the test, which the main window still lets start
    form1->Lbl_gakusyuuClick(form1->Lbl_test);
    form1->img_leftMouseDown(form1->img_start, Qt::LeftButton, {}, {});
    ASSERT_EQ(s().testRunning, 1);
    const auto order = s().sentence.order;
    tick(form4->CheckBox3, true);
    tick(form4->CheckBox1, true);
    execute();
    EXPECT_EQ(form2->Label1->text(), QStringLiteral("テスト中は他の操作はできません！"));
    EXPECT_EQ(s().sentence.order, order);
    EXPECT_EQ(s().sentence.checklist[0], 33);
    EXPECT_TRUE(form4->isVisible());
    form2->Timer1Timer();
    // The score question after the tenth answer: "実行" is refused with the beep, and the
    // question stays.
    form1->trainer().showMessage(session::MessageId::SaveQuestion);
    const int beeps = sound.beeps;
    execute();
    EXPECT_EQ(sound.beeps, beeps + 1);
    EXPECT_TRUE(form2->SpeedButton1->isVisible());
    EXPECT_EQ(s().sentence.checklist[0], 33);
    form2->SpeedButton2->click();
    form4->SpeedButton2->click();
    form1->img_settingClick();
    EXPECT_TRUE(form4->isVisible()) << "the test is over: the settings open again";
}

TEST_F(SettingsWindowTest, ALaterStartBringsTheWindowBackWithTheSettingsInFront) {
    openSettings();
    form1->showMinimized();
    QCoreApplication::processEvents();
    form1->comeToFront();
    EXPECT_TRUE(becomesActive(form4.get()));
    EXPECT_FALSE(form1->isMinimized());
}
