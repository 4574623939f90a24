#include "ComposeOptions.h"

#include "ComposeCli.h"
#include "platform/AppInfo.h"
#include "readme/ReadmeComposer.h"

#include <QDir>
#include <cstdio>

using namespace Qt::StringLiterals;

namespace ComposeCli {

void err(const QString &text)
{
    const QByteArray bytes = (text + u'\n').toUtf8();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stderr);
}

// False when standard output did not take every byte (a full disk, a
// closed pipe).
bool out(const QByteArray &bytes)
{
    const bool written =
        std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout) == size_t(bytes.size());
    return std::fflush(stdout) == 0 && written && !std::ferror(stdout);
}

int outputFailed()
{
    err(u"quillet-compose: 標準出力に書き込めませんでした"_s);
    return WriteFailed;
}

namespace {

QString usage()
{
    return u"使い方: quillet-compose [オプション] DATA.pwk [README]\n"
           "        quillet-compose [オプション] --import README.TXT [README]\n"
           "データファイル（--import のときは既存の README）を開き、README "
           "のテキストを作成して README（省略時または \"-\" のときは標準出力）へ書き出します。\n"
           "\n"
           "  --set NAME=VALUE    開いた後に項目の値を設定します（NAME "
           "は項目名か番号、繰り返し可）\n"
           "  --write-data FILE   --set の後のデータを FILE に保存します\n"
           "  --import FILE       データファイルの代わりに既存の README を読み込みます\n"
           "  --check             何も書かず、README が同じ内容なら 0、違えば 1 で終了します\n"
           "                      （下の形式で作成した内容と比べます）\n"
           "  --utf8              シフトJIS（コード ページ 932）ではなく UTF-8 で書き出します\n"
           "  --bom               UTF-8 の先頭に BOM を付けます（--utf8 を含みます）\n"
           "  --lf                改行を CR LF ではなく LF にします\n"
           "  --markdown          Markdown を UTF-8・LF で書き出します（--bom も使えます）\n"
           "  --wrap              長い行を文字数で折り返します（追い出し）\n"
           "  --wrap=burasage     長い行を折り返し、句読点はぶら下げます\n"
           "  --no-wrap           折り返しません（--wrap と同じく、この実行だけの設定です）\n"
           "  --width N           文字数（1行のバイト数）を N にします（この実行だけ）\n"
           "  --check-readme      "
           "書き出さずに公開前チェックをし、見つけたことを一行ずつ表示します\n"
           "  --format json       チェックの結果（--import "
           "のときは取り込みの報告を標準エラーに）を\n"
           "                      JSON で表示します（text が既定）\n"
           "  --profile NAME      チェックに使うサイトの規則（standard, vector, freem など）\n"
           "  --expect-version V  README のバージョンが V でなければエラーにします\n"
           "  --release VER       新しい版にします: バージョン、作成日、更新履歴の先頭の項目を\n"
           "                      書き、データファイルに保存してから README を書き出します\n"
           "  --date YYYY-MM-DD   新しい版の日付（省略時は今日）\n"
           "  --note TEXT         更新履歴に書く一行（繰り返し可）\n"
           "  --amend             最新の項目が同じバージョンなら、それを置き換えます\n"
           "  --template NAME     テンプレートから DATA.pwk を新しく作ります（README "
           "は指定したときだけ）\n"
           "  --list-templates    使えるテンプレートを一行に一つずつ表示します\n"
           "  --yes               何も尋ねません。確認が要るところでは終了コード 7 で止まります\n"
           "  --lang CODE         その言語（en など）で --set し、README を書き出します\n"
           "  --add-language CODE 言語を加えます（まだ訳のない言語は元の言語のまま書き出します）\n"
           "  --all-languages     README と、ほかの言語の README_<言語>.txt を並べて書き出します\n"
           "  --name NAME=TEXT    --lang の言語で、項目や見出し NAME を TEXT "
           "と表示します（繰り返し可）\n"
           "  --help              この説明を表示します\n"
           "  --version           バージョンを表示します\n"
           "\n"
           "終了コード: 0 完了, 1 --check で差異あり, 2 使い方の誤り, 3 データファイルか README "
           "を読めない, 4 作成の失敗, 5 書き込みの失敗, 6 チェックでエラーあり,\n"
           "          7 確認が要るが尋ねられない\n"_s;
}

} // namespace

int usageError(const QString &message)
{
    err(u"quillet-compose: "_s + message);
    err(u"詳しくは quillet-compose --help を参照してください。"_s);
    return Usage;
}

namespace {

int version()
{
    return out(u"quillet-compose %1.%2\n%3モード　登録リスト: %4\n"_s.arg(AppInfo::majorVersion())
                   .arg(AppInfo::minorVersion())
                   .arg(AppInfo::modeName(), QDir::toNativeSeparators(AppInfo::listDirectory()))
                   .toUtf8())
               ? Done
               : outputFailed();
}

// The files named after the options, and what the options add up to.
int finishParse(const QStringList &positional, Options &o)
{
    using ReadmeFile::Format;
    if (o.listTemplates)
        return positional.isEmpty() ? -1
                                    : usageError(u"--list-templates にファイルは指定できません"_s);
    if (!o.templateName.isEmpty() && (!o.import.isEmpty() || o.check || o.checkReadme))
        return usageError(u"--template は --import、--check、--check-readme と併用できません"_s);
    const qsizetype inputs = o.import.isEmpty() ? 1 : 0;
    if (positional.size() < inputs || positional.size() > inputs + 1)
        return usageError(
            inputs != 0 ? u"データファイルを一つ、README を省略可能で一つ指定してください"_s
                        : u"--import のときは書き出す README だけを省略可能で指定してください"_s);
    if (inputs != 0)
        o.data = positional.at(0);
    o.readme = positional.value(inputs);
    if (o.readme == u"-")
        o.readme.clear();
    if (o.checkReadme && (o.check || !o.writeData.isEmpty()))
        return usageError(u"--check-readme は --check や --write-data と併用できません"_s);
    if (o.releasing && (o.check || o.checkReadme || !o.import.isEmpty()))
        return usageError(u"--release は --check、--check-readme、--import と併用できません"_s);
    if (!o.releasing && (o.amend || !o.releaseDate.isEmpty() || !o.notes.isEmpty()))
        return usageError(u"--date、--note、--amend は --release と一緒に指定してください"_s);
    if (o.allLanguages && (o.readme.isEmpty() || !o.language.isEmpty() || o.checkReadme))
        return usageError(u"--all-languages には README のファイル名が必要で、--lang や "
                          u"--check-readme とは併用できません"_s);
    if (!o.names.isEmpty() && o.language.isEmpty())
        return usageError(u"--name は --lang と一緒に指定してください"_s);
    if (o.check && o.readme.isEmpty())
        return usageError(u"--check には比べる README のファイル名が必要です"_s);
    if (o.check && !o.writeData.isEmpty())
        return usageError(u"--check は何も書き込まないため --write-data と併用できません"_s);
    using enum ReadmeFile::Encoding;
    o.format = o.markdown ? Format::markdown(o.bom)
                          : Format(o.utf8 || o.bom ? Utf8 : Cp932, o.bom,
                                   o.lf ? ReadmeFile::LineEnd::Lf : ReadmeFile::LineEnd::CrLf);
    return -1;
}

} // namespace

int parse(const QStringList &args, Options &o)
{
    const std::pair<QStringView, bool *> flags[] = {
        {u"--check", &o.check},       {u"--utf8", &o.utf8},
        {u"--bom", &o.bom},           {u"--lf", &o.lf},
        {u"--markdown", &o.markdown}, {u"--check-readme", &o.checkReadme},
        {u"--amend", &o.amend},       {u"--list-templates", &o.listTemplates},
        {u"--yes", &o.yes},           {u"--all-languages", &o.allLanguages}};
    QStringList positional;
    bool optionsEnded = false;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString &a = args.at(i);
        if (optionsEnded || !a.startsWith(u"--")) {
            positional.append(a);
            continue;
        }
        if (a == u"--") {
            optionsEnded = true; // a data file may start with "-"
            continue;
        }
        const auto value = [&](const QString &name, QString *v) {
            if (a.startsWith(name + u'=')) {
                *v = a.mid(name.size() + 1);
                return true;
            }
            if (a == name && i + 1 < args.size()) {
                *v = args.at(++i);
                return true;
            }
            return false;
        };
        bool *flag = nullptr;
        for (const auto &[name, target] : flags) {
            if (a == name)
                flag = target;
        }
        QString v;
        if (a == u"--help") {
            return out(usage().toUtf8()) ? Done : outputFailed();
        } else if (a == u"--version") {
            return version();
        } else if (flag) {
            *flag = true;
        } else if (a == u"--wrap" || a == u"--wrap=burasage" || a == u"--no-wrap") {
            o.wrap = a == u"--no-wrap" ? Project::Wrap::Off
                     : a == u"--wrap"  ? Project::Wrap::Push
                                       : Project::Wrap::Hang;
        } else if (a.startsWith(u"--format")) {
            if (!value(u"--format"_s, &v) || (v != u"json" && v != u"text"))
                return usageError(u"--format には json か text を指定してください"_s);
            o.json = v == u"json";
        } else if (a.startsWith(u"--profile")) {
            if (!value(u"--profile"_s, &o.profile) || o.profile.isEmpty())
                return usageError(u"--profile には規則の名前を指定してください"_s);
        } else if (a.startsWith(u"--expect-version")) {
            if (!value(u"--expect-version"_s, &o.expectVersion) || o.expectVersion.isEmpty())
                return usageError(u"--expect-version にはバージョンを指定してください"_s);
        } else if (a.startsWith(u"--wrap=")) {
            return usageError(u"--wrap に指定できるのは burasage だけです: "_s + a);
        } else if (a.startsWith(u"--width")) {
            bool ok = false;
            if (!value(u"--width"_s, &o.width) || o.width.toInt(&ok) < 0 || !ok ||
                o.width.toInt() > ReadmeComposer::kMaxLineWidth)
                return usageError(u"--width には 0 から %1 までの数を指定してください"_s.arg(
                    ReadmeComposer::kMaxLineWidth));
        } else if (a.startsWith(u"--release")) {
            if (!value(u"--release"_s, &o.release))
                return usageError(u"--release には新しい版のバージョンを指定してください"_s);
            o.releasing = true;
        } else if (a.startsWith(u"--date")) {
            if (!value(u"--date"_s, &o.releaseDate))
                return usageError(u"--date には 2026-12-07 のように日付を指定してください"_s);
        } else if (a.startsWith(u"--note")) {
            if (!value(u"--note"_s, &v))
                return usageError(u"--note には更新履歴に書く一行を指定してください"_s);
            o.notes.append(v);
        } else if (a.startsWith(u"--lang=") || a == u"--lang") {
            if (!value(u"--lang"_s, &o.language) || o.language.isEmpty())
                return usageError(u"--lang には言語の記号（en など）を指定してください"_s);
        } else if (a.startsWith(u"--add-language")) {
            if (!value(u"--add-language"_s, &o.addLanguage) || o.addLanguage.isEmpty() ||
                o.addLanguage.contains(u":="))
                return usageError(u"--add-language には言語の記号（en など）を指定してください"_s);
        } else if (a.startsWith(u"--template")) {
            if (!value(u"--template"_s, &o.templateName) || o.templateName.isEmpty())
                return usageError(u"--template にはテンプレートの名前を指定してください"_s);
        } else if (a.startsWith(u"--name")) {
            if (!value(u"--name"_s, &v) || !v.contains(u'='))
                return usageError(u"--name には 見出し=その言語での名前 を指定してください"_s);
            const qsizetype eq = v.indexOf(u'=');
            o.names.append({v.left(eq), v.mid(eq + 1)});
        } else if (a.startsWith(u"--set")) {
            if (!value(u"--set"_s, &v) || !v.contains(u'='))
                return usageError(u"--set には NAME=VALUE を指定してください"_s);
            const qsizetype eq = v.indexOf(u'=');
            o.sets.append({v.left(eq), v.mid(eq + 1)});
        } else if (a.startsWith(u"--write-data")) {
            if (!value(u"--write-data"_s, &o.writeData) || o.writeData.isEmpty())
                return usageError(u"--write-data にはファイル名を指定してください"_s);
        } else if (a.startsWith(u"--import")) {
            if (!value(u"--import"_s, &o.import) || o.import.isEmpty())
                return usageError(u"--import には README のファイル名を指定してください"_s);
        } else {
            return usageError(u"不明なオプションです: "_s + a);
        }
    }
    return finishParse(positional, o);
}

} // namespace ComposeCli
