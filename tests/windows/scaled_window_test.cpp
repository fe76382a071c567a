// The windows where the desktop doubles them (this executable runs with a scale factor of 2).
#include "windows/window_fixture.h"

#include "app/controls.h"
#include "app/display_scaling.h"

#include <QPixmap>

#include <filesystem>
#include <optional>
#include <vector>

namespace {

const char* const bitmapNames[] = {
    "bg.bmp",           "l_button.bmp",      "r_button.bmp",         "l_button_cancel.bmp",
    "r_button_cancel.bmp", "giveup.bmp",     "giveup_cancel.bmp",    "start.bmp",
    "start_cancel.bmp", "repeat.bmp",        "repeat_cancel.bmp",
};

// A twin is told from its picture at 1, doubled, by its colour.
QColor twinColour(const std::string& file) {
    const QColor one = bitmapColour(file);
    return QColor(255 - one.red(), 255 - one.green(), 255 - one.blue());
}

std::string twinName(const std::string& file) {
    return file.substr(0, file.size() - 4) + "@2x.bmp";
}

class ScaledWindowTest : public WindowTest {
protected:
    void SetUp() override {
        createOnSetUp = false;
        WindowTest::SetUp();
        for (const char* name : bitmapNames) {
            const QImage one(QString::fromStdString(dir.file(std::string("bmp/") + name)));
            QImage twin(one.size() * 2, QImage::Format_RGB888);
            twin.fill(twinColour(name));
            twin.save(QString::fromStdString(dir.file("bmp/" + twinName(name))), "BMP");
        }
    }

    // The colour the window shows at a place of its layout, from a picture of all of it.
    QColor shownAt(QPoint place) {
        return form1->grab().toImage().pixelColor(place * 2 + QPoint(1, 1));
    }

    static void expectTwice(const QImage& picture, QSize layout) {
        EXPECT_EQ(picture.size(), layout * 2);
        EXPECT_EQ(picture.devicePixelRatio(), 2.0);
    }
};

TEST_F(ScaledWindowTest, TheWindowKeepsItsLayoutInTwiceThePixels) {
    createWindows();
    EXPECT_EQ(app::pictureScale(), 2);
    EXPECT_EQ(form1->size(), QSize(800, 600));
    EXPECT_EQ(form1->devicePixelRatio(), 2);
    EXPECT_EQ(form1->grab().toImage().size(), QSize(1600, 1200));
    EXPECT_EQ(form1->img_left->geometry(), QRect(290, 447, 60, 60));
    EXPECT_EQ(form1->img_exit->geometry(), QRect(673, 524, 86, 20));
    EXPECT_EQ(form1->lbl_f5->pos(), QPoint(497, 569));
}

TEST_F(ScaledWindowTest, ChildWindowsAreDoubledToo) {
    createWindows();
    form6->show();
    form2->show(); // the message window draws its picture when it first shows
    for (QWidget* window : std::initializer_list<QWidget*>{form2.get(), form3.get(), form4.get(),
                                                           form6.get()}) {
        SCOPED_TRACE(window->metaObject()->className());
        EXPECT_EQ(window->devicePixelRatio(), 2);
        EXPECT_EQ(window->grab().size(), window->size() * 2);
    }
    expectTwice(form6->Image1->picture(), {476, 359});
    expectTwice(form2->Image1->picture(), {330, 110});
}

TEST_F(ScaledWindowTest, EveryControlShowsItsTwinAtItsPlace) {
    createWindows();
    expectTwice(form1->Image1->picture(), {800, 600});
    EXPECT_EQ(form1->Image1->picture().pixelColor(0, 0), twinColour("bg.bmp"));
    EXPECT_EQ(shownAt({5, 595}), twinColour("bg.bmp"));

    struct Row {
        PictureButton* button;
        const char* enabled;
        const char* disabled;
    };
    for (const Row& row : {Row{form1->img_left, "l_button.bmp", "l_button_cancel.bmp"},
                           Row{form1->img_right, "r_button.bmp", "r_button_cancel.bmp"},
                           Row{form1->img_start, "start.bmp", "start_cancel.bmp"},
                           Row{form1->img_giveup, "giveup.bmp", "giveup_cancel.bmp"},
                           Row{form1->img_repeat, "repeat.bmp", "repeat_cancel.bmp"}}) {
        SCOPED_TRACE(row.enabled);
        const QImage& picture = row.button->picture();
        expectTwice(picture, row.button->size());
        const QColor colour = picture.pixelColor(0, 0);
        EXPECT_TRUE(colour == twinColour(row.enabled) || colour == twinColour(row.disabled));
        // Its last pixels too: the whole twin, not its first quarter.
        EXPECT_EQ(picture.pixelColor(picture.width() - 1, picture.height() - 1), colour);
        EXPECT_EQ(shownAt(row.button->geometry().center()), colour);
    }
    // The pictures compiled into the program have their twins as well.
    for (PictureBox* box : std::initializer_list<PictureBox*>{
             form1->img_check, form1->img_delete, form1->img_setting, form1->img_exit,
             form1->Img_point, form1->img_n1, form1->img_n2, form1->img_n3})
        expectTwice(box->picture(), box->size());
}

TEST_F(ScaledWindowTest, AMissingOrBrokenTwinGivesWayToThePictureAtOne) {
    std::filesystem::remove(dir.file("bmp/" + twinName("l_button.bmp")));
    std::filesystem::remove(dir.file("bmp/" + twinName("l_button_cancel.bmp")));
    dir.write("bmp/" + twinName("bg.bmp"), "not a bitmap");
    createWindows();
    const QImage& arrow = form1->img_left->picture();
    expectTwice(arrow, {60, 60});
    const QColor colour = arrow.pixelColor(0, 0);
    EXPECT_TRUE(colour == bitmapColour("l_button.bmp") ||
                colour == bitmapColour("l_button_cancel.bmp"));
    expectTwice(form1->Image1->picture(), {800, 600});
    EXPECT_EQ(form1->Image1->picture().pixelColor(0, 0), bitmapColour("bg.bmp"));
    EXPECT_EQ(shownAt({5, 595}), bitmapColour("bg.bmp"));
}

TEST_F(ScaledWindowTest, FontsAreSizedAsAtScaleOne) {
    createWindows();
    // Sized once, in the layout's pixels; the doubling is the window's, not the font's.
    EXPECT_EQ(app::screenPpi(), 96);
    EXPECT_EQ(form1->lbl_step->fontSpec().size, 12);
    EXPECT_EQ(form1->lbl_step->font().pixelSize(), 16);
    form1->show();
    form1->Edit1->show();
    EXPECT_EQ(form1->Edit1->font().pixelSize(), 21);
    EXPECT_EQ(form1->lbl_step->height(), QFontMetrics(form1->lbl_step->font()).height());
    EXPECT_LT(form1->lbl_step->height(), 30);
}

// What the program settles for Qt before its application is made, from the scale-factor setting.
TEST(DisplayScalingSettings, ASettingIsRoundedAndTakenAloneAnythingElseLeavesItToTheDesktop) {
    struct Row {
        const char* setting; // null: not set
        const char* factor;  // null: left unset
        const char* screenScaling;
        const char* fontDpi;
    };
    const Row rows[] = {
        {"2", "2", "0", "96"},     {"1.25", "1", "0", nullptr}, {"1.5", "2", "0", "96"},
        {"3", "3", "0", "96"},     {"1", "1", "0", nullptr},    {"garbage", nullptr, "1", nullptr},
        {nullptr, nullptr, "1", nullptr},
    };
    const char* const names[] = {"QT_SCALE_FACTOR", "QT_ENABLE_HIGHDPI_SCALING", "QT_FONT_DPI",
                                 "QT_SCREEN_SCALE_FACTORS", "QT_SCALE_FACTOR_ROUNDING_POLICY",
                                 "QT_DPI_ADJUSTMENT_POLICY"};
    std::vector<std::optional<QByteArray>> saved;
    for (const char* name : names)
        saved.push_back(qEnvironmentVariableIsSet(name) ? std::optional(qgetenv(name)) : std::nullopt);
    const auto value = [](const char* name) {
        return qEnvironmentVariableIsSet(name) ? std::optional(qgetenv(name)) : std::nullopt;
    };
    const auto expected = [](const char* text) {
        return text ? std::optional(QByteArray(text)) : std::nullopt;
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.setting ? row.setting : "(not set)");
        for (const char* name : names)
            qunsetenv(name);
        qputenv("QT_SCREEN_SCALE_FACTORS", "1.7");
        if (row.setting)
            qputenv("QT_SCALE_FACTOR", row.setting);
        EXPECT_EQ(app::prepareDisplayScaling(), row.factor != nullptr);
        EXPECT_EQ(value("QT_SCALE_FACTOR"), expected(row.factor));
        EXPECT_EQ(value("QT_ENABLE_HIGHDPI_SCALING"), expected(row.screenScaling));
        EXPECT_EQ(value("QT_FONT_DPI"), expected(row.fontDpi));
        EXPECT_FALSE(qEnvironmentVariableIsSet("QT_SCREEN_SCALE_FACTORS"));
        if (!row.factor) {
            EXPECT_EQ(value("QT_SCALE_FACTOR_ROUNDING_POLICY"), expected("Round"));
        }
    }
    for (size_t i = 0; i < saved.size(); ++i) {
        if (saved[i])
            qputenv(names[i], *saved[i]);
        else
            qunsetenv(names[i]);
    }
}

} // namespace
