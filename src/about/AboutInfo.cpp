#include "AboutInfo.h"

#include "platform/AppInfo.h"

using namespace Qt::StringLiterals;

namespace AboutInfo {

QString caption()
{
    return u"ﾊﾞｰｼﾞｮﾝ情報 "_s + AppInfo::title();
}
QString title()
{
    return AppInfo::title();
}
QString versionText()
{
    return u"Version %1.%2"_s.arg(AppInfo::majorVersion()).arg(AppInfo::minorVersion());
}
QString description()
{
    return u"このアプリは、README.TXTファイルの作成を支援するためのものです"_s;
}
QString legalCopyright()
{
    return AppInfo::legalCopyright();
}

} // namespace AboutInfo
