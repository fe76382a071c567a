// artgen <bmpDir> <resourceDir>: draws the program's artwork. Run it with
// QT_QPA_PLATFORM=offscreen.
#include "art.h"

#include <QGuiApplication>
#include <QStringList>

#include <cstdio>

namespace {

void complain(const QString& message) {
    std::fprintf(stderr, "artgen: %s\n", qPrintable(message));
}

} // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() != 3) {
        complain(QStringLiteral("usage: artgen <bmpDir> <resourceDir>"));
        return 2;
    }
    // Fallback faces would draw boxes for the Japanese and shift every caption: refuse instead.
    const QString missing = artgen::missingFontFamilies();
    if (!missing.isEmpty()) {
        complain(QStringLiteral("font family not installed: %1").arg(missing));
        return 3;
    }
    QString error;
    if (!artgen::writeAll(args.at(1), args.at(2), &error)) {
        complain(error);
        return 1;
    }
    return 0;
}
