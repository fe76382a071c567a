#include "session/saved_state.h"

namespace session {

records::SaveRecord toSaveRecord(const SessionState& state) {
    records::SaveRecord record;
    record.step = state.step;
    record.chapter = state.chapter;
    record.randomOrder = state.sentence.randomOrder;
    record.padding1 = state.recordPadding1;
    record.order = state.sentence.order;
    record.checklist = state.sentence.checklist;
    record.results = state.results;
    record.showTranslation = state.showTranslation;
    record.showPoint = state.showPoint;
    record.showShortcuts = state.showShortcuts;
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
    state.sentence.randomOrder = record.randomOrder;
    state.recordPadding1 = record.padding1;
    state.sentence.order = record.order;
    state.sentence.checklist = record.checklist;
    state.showTranslation = record.showTranslation;
    state.showPoint = record.showPoint;
    state.showShortcuts = record.showShortcuts;
    state.recordPadding2 = record.padding2;
}

} // namespace session
