#include "app/font_configuration.h"

#include "app/controls.h"

#include <QApplication>

#include <fontconfig/fontconfig.h>

namespace app {

FontConfiguration::FontConfiguration() : reading_(FcInit) {}

FontConfiguration::~FontConfiguration() { wait(); }

void FontConfiguration::wait() {
    if (reading_.joinable())
        reading_.join();
}

void FontConfiguration::applyBaseFont() {
    wait();
    QApplication::setFont(baseFont());
}

} // namespace app
