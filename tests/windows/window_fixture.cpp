#include "windows/window_fixture.h"

#include "app/display_scaling.h"

#include <QApplication>

namespace {

struct BitmapColour {
    const char* file;
    QColor colour;
};

const BitmapColour colours[] = {
    {"bg.bmp", QColor(10, 20, 30)},        {"l_button.bmp", QColor(200, 0, 0)},
    {"r_button.bmp", QColor(0, 200, 0)},   {"l_button_cancel.bmp", QColor(100, 0, 0)},
    {"r_button_cancel.bmp", QColor(0, 100, 0)}, {"giveup.bmp", QColor(0, 0, 200)},
    {"giveup_cancel.bmp", QColor(0, 0, 100)},   {"start.bmp", QColor(200, 200, 0)},
    {"start_cancel.bmp", QColor(100, 100, 0)},  {"repeat.bmp", QColor(0, 200, 200)},
    {"repeat_cancel.bmp", QColor(0, 100, 100)},
};

} // namespace

QColor bitmapColour(const std::string& file) {
    for (const auto& c : colours)
        if (file == c.file)
            return c.colour;
    return {};
}

void writeBitmaps(const TempAppDir& dir, QSize background, QSize arrow, QSize text) {
    for (const auto& c : colours) {
        const std::string name = c.file;
        const bool isArrow = name.starts_with("l_button") || name.starts_with("r_button");
        const QSize size = name == "bg.bmp" ? background : isArrow ? arrow : text;
        QImage image(size, QImage::Format_RGB888);
        image.fill(c.colour);
        // A marker outside the used rectangle shows whether more than it was drawn.
        if (size.width() > 1)
            image.setPixelColor(size.width() - 1, size.height() - 1, Qt::white);
        image.save(QString::fromStdString(dir.file("bmp/" + name)), "BMP");
    }
}

bool settles(const std::function<bool()>& done) {
    for (int round = 0; round < 100 && !done(); ++round)
        QCoreApplication::processEvents();
    return done();
}

void WindowTest::SetUp() {
    writeBitmaps(dir);
    writeCourse(dir);
    if (createOnSetUp)
        createWindows();
}

void WindowTest::createWindows() {
    form1 = std::make_unique<TForm1>(sound, clock);
    form1->reportError = [this](const QString& text) { errors.push_back(text); };
    form2 = std::make_unique<TForm2>(*form1);
    form3 = std::make_unique<TForm3>(*form1);
    form4 = std::make_unique<TForm4>(*form1);
    form6 = std::make_unique<TForm6>(form1.get());
    form1->attachWindows(form2.get(), form3.get(), form4.get(), form6.get());
}

void WindowTest::restart() {
    form6.reset();
    form4.reset();
    form3.reset();
    form2.reset();
    form1.reset();
    createWindows();
}

std::string WindowTest::voiceOf(int id) const {
    std::string n = std::to_string(id);
    return dir.path() + "/onsei/" + std::string(3 - n.size(), '0') + n + ".wav";
}

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
#ifdef WINDOW_TESTS_SCALE_FACTOR
    // Scaled as the program scales its windows where the desktop asks for it.
    qputenv("QT_SCALE_FACTOR", WINDOW_TESTS_SCALE_FACTOR);
    app::prepareDisplayScaling();
#else
    qputenv("QT_ENABLE_HIGHDPI_SCALING", "0");
#endif
    QApplication app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
