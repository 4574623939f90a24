#pragma once

#include <QString>

// The texts the About box shows, from the program's version information.
namespace AboutInfo {

QString caption(); // "ﾊﾞｰｼﾞｮﾝ情報 " and the title
QString title();
QString versionText(); // "Version " major "." minor, the minor as a plain decimal
QString description();
QString legalCopyright();

} // namespace AboutInfo
