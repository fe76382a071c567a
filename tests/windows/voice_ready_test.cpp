#include "content/voice_files.h"
#include "windows/window_fixture.h"

#include <functional>

namespace {


struct Step {
    const char* name;
    std::function<void(TForm1&)> act;
};

} // namespace

// Whatever moved the slot on show or rebuilt the order, the voice a press of repeat plays next
// has been handed to the player to get ready, so that the press only has to start it.
TEST_F(WindowTest, TheVoiceOnShowIsAlwaysTheOneMadeReady) {
    const Step steps[] = {
        {"start", [](TForm1&) {}},
        {"next (F2)", [](TForm1& f) { f.FormKeyDown(session::Key::F2, {}); }},
        {"previous (F1) past slot 1", [](TForm1& f) {
             f.FormKeyDown(session::Key::F1, {});
             f.FormKeyDown(session::Key::F1, {});
         }},
        {"chapter up", [](TForm1& f) { f.btn_c_upClick(); }},
        {"step down to the empty checklist", [](TForm1& f) { f.btn_s_downClick(); }},
        {"test study", [](TForm1& f) { f.Lbl_gakusyuuClick(f.Lbl_testgakusyuu); }},
        {"next in test study", [](TForm1& f) { f.FormKeyDown(session::Key::F2, {}); }},
        {"study, shuffled, start (F3)", [](TForm1& f) {
             f.btn_s_upClick();
             f.Lbl_gakusyuuClick(f.Lbl_gakusyuu);
             f.trainer().arrange().sentence.randomOrder = 1;
             f.FormKeyDown(session::Key::F3, {});
         }},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.name);
        step.act(*form1);
        ASSERT_FALSE(sound.prepared.empty());
        EXPECT_EQ(sound.prepared.back(), content::voicePath(dir.path(), form1->state().sentence.currentId()));
    }
    form1->FormKeyDown(session::Key::F5, {}); // repeat
    EXPECT_EQ(sound.played.back(), sound.prepared.back());
}
