#pragma once
#include "app/Unit2.h"
#include "app/Unit3.h"
#include "app/Unit4.h"
#include "app/Unit6.h"
#include "app/main.h"
#include "recording_seams.h"
#include "temp_app_dir.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

// Writes the eleven bitmaps, each filled with its own colour, at the given sizes.
void writeBitmaps(const TempAppDir& dir, QSize background = {800, 600}, QSize arrow = {60, 60},
                  QSize text = {65, 27});
QColor bitmapColour(const std::string& file);

// Handles the events the windows post to themselves (activation, focus) until `done` holds, and says
// whether it came. On the offscreen platform every such event starts in this process, so the
// bound is a number of rounds of the event loop, not a time a busy machine could outlast.
bool settles(const std::function<bool()>& done);

// A program folder with bitmaps and a course, and the five windows created in order.
class WindowTest : public testing::Test {
protected:
    void SetUp() override;
    void createWindows();
    // Ends the program's windows and starts them afresh, as a restart does.
    void restart();

    std::string voiceOf(int id) const;

    TempAppDir dir;
    RecordingSound sound;
    FixedClock clock;
    std::unique_ptr<TForm1> form1;
    std::unique_ptr<TForm2> form2;
    std::unique_ptr<TForm3> form3;
    std::unique_ptr<TForm4> form4;
    std::unique_ptr<TForm6> form6;
    std::vector<QString> errors; // failed saves reported to the learner
    bool createOnSetUp = true;
};
