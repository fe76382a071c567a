// Test mode on the main window and the overlay line.
#include "app/main.h"

#include "session/navigation.h"

namespace {

constexpr int overlayTop = 150;

struct OverlayText {
    const char16_t* text;
    int pixels;
};
constexpr OverlayText overlayTexts[] = {
    {u"STARTボタンを押すとテストを開始します。", 16},
    {u"・・・　テスト中　・・・", 16},
    {u"Very Good !", 19},
};

} // namespace

void TForm1::ShowOverlay(int kind) {
    if (kind < 1 || kind > 3)
        return;
    const OverlayText& overlay = overlayTexts[kind - 1];
    Lbl_msg->setFontPixels(overlay.pixels);
    Lbl_msg->setCaption(QString::fromUtf16(overlay.text));
    Lbl_msg->setGeometry(0, overlayTop, 800, Lbl_msg->height());
    Lbl_msg->show();
}

// The idle test view: the answer line waits for START.
void TForm1::ShowTestView() {
    if (state_.reviewActive == 0) {
        placeEdit1();
        Edit1->show();
        Edit1->clear();
        Lbl_eibun->hide();
        Lbl_wabun->hide();
        HidePoints();
        Lbl_seikai->hide();
        SetNavigationButtons(0, 0, 1, 0, 0);
        ShowOverlay(1);
        ShowReplayIndicators(0);
        state_.replayCount = 0;
    }
}

void TForm1::StartTest() {}

void TForm1::GiveUp() {}

void TForm1::Edit1KeyPress() {}
