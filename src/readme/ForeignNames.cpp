#include "ForeignNames.h"

#include "project/ItemTables.h"

#include <QHash>

using namespace Items;

namespace {

// What authors call their header lines and headings, by the item each
// stands for; names are separated by "|".
struct Names {
    int item;
    const char16_t *names;
};
constexpr Names kNames[] = {
    {SoftName,
     u"名称|ソフト名称|ソフト名|ソフトウェア名|ソフトウエア名|タイトル|Title|Name|ゲーム名|作品名"},
    {Version, u"バージョン|Version|Ver|版"},
    {RegistName, u"登録名|ファイル名|アーカイブ名|書庫名"},
    {Date, u"作成日|公開日|更新日|最終更新日|日付|Date|掲載日|掲載月日|制作日|公開日時"},
    {Writer, u"作者|著作権者|製作者|開発者|制作者|著者|Author|制作者名|作者名|開発者名|著作者|"
             u"掲載者名|製作者名|作成者"},
    {Environment, u"動作環境|動作OS|対応OS|対応機種|対応環境|OS|推奨環境|動作機種"},
    {Confirmation, u"動作確認|動作確認環境|確認環境|動作確認済み環境"},
    {Dll, u"必要ファイル|必要なファイル|ランタイム|必要なもの"},
    {Reprinting, u"転載|転載の可否|転載可否|配布条件|転載条件|再配布|配布規定|転載・再配布"},
    {SoftClass, u"種別|ソフトの種別|ソフト種別|ソフト種|ソフトウェア種別|ソフトウエア種別"},
    {Price, u"代金|料金|価格|シェアウエア代金|シェアウェア代金|送金"},
    {Address, u"連絡先|サポート|問い合わせ先|問い合わせ|問合せ先"},
    {EMail, u"メール|E-mail|Email|Mail|メールアドレス|e-mail"},
    {HomePage, u"ホームページ|URL|Web|HP|ウェブサイト|Webサイト|配布元|製作者HP|作者HP|サイト"},
    {FirstBody, u"概要|紹介|説明|はじめに|ソフト紹介|ソフトの紹介|内容紹介|ソフト説明"},
    {FirstBody + 1, u"ファイル構成|ファイル一覧|同梱ファイル|ファイルの説明|収録ファイル"},
    {FirstBody + 2, u"インストール|インストール方法"},
    {FirstBody + 3, u"アンインストール|アンインストール方法|削除方法"},
    {FirstBody + 4, u"注意|注意事項|使用上の注意|免責|免責事項"},
    {FirstBody + 5, u"謝辞|謝意"},
    {LastBody, u"履歴|更新履歴|変更履歴|改版履歴|バージョン履歴|History"},
};

} // namespace

namespace ForeignNames {

QString normalised(QStringView name)
{
    QString n = name.toString().normalized(QString::NormalizationForm_KC).toCaseFolded();
    n.removeIf([](QChar c) { return c.isSpace(); });
    while (n.endsWith(u'.'))
        n.chop(1);
    return n;
}

int itemOf(QStringView name)
{
    static const QHash<QString, int> byName = [] {
        QHash<QString, int> h;
        for (const Names &row : kNames) {
            for (QStringView n : QStringView(row.names).split(u'|'))
                h.insert(normalised(n), row.item);
        }
        return h;
    }();
    return byName.value(normalised(name), -1);
}

} // namespace ForeignNames
