#include "Fonts.h"

#include <QFontDatabase>

using namespace Qt::StringLiterals;

namespace Fonts {

// The database lists a family under the name of the desktop's language
// ("IPA Pゴシック" in Japanese); hasFamily knows its other names too.
QString firstAvailable(const QStringList &families)
{
    for (const QString &f : families) {
        if (QFontDatabase::hasFamily(f))
            return f;
    }
    return QString();
}

QFont preview()
{
    static const QString family = firstAvailable(
        {u"ＭＳ ゴシック"_s, u"MS Gothic"_s, u"IPAGothic"_s, u"Noto Sans Mono CJK JP"_s});
    QFont font =
        family.isEmpty() ? QFontDatabase::systemFont(QFontDatabase::FixedFont) : QFont(family);
    font.setPointSizeF(9);
    font.setStyleHint(QFont::TypeWriter);
    return font;
}

QFont proportionalGothic(double pointSize, bool bold)
{
    // Windows' own Japanese UI fonts first, where they are.
    static const QString family =
        firstAvailable({u"Yu Gothic UI"_s, u"MS UI Gothic"_s, u"ＭＳ Ｐゴシック"_s, u"MS PGothic"_s,
                        u"IPAPGothic"_s});
    QFont font = family.isEmpty() ? QFont() : QFont(family);
    font.setPointSizeF(pointSize);
    font.setBold(bold);
    return font;
}

} // namespace Fonts
