#include "ComposeCli.h"

#include "check/ReleaseCheck.h"
#include "platform/AppInfo.h"
#include "platform/LineFile.h"
#include "platform/UserTexts.h"
#include "readme/ReadmeComposer.h"
#include "readme/ReadmeFile.h"
#include "readme/ReadmeImport.h"
#include "release/Release.h"
#include "session/ProjectSession.h"
#include "session/Templates.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cstdio>
#ifdef Q_OS_WIN
#include <io.h>
#define isatty _isatty
#define fileno _fileno
#else
#include <unistd.h>
#endif
#include <optional>

using namespace Qt::StringLiterals;

namespace ComposeCli {

namespace {

struct Options {
    QString data;
    QString import; // a README read instead of a data file
    QString readme; // empty or "-" means standard output
    QList<QPair<QString, QString>> sets;
    QString writeData;
    bool check = false;
    bool utf8 = false;
    bool bom = false;
    bool lf = false;
    bool markdown = false;
    ReadmeFile::Format format;
    // For this run only: breaking lines and the width, over the project's.
    std::optional<Project::Wrap> wrap;
    QString width;
    // The check before release instead of writing.
    bool checkReadme = false;
    bool json = false;
    QString expectVersion;
    QString profile;
    // A new release: version, date (today when none), notes, replacing the newest entry.
    QString release;
    QString releaseDate;
    QStringList notes;
    bool amend = false;
    bool releasing = false;
    QString templateName; // a new data file from this template
    bool listTemplates = false;
    bool yes = false; // never ask
};

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
           "  --format json       チェックの結果を JSON で表示します（text が既定）\n"
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
           "  --help              この説明を表示します\n"
           "  --version           バージョンを表示します\n"
           "\n"
           "終了コード: 0 完了, 1 --check で差異あり, 2 使い方の誤り, 3 データファイルか README "
           "を読めない, 4 作成の失敗, 5 書き込みの失敗, 6 チェックでエラーあり,\n"
           "          7 確認が要るが尋ねられない\n"_s;
}

int usageError(const QString &message)
{
    err(u"quillet-compose: "_s + message);
    err(u"詳しくは quillet-compose --help を参照してください。"_s);
    return Usage;
}

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

// Parses the arguments; returns -1 to go on, or an exit status.
int parse(const QStringList &args, Options &o)
{
    const std::pair<QStringView, bool *> flags[] = {{u"--check", &o.check},
                                                    {u"--utf8", &o.utf8},
                                                    {u"--bom", &o.bom},
                                                    {u"--lf", &o.lf},
                                                    {u"--markdown", &o.markdown},
                                                    {u"--check-readme", &o.checkReadme},
                                                    {u"--amend", &o.amend},
                                                    {u"--list-templates", &o.listTemplates},
                                                    {u"--yes", &o.yes}};
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
        } else if (a.startsWith(u"--template")) {
            if (!value(u"--template"_s, &o.templateName) || o.templateName.isEmpty())
                return usageError(u"--template にはテンプレートの名前を指定してください"_s);
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

int itemIndexByName(const QString &name)
{
    bool numeric = false;
    const int n = name.toInt(&numeric);
    if (numeric)
        return n >= 0 && n < Items::kCount ? n : -1;
    return Items::NameIndex(Items::names()).indexOf(name);
}

int applySets(const Options &o, Document &doc)
{
    for (const auto &[name, value] : o.sets) {
        const int index = itemIndexByName(name);
        if (index < 0)
            return usageError(u"項目「%1」はありません"_s.arg(name));
        // The two section markers carry no value of their own.
        if (index == Items::StartMarker || index == Items::BodyMarker)
            return usageError(u"項目「%1」には値を設定できません"_s.arg(name));
        const Result<> r = doc.applyStoredValue(index, value);
        if (!r.ok())
            return usageError(u"--set %1: %2"_s.arg(name, r.reason()));
    }
    return -1;
}

void warnUnmappable(const QStringList &chars)
{
    if (!chars.isEmpty())
        err(u"quillet-compose: "_s + UserTexts::unmappable(chars));
}

// A README read in place of a data file; what did not come back whole is
// told, a line each.
int importReadme(const QString &path, ProjectSession &session)
{
    const Result<ReadmeImport::Imported> r = session.importReadme(path);
    if (!r.ok()) {
        err(u"quillet-compose: README を読み込めませんでした: "_s + r.reason());
        return DataUnreadable;
    }
    if (!r->damagedLines.isEmpty())
        err(u"quillet-compose: "_s + UserTexts::damagedLines(r->encoding, r->damagedLines));
    if (!r->unmappable.isEmpty())
        err(u"quillet-compose: "_s + UserTexts::importUnmappable(r->unmappable));
    if (!r->whole) {
        for (const QString &line : r->mapped + r->keptAsIs)
            err(u"quillet-compose: "_s + line);
        err(u"quillet-compose: "_s +
            UserTexts::importTotals(r->encoding, r->mapped.size(), r->keptAsIs.size()));
    }
    return -1;
}

// A question on the terminal; with --yes, or without a terminal, the
// answer is no, and the run stops with NeedsAnswer.
bool ask(const Options &o, const QString &question)
{
    if (o.yes || !isatty(fileno(stdin))) {
        err(u"quillet-compose: "_s + question);
        err(u"quillet-compose: 尋ねられないため中止しました"_s);
        return false;
    }
    err(question + u" [y/N] "_s);
    char answer[16] = {};
    return std::fgets(answer, sizeof answer, stdin) && (answer[0] == 'y' || answer[0] == 'Y');
}

int listTemplates()
{
    QString text;
    for (const Templates::Template &t :
         Templates::list(Templates::folders(), Templates::ownFolder()))
        text += t.name + u'\t' + (t.own ? u"自作"_s : u"付属"_s) + u'\t' +
                QDir::toNativeSeparators(t.path) + u'\n';
    return out(text.toUtf8()) ? Done : outputFailed();
}

// A new data file from a template: DATA is written before anything else.
int fromTemplate(Options &o, ProjectSession &session)
{
    const QList<Templates::Template> all =
        Templates::list(Templates::folders(), Templates::ownFolder());
    const std::optional<Templates::Template> t = Templates::find(all, o.templateName);
    if (!t) {
        QStringList names;
        for (const Templates::Template &x : all)
            names.append(x.name);
        return usageError(u"テンプレート「%1」はありません（あるもの: %2）"_s.arg(
            o.templateName, names.join(u", "_s)));
    }
    const Result<DataFileReader::Parsed> parsed = ProjectSession::readDataFile(t->path);
    if (!parsed.ok()) {
        err(u"quillet-compose: "_s + UserTexts::dataOpenFailed(parsed.reason()));
        return DataUnreadable;
    }
    if (const DataFileReader::ReadReport &r = parsed->report; !r.complete()) {
        err(u"quillet-compose: "_s +
            UserTexts::malformedLine(t->path, r.malformedLine, r.malformedReason));
        return DataUnreadable;
    }
    if (QFileInfo::exists(o.data) &&
        !ask(o, u"%1 はすでにあります。上書きしますか？"_s.arg(QDir::toNativeSeparators(o.data))))
        return NeedsAnswer;
    session.startFrom(parsed.value());
    if (o.writeData.isEmpty())
        o.writeData = o.data;
    return applySets(o, *session.document());
}

// Opens the data file, or imports the README, then applies the --set values.
int load(Options &o, ProjectSession &session)
{
    session.newProject();
    if (!o.templateName.isEmpty())
        return fromTemplate(o, session);
    if (!o.import.isEmpty()) {
        if (const int status = importReadme(o.import, session); status >= 0)
            return status;
        return applySets(o, *session.document());
    }
    const Result<DataFileReader::Parsed> parsed = ProjectSession::readDataFile(o.data);
    if (!parsed.ok()) {
        err(u"quillet-compose: "_s + UserTexts::dataOpenFailed(parsed.reason()));
        return DataUnreadable;
    }
    const DataFileReader::ReadReport *read = &parsed->report;
    if (!read->complete()) {
        err(u"quillet-compose: "_s +
            UserTexts::malformedLine(o.data, read->malformedLine, read->malformedReason));
        return DataUnreadable;
    }
    if (read->foreignEncoding)
        err(u"quillet-compose: "_s + UserTexts::foreignEncoding(o.data));
    session.adopt(o.data, parsed.value());
    return applySets(o, *session.document());
}

int writeData(const QString &path, ProjectSession &session)
{
    const Result<DataFileWriter::WriteReport> w = session.save(path);
    if (!w.ok()) {
        err(u"quillet-compose: "_s + UserTexts::dataSaveFailed(w.reason()));
        return WriteFailed;
    }
    if (!w->notIntact.isEmpty())
        err(u"quillet-compose: "_s + UserTexts::notIntact(w->notIntact));
    warnUnmappable(w->unmappable);
    return -1;
}

// The project as this run composes it: --wrap and --width over its own.
Project forThisRun(const Options &o, Project p)
{
    if (o.wrap)
        p.wrap = *o.wrap;
    if (!o.width.isEmpty())
        p.widthText = QString::number(o.width.toInt());
    return p;
}

// Composes the README and writes it, or compares it with --check.
int writeReadme(const Options &o, const ProjectSession &session)
{
    const Project snapshot = forThisRun(o, session.document()->project());
    const Result<Composition> composed = ReadmeComposer(snapshot).composeLines();
    if (!composed.ok()) {
        err(u"quillet-compose: "_s + UserTexts::readmeComposeFailed(composed.reason()));
        return ComposeFailed;
    }
    QStringList unmappable;
    const QByteArray bytes = ReadmeFile::bytes(
        ReadmeFile::text(composed.value(), snapshot, o.format), o.format, &unmappable);

    if (o.check) {
        const Result<QByteArray> existing = LineFile::readBytes(o.readme);
        return existing.ok() && existing.value() == bytes ? Done : Differs;
    }
    if (o.readme.isEmpty() && !o.templateName.isEmpty())
        return Done; // a new data file alone
    if (o.readme.isEmpty()) {
        if (!out(bytes))
            return outputFailed();
    } else if (const Result<> w = LineFile::writeBytes(o.readme, bytes); !w.ok()) {
        err(u"quillet-compose: "_s + UserTexts::readmeWriteFailed(w.reason()));
        return WriteFailed;
    }
    warnUnmappable(unmappable);
    return Done;
}

// The check before release: a finding a line (or JSON) on standard output;
// profiles that cannot be read are told and left out.
int checkReadme(const Options &o, const ProjectSession &session)
{
    const Project snapshot = forThisRun(o, session.document()->project());
    const Result<Composition> composed = ReadmeComposer(snapshot).composeLines();
    if (!composed.ok()) {
        err(u"quillet-compose: "_s + UserTexts::readmeComposeFailed(composed.reason()));
        return ComposeFailed;
    }
    const SiteProfiles::Loaded loaded = SiteProfiles::load(SiteProfiles::folders());
    for (const QString &problem : loaded.problems)
        err(u"quillet-compose: "_s + problem);
    const QString name = !o.profile.isEmpty() ? o.profile
                         : !snapshot.checkProfile.isEmpty()
                             ? snapshot.checkProfile
                             : QString::fromUtf16(SiteProfiles::kDefault);
    ReleaseCheck::Options options{
        snapshot.widthText.trimmed().toInt(), o.expectVersion, snapshot.silenced, {}};
    QStringList names;
    for (const SiteProfile &p : loaded.profiles) {
        names.append(p.name);
        if (p.name == name)
            options.profiles.append(p);
    }
    if (options.profiles.isEmpty() && !o.profile.isEmpty())
        return usageError(
            u"規則「%1」はありません（あるもの: %2）"_s.arg(name, names.join(u", "_s)));
    if (options.profiles.isEmpty())
        err(u"quillet-compose: 規則「%1」が見つからないため、規則なしでチェックします（あるもの: %2）"_s
                .arg(name, names.join(u", "_s)));
    const std::vector<ReleaseCheck::Finding> found =
        ReleaseCheck::check(snapshot, composed.value(), options);
    QString text;
    const QString file = o.readme.isEmpty() ? u"README.TXT"_s : o.readme;
    for (const ReleaseCheck::Finding &f : found)
        text += ReleaseCheck::toText(f, file) + u'\n';
    if (!out(o.json ? ReleaseCheck::toJson(found) : text.toUtf8()))
        return outputFailed();
    return ReleaseCheck::hasErrors(found) ? CheckFoundErrors : Done;
}

// The release: the version, the date and the history entry set, then the
// data file written over the one opened (or --write-data's).
int release(Options &o, ProjectSession &session)
{
    if (o.release.trimmed().isEmpty())
        return usageError(u"--release のバージョンが空です"_s);
    Release::Request request{o.release, QDate::currentDate(), o.notes, o.amend};
    if (!o.releaseDate.isEmpty()) {
        const Result<QDate> date = Release::parseDate(o.releaseDate);
        if (!date.ok())
            return usageError(u"--date: "_s + date.reason());
        request.date = date.value();
    }
    const Result<Release::Plan> plan = Release::plan(session.document()->project(), request);
    if (!plan.ok())
        return usageError(plan.reason() +
                          (o.amend ? QString() : u"（置き換えるには --amend を付けます）"_s));
    session.applyStep(plan->project, u"新しい版"_s);
    if (o.writeData.isEmpty())
        o.writeData = o.data;
    return -1;
}

} // namespace

int run(const QStringList &arguments)
{
    Options o;
    if (const int status = parse(arguments, o); status >= 0)
        return status;
    if (o.listTemplates)
        return listTemplates();
    ProjectSession session;
    session.setKeepsRecentFiles(false); // a script's files are not the author's recent ones
    if (const int status = load(o, session); status >= 0)
        return status;
    if (o.checkReadme)
        return checkReadme(o, session);
    if (o.releasing) {
        if (const int status = release(o, session); status >= 0)
            return status;
    }
    if (!o.writeData.isEmpty()) {
        if (const int status = writeData(o.writeData, session); status >= 0)
            return status;
    }
    return writeReadme(o, session);
}

} // namespace ComposeCli
