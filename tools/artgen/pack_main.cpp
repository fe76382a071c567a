// picture_pack <picture> <packed> [<picture> <packed> ...]: packs pictures drawn by artgen into
// the form the program shows straight from its resources.
#include "platform_qt/packed_picture.h"

#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QStringList>

#include <cstdio>

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() < 3 || args.size() % 2 == 0) {
        std::fprintf(stderr, "usage: picture_pack <picture> <packed> [<picture> <packed> ...]\n");
        return 2;
    }
    for (int i = 1; i < args.size(); i += 2) {
        const QByteArray packed = platform::packPicture(QImage(args.at(i)));
        QFile out(args.at(i + 1));
        if (packed.isEmpty() || !out.open(QIODevice::WriteOnly) || out.write(packed) != packed.size() ||
            !out.flush()) {
            std::fprintf(stderr, "picture_pack: cannot pack %s into %s\n", qPrintable(args.at(i)),
                         qPrintable(args.at(i + 1)));
            out.remove();
            return 1;
        }
    }
    return 0;
}
