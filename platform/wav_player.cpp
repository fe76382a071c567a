#include "platform/wav_player.h"

#include <QApplication>
#include <QFileInfo>
#include <QSoundEffect>
#include <QUrl>

namespace platform {

WavPlayer::WavPlayer() = default;
WavPlayer::~WavPlayer() = default;

void WavPlayer::playWave(const std::string& path) {
    if (effect_)
        effect_->stop();
    const QString file = QString::fromStdString(path);
    if (!QFileInfo(file).isFile())
        return;
    if (!effect_)
        effect_ = std::make_unique<QSoundEffect>();
    const QUrl url = QUrl::fromLocalFile(file);
    if (effect_->source() != url)
        effect_->setSource(url);
    effect_->play();
}

void WavPlayer::beep() { QApplication::beep(); }

} // namespace platform
