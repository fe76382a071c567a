// Times one save and one load of the learner's state, both files each, as the program does them:
// the session into save.dat's record and the sentence label into fs.dat, each written aside and
// renamed over the old file; then both read back into a session and a label.
//
//   bench_save_load [runs]
//
// Works in a temporary program folder of its own and prints the median and the worst of the runs
// (default 500) in milliseconds.
#include "platform/replace_file.h"
#include "platform/whole_file.h"
#include "records/label_stream.h"
#include "records/save_record.h"
#include "session/saved_state.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <vector>

namespace {

session::SessionState fullSession() {
    session::SessionState s;
    s.step = 3;
    s.chapter = 7;
    for (int i = 0; i < 100; ++i)
        s.sentence.checklist[i] = i * 5 + 1;
    for (int slot = 0; slot < 10; ++slot)
        for (int k = 0; k < 50; ++k) {
            s.results.scores[slot][k] = (slot + k) % 11;
            s.results.dates[slot][k].assign("12/24");
        }
    return s;
}

records::StoredLabel sentenceLabel() {
    records::StoredLabel label;
    label.top = 210;
    label.width = 800;
    label.height = 30;
    label.caption = "Is this your bag?";
    label.font.name = "MS P\x83\x53\x83\x56\x83\x62\x83\x4e";
    label.font.height = -24;
    label.font.color = 120;
    label.font.style = records::Bold;
    return label;
}

struct Figures {
    double median;
    double worst;
};

Figures timed(int runs, const std::function<void()>& work) {
    std::vector<double> ms;
    for (int i = 0; i < runs; ++i) {
        const auto start = std::chrono::steady_clock::now();
        work();
        ms.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
    }
    std::sort(ms.begin(), ms.end());
    return {ms[ms.size() / 2], ms.back()};
}

} // namespace

int main(int argc, char* argv[]) {
    const int runs = argc > 1 ? std::atoi(argv[1]) : 500;
    if (runs < 1) {
        std::fprintf(stderr, "usage: bench_save_load [runs]\n");
        return 2;
    }
    char pattern[] = "/tmp/yomirin-bench-XXXXXX";
    const std::filesystem::path dir = mkdtemp(pattern);
    const std::string saveDat = (dir / "save.dat").string();
    const std::string fsDat = (dir / "fs.dat").string();
    const session::SessionState state = fullSession();
    const records::StoredLabel label = sentenceLabel();
    bool ok = true;

    const Figures save = timed(runs, [&] {
        ok &= !platform::replaceFile(saveDat, records::encodeSaveRecord(session::toSaveRecord(state)));
        ok &= !platform::replaceFile(fsDat, records::writeLabelStream(label));
    });
    const Figures load = timed(runs, [&] {
        session::SessionState loaded;
        const auto bytes = platform::readFileHead(saveDat, records::saveRecordSize);
        ok &= bytes.has_value();
        session::applySaveRecord(loaded, records::decodeSaveRecord(bytes.value_or(""),
                                                                   session::toSaveRecord(loaded)));
        records::StoredLabel back;
        ok &= records::readLabelStream(platform::readWholeFile(fsDat).value_or(""), back);
    });
    std::filesystem::remove_all(dir);
    if (!ok) {
        std::fprintf(stderr, "bench_save_load: a save or a load failed\n");
        return 1;
    }
    std::printf("save (save.dat + fs.dat): median %.3f ms, worst %.3f ms over %d runs (target: well under 1 ms)\n",
                save.median, save.worst, runs);
    std::printf("load (save.dat + fs.dat): median %.3f ms, worst %.3f ms over %d runs (target: well under 1 ms)\n",
                load.median, load.worst, runs);
    return 0;
}
