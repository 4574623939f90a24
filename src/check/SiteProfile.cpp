#include "SiteProfile.h"

#include "platform/AppInfo.h"
#include "platform/LineFile.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>

using namespace Qt::StringLiterals;

namespace {

// The line of a byte offset, from 1.
int lineOf(const QByteArray &json, qsizetype offset)
{
    return int(json.left(offset).count('\n')) + 1;
}

// The line a rule starts on: the line of its n-th "{" after "rules".
int lineOfRule(const QByteArray &json, qsizetype n)
{
    qsizetype at = json.indexOf("\"rules\"");
    for (qsizetype i = 0; at >= 0 && i <= n; ++i)
        at = json.indexOf('{', at + 1);
    return at < 0 ? 1 : lineOf(json, at);
}

QStringList strings(const QJsonValue &v, bool *ok)
{
    QStringList out;
    *ok = v.isArray();
    for (const QJsonValue &s : v.toArray()) {
        *ok = *ok && s.isString();
        out.append(s.toString());
    }
    return out;
}

// Why a rule cannot be used, or nothing; fills rule.
QString readRule(const QJsonObject &o, SiteProfile::Rule &rule)
{
    static const QStringList types{u"required"_s, u"maxBytes"_s, u"forbid"_s, u"creditWhen"_s};
    static const QStringList severities{u"error"_s, u"warning"_s, u"note"_s};
    for (const char *key : {"id", "type"}) {
        if (!o.value(QLatin1String(key)).isString())
            return u"「%1」に文字列がありません"_s.arg(QLatin1String(key));
    }
    rule.id = o.value("id"_L1).toString();
    rule.type = o.value("type"_L1).toString();
    rule.severity = o.value("severity"_L1).toString(u"warning"_s);
    rule.message = o.value("message"_L1).toString();
    if (!types.contains(rule.type))
        return u"種類「%1」は使えません（%2）"_s.arg(rule.type, types.join(u", "_s));
    if (!severities.contains(rule.severity))
        return u"重さ「%1」は使えません（error, warning, note）"_s.arg(rule.severity);
    bool ok = true;
    if (rule.type == u"required") {
        for (const QJsonValue &v : o.value("items"_L1).toArray()) {
            bool one = true;
            rule.items.append(v.isString() ? QStringList{v.toString()} : strings(v, &one));
            ok = ok && one && !rule.items.last().isEmpty();
        }
        ok = ok && !rule.items.isEmpty();
        return ok ? QString() : u"「items」は項目名か項目名の並びの並びにしてください"_s;
    }
    if (rule.type == u"creditWhen") {
        // Without "mentions" the heading is always wanted.
        const QJsonValue mentions = o.value("mentions"_L1);
        rule.mentions = mentions.toString();
        rule.headings = strings(o.value("headings"_L1), &ok);
        return ok && (mentions.isUndefined() || !rule.mentions.isEmpty())
                   ? QString()
                   : u"「mentions」は文字列、「headings」は文字列の並びにしてください"_s;
    }
    if (!o.value("item"_L1).isString())
        return u"「item」に項目名がありません"_s;
    rule.item = o.value("item"_L1).toString();
    if (rule.type == u"maxBytes") {
        if (!o.value("max"_L1).isDouble() || o.value("max"_L1).toInt() <= 0)
            return u"「max」は正の数にしてください"_s;
        rule.max = o.value("max"_L1).toInt();
        return QString();
    }
    rule.pattern = o.value("pattern"_L1).toString();
    if (rule.pattern.isEmpty() || !QRegularExpression(rule.pattern).isValid())
        return u"「pattern」は正しい正規表現にしてください"_s;
    return QString();
}

} // namespace

Result<SiteProfile> SiteProfile::read(const QByteArray &json, const QString &fileName)
{
    const auto failure = [&](int line, const QString &why) {
        return Result<SiteProfile>::failure(
            u"%1 の %2 行目: %3"_s.arg(QDir::toNativeSeparators(fileName)).arg(line).arg(why));
    };
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(json, &error);
    if (error.error != QJsonParseError::NoError)
        return failure(lineOf(json, error.offset),
                       u"JSON として読めません（%1）"_s.arg(error.errorString()));
    const QJsonObject root = doc.object();
    if (!doc.isObject() || !root.value("title"_L1).isString() || !root.value("rules"_L1).isArray())
        return failure(1, u"「title」（文字列）と「rules」（並び）が必要です"_s);
    SiteProfile p;
    p.name = QFileInfo(fileName).completeBaseName();
    p.title = root.value("title"_L1).toString();
    const QJsonArray rules = root.value("rules"_L1).toArray();
    for (qsizetype i = 0; i < rules.size(); ++i) {
        Rule rule;
        const QString why = rules.at(i).isObject() ? readRule(rules.at(i).toObject(), rule)
                                                   : u"規則はオブジェクトにしてください"_s;
        if (!why.isEmpty())
            return failure(lineOfRule(json, i), u"%1 番目の規則: %2"_s.arg(i + 1).arg(why));
        p.rules.append(rule);
    }
    return p;
}

namespace SiteProfiles {

Loaded load(const QStringList &dirs)
{
    Loaded out;
    QStringList seen;
    for (const QString &dir : dirs) {
        const QDir d(dir);
        for (const QString &name : d.entryList({u"*.json"_s}, QDir::Files, QDir::Name)) {
            const QString path = d.filePath(name);
            const Result<QByteArray> bytes = LineFile::readBytes(path);
            const Result<SiteProfile> p = bytes.ok() ? SiteProfile::read(bytes.value(), path)
                                                     : Result<SiteProfile>::failure(bytes.reason());
            // One that cannot be read leaves the name to the next folder's.
            if (!p.ok()) {
                out.problems.append(p.reason());
            } else if (!seen.contains(p->name)) {
                out.profiles.append(p.value());
                seen.append(p->name);
            }
        }
    }
    return out;
}

QStringList folders()
{
    return AppInfo::resourceFolders(u"profiles"_s);
}

} // namespace SiteProfiles
