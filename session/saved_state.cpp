#include "session/saved_state.h"

namespace session {

records::SaveRecord toSaveRecord(const SessionState& state) {
    records::SaveRecord record;
    record.step = state.step;
    record.chapter = state.chapter;
    record.randomOrder = state.sentence.randomOrder ? 1 : 0;
    record.padding1 = state.recordPadding1;
    record.order = state.sentence.order;
    record.checklist = state.sentence.checklist;
    record.results = state.results;
    record.showTranslation = state.showTranslation ? 1 : 0;
    record.showPoint = state.showPoint ? 1 : 0;
    record.showShortcuts = state.showShortcuts ? 1 : 0;
    record.padding2 = state.recordPadding2;
    return record;
}

void applySaveRecord(SessionState& state, const records::LoadedRecord& loaded) {
    const records::SaveRecord& record = loaded.record;
    state.results = record.results;
    if (!loaded.complete)
        return;
    state.step = record.step;
    state.chapter = record.chapter;
    // The record's options are 0 or 1 once read: anything else was mended.
    state.sentence.randomOrder = record.randomOrder == 1;
    state.recordPadding1 = record.padding1;
    state.sentence.order = record.order;
    state.sentence.checklist = record.checklist;
    state.showTranslation = record.showTranslation == 1;
    state.showPoint = record.showPoint == 1;
    state.showShortcuts = record.showShortcuts == 1;
    state.recordPadding2 = record.padding2;
}

} // namespace session
