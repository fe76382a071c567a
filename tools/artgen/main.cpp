// artgen <bmpDir> <resourceDir>: draws the program's artwork.
// artgen --icons <iconDir> <name>: draws the menu icon in every size a desktop menu looks for.
// Run it with QT_QPA_PLATFORM=offscreen.
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
    const bool icons = args.size() == 4 && args.at(1) == QLatin1String("--icons");
    if (args.size() != 3 && !icons) {
        complain(QStringLiteral("usage: artgen <bmpDir> <resourceDir> | artgen --icons <iconDir> <name>"));
        return 2;
    }
    // Fallback faces would draw boxes for the Japanese and shift every caption: refuse instead.
    const QString missing = artgen::missingFontFamilies();
    if (!missing.isEmpty()) {
        complain(QStringLiteral("font family not installed: %1").arg(missing));
        return 3;
    }
    QString error;
    const bool written = icons ? artgen::writeMenuIcons(args.at(2), args.at(3), &error)
                               : artgen::writeAll(args.at(1), args.at(2), &error);
    if (!written) {
        complain(error);
        return 1;
    }
    return 0;
}
