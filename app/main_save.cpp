// The learner's saved state on the main window: save.dat for the session and the results,
// fs.dat for the English sentence's label and its font.
#include "app/main.h"

#include "app/font_size.h"
#include "app/messages.h"
#include "platform/cp932.h"
#include "platform/whole_file.h"
#include "records/save_files.h"
#include "records/save_record.h"
#include "session/saved_state.h"

#include <QMessageBox>

namespace {

// The largest fs.dat worth reading: a label's stream is a few hundred bytes.
constexpr std::size_t fsDatLimit = 1 << 20;

} // namespace

bool TForm1::SaveState() {
    const auto fault =
        records::writeSaveFiles(records::saveFolder(), session::toSaveRecord(state_),
                                storedSentenceLabel(), *saveFileSystem);
    if (!fault)
        return true;
    const QString text = QString::fromStdString(app::saveFaultText(*fault));
    if (reportError)
        reportError(text);
    else
        QMessageBox::critical(this, windowTitle(), text);
    return false;
}

// Whatever goes wrong here is passed over: the start goes on with what could be read.
void TForm1::LoadState() {
    if (loadSaveRecord())
        loadSentenceFont();
}

bool TForm1::loadSaveRecord() {
    const std::optional<std::string> bytes =
        platform::readFileHead(records::saveDatPath(), records::saveRecordSize);
    if (!bytes)
        return false;
    const records::LoadedRecord loaded =
        records::decodeSaveRecord(*bytes, session::toSaveRecord(state_));
    session::applySaveRecord(state_, loaded);
    return loaded.complete;
}

void TForm1::loadSentenceFont() {
    const std::optional<std::string> bytes = platform::readFileHead(records::fsDatPath(), fsDatLimit);
    if (!bytes)
        return;
    records::StoredLabel stored = storedSentenceLabel();
    records::readLabelStream(*bytes, stored); // what was read before a fault stays applied
    applyStoredSentenceLabel(stored);
}

void TForm1::ClearResults(int chapter) { state_.results.clear(chapter); }

records::StoredLabel TForm1::storedSentenceLabel() const {
    records::StoredLabel stored;
    stored.left = Lbl_eibun->x();
    stored.top = Lbl_eibun->y();
    stored.width = Lbl_eibun->width();
    stored.height = Lbl_eibun->height();
    stored.caption =
        platform::utf8ToCp932(Lbl_eibun->caption().toStdString()).value_or(std::string());
    stored.font = Lbl_eibun->fontSpec();
    stored.visible = !Lbl_eibun->isHidden();
    return stored;
}

void TForm1::applyStoredSentenceLabel(const records::StoredLabel& stored) {
    records::FontSpec font = stored.font;
    font.size = app::pointsForPixels(font.pixels(), app::screenPpi());
    Lbl_eibun->setFontSpec(font);
    Lbl_eibun->setCaption(app::fromCp932(stored.caption));
    Lbl_eibun->setGeometry(stored.left, stored.top, stored.width, stored.height);
    Lbl_eibun->setVisible(stored.visible);
}
