// How the main window tells the learner that the trainer could not write or remove a save file.
#include "app/main.h"

#include "app/Unit4.h"
#include "app/messages.h"

#include <QMessageBox>

void TForm1::report(QWidget* over, const QString& text) {
    if (reportError)
        reportError(text);
    else
        QMessageBox::critical(over, over->windowTitle(), text);
}

void TForm1::reportSaveFault(const platform::FileFault& fault) {
    report(this, QString::fromStdString(app::saveFaultText(fault)));
}

void TForm1::reportResetFault(const std::string& path, const std::string& reason) {
    QWidget* over = settingsWindow_ ? static_cast<QWidget*>(settingsWindow_) : this;
    report(over, QStringLiteral("初期状態に戻せませんでした。\n%1 を削除できません: %2")
                     .arg(QString::fromStdString(path), QString::fromStdString(reason)));
}
