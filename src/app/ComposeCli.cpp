#include "ComposeCli.h"

#include "ComposeOptions.h"
#include "check/ReleaseCheck.h"
#include "platform/AppInfo.h"
#include "platform/LineFile.h"
#include "platform/UserTexts.h"
#include "project/Languages.h"
#include "readme/ReadmeComposer.h"
#include "readme/ReadmeFile.h"
#include "readme/ReadmeImport.h"
#include "release/Release.h"
#include "session/ProjectSession.h"
#include "session/Templates.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <cstdio>
#ifdef Q_OS_WIN
#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
#else
#include <unistd.h>
#endif
#include <optional>

using namespace Qt::StringLiterals;

namespace ComposeCli {

namespace {

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

// The import's report for a script: one JSON object on standard error.
void reportAsJson(const ReadmeImport::Imported &r)
{
    QJsonArray damaged;
    for (const int line : r.damagedLines)
        damaged.append(line);
    const QJsonObject o{{u"encoding"_s, r.encoding},
                        {u"whole"_s, r.whole},
                        {u"mapped"_s, QJsonArray::fromStringList(r.mapped)},
                        {u"keptAsIs"_s, QJsonArray::fromStringList(r.keptAsIs)},
                        {u"damagedLines"_s, damaged},
                        {u"unmappable"_s, QJsonArray::fromStringList(r.unmappable)}};
    const QByteArray bytes = QJsonDocument(o).toJson(QJsonDocument::Indented);
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stderr);
}

// A README read in place of a data file; what did not come back whole is
// told, a line each (or as JSON).
int importReadme(const Options &o, ProjectSession &session)
{
    const Result<ReadmeImport::Imported> r = session.importReadme(o.import);
    if (!r.ok()) {
        err(u"quillet-compose: README を読み込めませんでした: "_s + r.reason());
        return DataUnreadable;
    }
    if (o.json) {
        reportAsJson(r.value());
        return -1;
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

// Whether standard input is a terminal someone can answer at. On Windows
// _isatty() says yes for NUL too, as in "< NUL" in a batch file: only a
// console has a console mode.
bool inputIsTerminal()
{
#ifdef Q_OS_WIN
    DWORD mode = 0;
    return GetConsoleMode(GetStdHandle(STD_INPUT_HANDLE), &mode) != 0;
#else
    return isatty(fileno(stdin)) != 0;
#endif
}

// A question on the terminal; with --yes, or without a terminal, the
// answer is no, and the run stops with NeedsAnswer.
bool ask(const Options &o, const QString &question)
{
    if (o.yes || !inputIsTerminal()) {
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
    return -1;
}

// Opens the data file, or imports the README, then applies the --set values.
int load(Options &o, ProjectSession &session)
{
    session.newProject();
    if (!o.templateName.isEmpty())
        return fromTemplate(o, session);
    if (!o.import.isEmpty()) {
        return importReadme(o, session);
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
    return -1;
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

// Where a language's README goes beside the main one: README_en.txt
// beside README.TXT.
QString readmeBeside(const QString &mainPath, const QString &language)
{
    const QFileInfo f(mainPath);
    const QString name = f.completeBaseName() + u'_' + language +
                         (f.suffix().isEmpty() ? QString() : u'.' + f.suffix().toLower());
    return f.dir().filePath(name);
}

// Composes one language's README and writes it, or compares it with --check.
int writeReadmeIn(const Options &o, const Project &project, const QString &path)
{
    const Project snapshot = forThisRun(o, project);
    const Result<Composition> composed = ReadmeComposer(snapshot).composeLines();
    if (!composed.ok()) {
        err(u"quillet-compose: "_s + UserTexts::readmeComposeFailed(composed.reason()));
        return ComposeFailed;
    }
    QStringList unmappable;
    const QByteArray bytes = ReadmeFile::bytes(
        ReadmeFile::text(composed.value(), snapshot, o.format), o.format, &unmappable);

    if (o.check) {
        const Result<QByteArray> existing = LineFile::readBytes(path);
        return existing.ok() && existing.value() == bytes ? Done : Differs;
    }
    if (path.isEmpty() && !o.templateName.isEmpty())
        return Done; // a new data file alone
    if (path.isEmpty()) {
        if (!out(bytes))
            return outputFailed();
    } else if (const Result<> w = LineFile::writeBytes(path, bytes); !w.ok()) {
        err(u"quillet-compose: "_s + UserTexts::readmeWriteFailed(w.reason()));
        return WriteFailed;
    }
    warnUnmappable(unmappable);
    return Done;
}

// The README, or with --all-languages every language's, side by side.
int writeReadme(const Options &o, const ProjectSession &session)
{
    const Project project = session.document()->project();
    if (!o.allLanguages)
        return writeReadmeIn(o, project, o.readme);
    const Project main = Languages::folded(project);
    int worst = Done;
    for (const QString &language : Languages::all(main)) {
        const QString path =
            language == Languages::mainOf(main) ? o.readme : readmeBeside(o.readme, language);
        const int status = writeReadmeIn(o, Languages::viewIn(main, language), path);
        if (status != Done && status != Differs)
            return status;
        worst = std::max(worst, status);
    }
    return worst;
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

// --add-language, then --lang: the run edits and writes that language.
int chooseLanguage(const Options &o, ProjectSession &session)
{
    Project p = session.document()->project();
    if (!o.addLanguage.isEmpty() && Languages::add(p, o.addLanguage))
        session.applyStep(p, u"言語の追加"_s);
    if (o.language.isEmpty())
        return -1;
    const QStringList all = Languages::all(p);
    if (!all.contains(o.language))
        return usageError(
            u"言語「%1」はありません（あるもの: %2。加えるには --add-language）"_s.arg(
                o.language, all.join(u", "_s)));
    p = Languages::viewIn(p, o.language);
    for (const auto &[entry, name] : o.names) {
        if (o.language == Languages::mainOf(p))
            return usageError(u"--name は元の言語（%1）には使えません"_s.arg(o.language));
        p.languages.shownNames.insert(entry, name);
    }
    session.applyStep(p, u"言語の切り替え"_s);
    return -1;
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
    if (const int status = chooseLanguage(o, session); status >= 0)
        return status;
    if (const int status = applySets(o, *session.document()); status >= 0)
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
