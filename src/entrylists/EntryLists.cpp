#include "EntryLists.h"

#include "platform/AppInfo.h"
#include "platform/LineFile.h"

using namespace Qt::StringLiterals;

namespace EntryLists {

const std::array<ListInfo, kListCount> kLists = {{
    {u"Writer.dat", u"著作権者の登録", u"登録する著作権者を入力して下さい", 5, "Ctrl+W"},
    {u"Environment.dat", u"動作環境の登録", u"登録する動作環境を入力して下さい", 6, "Ctrl+E"},
    {u"Confirmation.dat", u"動作確認の登録", u"登録する動作確認を入力して下さい", 7, "Ctrl+C"},
    {u"Dll.dat", u"必要ファイルの登録", u"登録する必要ファイルを入力して下さい", 8, "Ctrl+D"},
    {u"SoftClass.dat", u"ソフトの種別の登録", u"登録するソフトの種別を入力して下さい", 10,
     "Ctrl+U"},
    {u"Address.dat", u"連絡先の登録", u"登録する連絡先を入力して下さい", 12, "Ctrl+A"},
    {u"EMail.dat", u"メールアドレスの登録", u"登録するEメールアドレスを入力して下さい", 13,
     "Ctrl+M"},
    {u"HP.dat", u"ホームページアドレスの登録", u"登録するホームページアドレスを入力して下さい", 14,
     "Ctrl+H"},
}};

int listForItem(int itemIndex)
{
    for (int i = 0; i < kListCount; ++i) {
        if (kLists[i].itemIndex == itemIndex)
            return i;
    }
    return -1;
}

void appendListFile(const QString &fileName, QStringList &target)
{
    const Result<QStringList> r = LineFile::read(AppInfo::pathInListDirectory(fileName));
    if (r.ok())
        target += r.value();
}

std::array<QStringList, 15> readAll()
{
    std::array<QStringList, 15> lists;
    for (const ListInfo &list : kLists)
        appendListFile(QString::fromUtf16(list.fileName), lists[size_t(list.itemIndex)]);
    return lists;
}

QString listPath(const QString &caption)
{
    // The order in which the captions are tried.
    static const int order[kListCount] = {0, 6, 7, 5, 2, 3, 1, 4};
    for (int i : order) {
        if (caption == QStringView(kLists[i].caption))
            return AppInfo::pathInListDirectory(QString::fromUtf16(kLists[i].fileName));
    }
    return QString();
}

QStringList readList(const QString &caption)
{
    const QString path = listPath(caption);
    if (path.isEmpty())
        return {};
    const Result<QStringList> r = LineFile::read(path);
    return r.ok() ? r.value() : QStringList();
}

Result<ListSaved> saveList(const QString &caption, const QStringList &entries)
{
    const QString path = listPath(caption);
    if (path.isEmpty())
        return Result<ListSaved>::failure(caption + u": 登録リストではありません"_s);
    const Result<QStringList> w = LineFile::write(path, entries);
    if (!w.ok())
        return Result<ListSaved>::failure(w.reason());
    return ListSaved{w.value(), true};
}

} // namespace EntryLists
