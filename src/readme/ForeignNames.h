#pragma once

#include <QString>
#include <QStringView>

// The names READMEs give their header lines and headings, and the items
// they stand for: "名称" and "Title" are ソフト名, "更新履歴" is バージョン履歴.
namespace ForeignNames {

// The same name whatever its width (full-width letters, half-width kana),
// case or spaces, and without a trailing full stop ("Ver.").
QString normalised(QStringView name);

// The item index a name stands for, or -1.
int itemOf(QStringView name);

} // namespace ForeignNames
