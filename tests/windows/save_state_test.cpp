#include "windows/window_fixture.h"

#include <QCloseEvent>
#include <QCoreApplication>

// What is saved and loaded is the trainer's (tests/session/trainer_saves_test.cpp); the window's
// part is to stay open, with all it holds, when the save that a close makes fails.
TEST_F(WindowTest, AFailedSaveIsReportedAndClosingIsRefused) {
    form1->show();
    std::filesystem::remove_all(dir.file("savedata"));
    QCloseEvent event;
    QCoreApplication::sendEvent(form1.get(), &event);
    EXPECT_FALSE(event.isAccepted());
    EXPECT_FALSE(form1->buttonBitmaps()[TForm1::BgBitmap].isNull()) << "the bitmaps stay loaded";
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_TRUE(errors[0].contains(QString::fromStdString(dir.file("savedata/save.dat"))));
    EXPECT_FALSE(std::filesystem::exists(dir.file("savedata")));
}
