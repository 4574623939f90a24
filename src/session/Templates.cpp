#include "session/Templates.h"

#include "datafile/DataFileWriter.h"
#include "platform/AppInfo.h"

#include <QDir>
#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace Templates {

namespace {
const QString kSub = u"templates"_s;
const QString kSuffix = u".pwk"_s;
} // namespace

QStringList folders()
{
    return AppInfo::resourceFolders(kSub);
}

QString ownFolder()
{
    return AppInfo::ownResourceFolder(kSub);
}

QList<Template> list(const QStringList &dirs, const QString &own)
{
    QList<Template> out;
    for (const QString &dir : dirs) {
        const QDir d(dir);
        const bool isOwn = QFileInfo(dir) == QFileInfo(own);
        for (const QFileInfo &f : d.entryInfoList({u"*"_s + kSuffix}, QDir::Files, QDir::Name)) {
            const QString name = f.completeBaseName();
            if (!find(out, name))
                out.append({name, f.absoluteFilePath(), isOwn});
        }
    }
    std::stable_sort(out.begin(), out.end(),
                     [](const Template &a, const Template &b) { return a.name < b.name; });
    return out;
}

std::optional<Template> find(const QList<Template> &templates, const QString &name)
{
    for (const Template &t : templates) {
        if (t.name.compare(name, Qt::CaseInsensitive) == 0)
            return t;
    }
    return std::nullopt;
}

Result<> checkName(const QString &name)
{
    const QString trimmed = name.trimmed();
    if (trimmed.isEmpty())
        return Result<>::failure(u"テンプレートの名前が空です"_s);
    for (const QChar c : trimmed) {
        if (u"\\/:*?\"<>|"_s.contains(c) || c.unicode() < 0x20)
            return Result<>::failure(
                u"テンプレートの名前に「%1」は使えません（\\ / : * ? \" < > | は使えません）"_s.arg(
                    c));
    }
    if (trimmed.startsWith(u'.') || trimmed.endsWith(u'.'))
        return Result<>::failure(u"テンプレートの名前は「.」で始めたり終えたりできません"_s);
    return {};
}

Result<QString> save(const Project &project, const QString &name, const QString &folder)
{
    if (const Result<> ok = checkName(name); !ok.ok())
        return Result<QString>::failure(ok.reason());
    if (!QDir().mkpath(folder))
        return Result<QString>::failure(
            u"テンプレートのフォルダー %1 を作れません"_s.arg(QDir::toNativeSeparators(folder)));
    const QString path = QDir(folder).filePath(name.trimmed() + kSuffix);
    const Result<DataFileWriter::WriteReport> w = DataFileWriter::write(path, project);
    if (!w.ok())
        return Result<QString>::failure(w.reason());
    return path;
}

} // namespace Templates
