#include "UserTexts.h"

#include <QDateTime>
#include <QDir>

using namespace Qt::StringLiterals;

namespace UserTexts {

QString unmappable(const QStringList &chars)
{
    return u"次の文字はシフトJISで表せないため「?」に置き換えて書き込みました: "_s +
           chars.join(u' ');
}

QString foreignEncoding(const QString &path)
{
    return u"%1 はシフトJISのテキストとして読めない部分があるため、文字化けしている可能性があります。"_s
        .arg(QDir::toNativeSeparators(path));
}

QString notIntact(const QStringList &texts)
{
    return u"次のテキストは「:=」か改行を含むため、開き直すと元どおりになりません:\n"_s +
           texts.join(u'\n');
}

QString malformedLine(const QString &path, int line, const QString &reason)
{
    return u"%1 の %2 行目を読めませんでした: %3\nそれより前の行だけを読み込みました。"_s
        .arg(QDir::toNativeSeparators(path))
        .arg(line)
        .arg(reason);
}

QString openDamaged(const QString &path, int line, const QString &reason, int unread)
{
    return u"%1 の %2 行目を読めませんでした: %3\n"
           u"そこから先の %4 行は読み込めません。読めた部分だけを開きますか？\n"
           u"開いたデータは変更ありとして扱い、このファイルに上書きする前に確認します。"_s
               .arg(QDir::toNativeSeparators(path))
               .arg(line)
               .arg(reason)
               .arg(unread);
}

QString unlistedTexts(const QStringList &headings)
{
    return u"次の見出しは項目の一覧にありませんが、その下に書いた文章がデータに残っています:\n"
           u"　「%1」\n\n見出しを一覧に戻せば、文章も README に戻ります。文章を残しますか？"_s.arg(
               headings.join(u"」「"_s));
}

QString overwriteDamaged(const QString &path, int line, int unread, const QStringList &sample)
{
    QString text = u"%1 は %2 行目から先を読めなかったファイルです。上書きすると、"
                   u"読めなかった次の %3 行が失われます:\n"_s.arg(QDir::toNativeSeparators(path))
                       .arg(line)
                       .arg(unread);
    for (const QString &l : sample)
        text += u"\n　"_s + l;
    return text + u"\n\n別の名前で保存すれば、元のファイルはそのまま残ります。上書きしますか？"_s;
}

QString dataOpenFailed(const QString &reason)
{
    return u"データを開けませんでした: "_s + reason;
}

QString dataSaveFailed(const QString &reason)
{
    return u"データを保存できませんでした: "_s + reason;
}

QString previewFailed(const QString &reason)
{
    return u"プレビューを作成できませんでした: "_s + reason;
}

QString readmeComposeFailed(const QString &reason)
{
    return u"README.TXTを作成できませんでした: "_s + reason;
}

QString readmeWriteFailed(const QString &reason)
{
    return u"README.TXTを書き込めませんでした: "_s + reason;
}

QString importFailed(const QString &reason)
{
    return u"READMEを取り込めませんでした: "_s + reason;
}

QString unknownFileType(const QString &filter)
{
    return u"ファイルの種類「%1」がどの書き出し形式か分からないため、書き出しませんでした。"
           u"種類を選び直してください。"_s.arg(filter);
}

namespace {
// A few lines of a long list, enough to recognise them.
QString firstLines(const QStringList &lines, qsizetype shown = 8)
{
    QString text = lines.mid(0, shown).join(u'\n');
    if (lines.size() > shown)
        text += u"\n…ほか %1 行"_s.arg(lines.size() - shown);
    return text;
}
} // namespace

QString unplacedText(const QStringList &lines)
{
    return u"プレビューの次の行は、前にある見出しの行が変わったか消えたため、どの見出しの文章か"
           u"分かりません。文書には取り込まれず、プレビューを作り直すと消えます。\n\n"_s +
           firstLines(lines) + u"\n\n取り込まずに続けますか？"_s;
}

QString importTotals(const QString &encoding, int mapped, int kept)
{
    return u"文字コード %1、項目にしたもの %2 件、そのまま残したもの %3 件"_s.arg(encoding)
        .arg(mapped)
        .arg(kept);
}

QString importReport(const QString &path, const QString &encoding, int mapped, int kept)
{
    return u"%1 を取り込みました。\n%2。"_s.arg(QDir::toNativeSeparators(path),
                                                importTotals(encoding, mapped, kept));
}

QString importDetails(const QStringList &mapped, const QStringList &kept)
{
    QString text;
    if (!mapped.isEmpty())
        text += u"項目にしたもの:\n"_s + mapped.join(u'\n');
    if (!kept.isEmpty())
        text +=
            (text.isEmpty() ? u""_s : u"\n\n"_s) + u"そのまま残したもの:\n"_s + kept.join(u'\n');
    return text;
}

QString importUnmappable(const QStringList &chars)
{
    QStringList shown = chars.mid(0, 40);
    if (chars.size() > 40)
        shown.append(u"ほか %1 文字"_s.arg(chars.size() - 40));
    return u"取り込んだ README には、シフトJISで表せない次の文字があります。データファイルと"
           u"シフトJISの README には「?」として書き込まれます（UTF-8 の README には残ります）: "_s +
           shown.join(u' ');
}

QString damagedLines(const QString &encoding, const QList<int> &lines)
{
    QStringList shown;
    for (int line : lines.mid(0, 10))
        shown.append(QString::number(line));
    QString text = shown.join(u"、"_s);
    if (lines.size() > 10)
        text += u" ほか %1 行"_s.arg(lines.size() - 10);
    return u"%1 として読みましたが、%2 行目に %1 でない文字があり、「�」に置き換えました"_s.arg(
        encoding, text);
}

QString recoveryFound(const QString &project, const QDateTime &when)
{
    const QString name = project.isEmpty() ? u"無題のプロジェクト"_s
                                           : QDir::toNativeSeparators(QDir::cleanPath(project));
    return u"前回 Quillet が正しく終了しなかったため、保存されていない変更が残っています"
           u"（%1、%2）。\n\n復元しますか？「後で」を選ぶと次の起動時にもう一度尋ねます。"_s.arg(
               name, when.toString(u"yyyy/MM/dd HH:mm"_s));
}

QString recoveryUnreadable(const QString &keptAs, const QString &reason)
{
    return u"復元用のファイルを読めませんでした: %1\n\nファイルは %2 として残してあります。"_s.arg(
        reason, QDir::toNativeSeparators(keptAs));
}

} // namespace UserTexts
