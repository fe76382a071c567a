#include "platform_qt/face_map.h"

#include <QFontDatabase>

namespace platform {
namespace {

const QString proportionalGothic = QStringLiteral("IPAPGothic");

struct FaceRule {
    const char16_t* pattern; // matched against the face with blanks removed, case-insensitively
    const char16_t* installed;
};

// Full-width and half-width spellings both occur in stored names ("ＭＳ Ｐゴシック", "MS Pゴシック").
constexpr FaceRule rules[] = {
    {u"MSPゴシック", u"IPAPGothic"},    {u"ＭＳＰゴシック", u"IPAPGothic"},
    {u"MSゴシック", u"IPAGothic"},      {u"ＭＳゴシック", u"IPAGothic"},
    {u"MSP明朝", u"IPAPMincho"},        {u"ＭＳＰ明朝", u"IPAPMincho"},
    {u"MS明朝", u"IPAMincho"},          {u"ＭＳ明朝", u"IPAMincho"},
    {u"MSUIGothic", u"IPAPGothic"},     {u"HGSｺﾞｼｯｸE", u"IPAPGothic"},
    {u"HGSゴシックE", u"IPAPGothic"},   {u"MSSansSerif", u"DejaVu Sans"},
};

} // namespace

QString installedFaceFor(const QString& storedFace) {
    QString squeezed = storedFace;
    squeezed.remove(QLatin1Char(' '));
    for (const FaceRule& rule : rules) {
        if (squeezed.compare(QString::fromUtf16(rule.pattern), Qt::CaseInsensitive) == 0)
            return QString::fromUtf16(rule.installed);
    }
    if (!storedFace.isEmpty() && QFontDatabase::hasFamily(storedFace))
        return storedFace;
    return proportionalGothic;
}

} // namespace platform
