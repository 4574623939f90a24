// READMEs that Quillet did not compose, in the usual styles of freeware
// READMEs (tests/data/foreign), read into a project and composed again.
#include "TestSupport.h"
#include "platform/Cp932.h"
#include "platform/LineFile.h"
#include "readme/ForeignReadme.h"
#include "readme/ReadmeComposer.h"
#include "readme/ReadmeDecoding.h"

#include <QDir>
#include <QFile>
#include <QSet>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace Items;

namespace {
QStringList sampleLines(const QString &name)
{
    QFile f(testDataPath(u"foreign/"_s + name));
    if (!f.open(QIODevice::ReadOnly))
        return {};
    QString text = QString::fromUtf8(f.readAll());
    text.chop(text.endsWith(u'\n') ? 1 : 0);
    return LineFile::splitLines(text);
}
} // namespace

class TstForeign : public QObject {
    Q_OBJECT
private slots:
    void imports_data();
    void imports();
    void landsAndComposes_data() { imports_data(); }
    void landsAndComposes();
    void readsTheBytesAuthorsHave_data();
    void readsTheBytesAuthorsHave();
    void refusesWhatIsNoText();
    void jisCodesAtTheirBoundaries_data();
    void jisCodesAtTheirBoundaries();
    void keepsTheAuthorsOrder_data();
    void keepsTheAuthorsOrder();
    void realReadmesKeepEveryLine_data();
    void realReadmesKeepEveryLine();
};

// The list, fields as "item=value"; the styles as "brackets/line/width" and
// how many headings and lines the report says were kept as they were; some
// texts as "heading=line|line" ("" for the lead).
void TstForeign::imports_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("entries");
    QTest::addColumn<QString>("styles");
    QTest::addColumn<QStringList>("texts");
    QTest::newRow("【】 header, ■ headings")
        << u"brackets.txt"_s
        << u"●文頭の項目|ソフト名=かんたん日記帳|バージョン=2.10|作成日=2024/03/15|"
           u"著作権者=山田 太郎|動作環境=Windows 10/11|ソフトの種別=フリーソフト|転載の可否=自由|"
           u"ホームページ=https://example.jp/nikki/|ソフト紹介|ファイルの説明|"
           u"インストール|アンインストール|注意事項|バージョン履歴"_s
        << u"0/3━/40 0"_s
        << QStringList{
               u"=━━━━━━━━━━━━━━━━━━━━━━━━━━━━━━━━━━━━━━━━|　　　かんたん日記帳　Ver 2.10|"_s
               u"━━━━━━━━━━━━━━━━━━━━━━━━━━━━━━━━━━━━━━━━"_s,
               u"ファイルの説明=  nikki.exe     本体|  readme.txt    このファイル|"_s};
    QTest::newRow("名称： header, [ ] and underlined headings")
        << u"colons.txt"_s
        << u"●文頭の項目|ソフト名=PicResize|バージョン=1.5.2|作成日=2023-08-20|"
           u"著作権者=Kobayashi Soft|動作環境=Windows 8.1 / 10 / 11|"
           u"必要ファイル=.NET Desktop Runtime 8|メールアドレス=picresize@example.com|"
           u"ホームページ=https://example.com/picresize/|ライセンス|ソフト紹介|使い方|"
           u"注意事項|謝辞|バージョン履歴"_s
        << u"3[]/0/62 2"_s
        << QStringList{
               u"===============================================================|  PicResize for Windows  version 1.5.2|"_s
               u"==============================================================|"_s,
               u"謝辞=----|アイコンは Sample Icons さんの素材を使用しました。|"_s,
               u"バージョン履歴=v1.5.2  2023-08-20  不具合修正|v1.5.0  2023-06-01  PNG 対応|"_s
               u"=============================================================="_s};
    QTest::newRow("◆● headings, a field under its heading, a numbered heading")
        << u"marks.txt"_s
        << u"●文頭の項目|ソフト名=MemoClip|バージョン=0.9β|著作権者=すずき|"
           u"メールアドレス=suzuki@example.net|動作環境=Windows 11|"
           u"ソフト紹介|開発環境|連絡先=サポート掲示板 https://example.net/bbs/|"
           u"インストール|著作権について|バージョン履歴"_s
        << u"3◆/0/80 2"_s
        << QStringList{u"=◆◇◆ MemoClip ◆◇◆|"_s, u"開発環境=Visual Studio 2022 / Qt 6.5|"_s,
                       u"著作権について=著作権は作者が保有しています。|再配布は自由です。|"_s};
    QTest::newRow("repeated names, header lines inside a section")
        << u"duplicates.txt"_s
        << u"●文頭の項目|ソフト名=ねこタイマー|バージョン=1.03|著作権者=佐藤花子|謎の項目|"
           u"ソフト紹介|動作環境=Windows 7 以降|バージョン履歴|著作権について"_s
        << u"0/0/80 6"_s
        << QStringList{u"="_s,
                       u"ソフト紹介=猫が知らせてくれるタイマーです。||【説明】|"
                       u"設定画面で時間を選びます。|"_s,
                       u"バージョン履歴=Ver 1.03 2022/05/05|  作者：佐藤花子 が音を追加|"
                       u"  メール：sato@example.org|Ver 1.00 2022/01/01 公開||【ソフト紹介】|"
                       u"（もう一度同じ見出し）|"_s};
}

void TstForeign::imports()
{
    QFETCH(QString, file);
    QFETCH(QString, entries);
    QFETCH(QString, styles);
    QFETCH(QStringList, texts);
    const ReadmeImport::Imported im = ForeignReadme::read(sampleLines(file));
    const Project &d = im.doc;
    QStringList listed;
    for (const QString &e : d.entries) {
        listed.append(Entry::trimSpaces(e).toString());
        for (int k = SoftName; k <= HomePage; ++k) {
            if (listed.last() == QStringView(kHeaderCaptions[size_t(k)]))
                listed.last() += u'=' + d.values[size_t(k)];
        }
    }
    QCOMPARE(listed.join(u'|'), entries);
    QCOMPARE(u"%1%2%3/%4%5/%6 %7"_s.arg(d.bracketStyle)
                 .arg(d.bracketText[0], d.bracketText[1])
                 .arg(d.lineStyle)
                 .arg(d.lineText, d.widthText)
                 .arg(im.keptAsIs.size()),
             styles);
    for (const QString &t : texts) {
        const QString key = t.section(u'=', 0, 0);
        QCOMPARE((key.isEmpty() ? d.texts.lead : d.texts.under(key)).join(u'|'),
                 t.section(u'=', 1));
    }
    QVERIFY(!im.whole);
}

// A line with a letter, digit or kana is a field's value, a heading's name or
// a text line; only decoration goes. The project composes its fields and,
// under their headings, the texts read.
void TstForeign::landsAndComposes()
{
    QFETCH(QString, file);
    TempAppDir dir;
    const QStringList lines = sampleLines(file);
    const ReadmeImport::Imported im = ForeignReadme::read(lines);
    const auto &values = im.doc.values;
    // A header's label may give way to its item's name: its value stays.
    const QStringList ends =
        QStringList(values.begin(), values.begin() + HomePage + 1) + im.doc.ownValues.values();
    QStringList found = im.doc.entries + im.doc.texts.lead + im.keptAsIs;
    for (const QStringList &t : im.doc.texts.headings)
        found += t;
    for (const QString &m : im.mapped)
        found.append(m.section(u" → "_s, 0, 0));
    for (const QString &line : lines) {
        const QString t = line.trimmed();
        const auto in = [&t](const QString &s) { return s.contains(t); };
        const auto endsIn = [&t](const QString &v) { return !v.isEmpty() && t.endsWith(v); };
        if (std::any_of(t.begin(), t.end(), [](QChar c) { return c.isLetterOrNumber(); }))
            QVERIFY2(std::any_of(found.begin(), found.end(), in) ||
                         std::any_of(ends.begin(), ends.end(), endsIn),
                     qPrintable(line));
    }

    Document d;
    d.initialize(EntryLists::readAll());
    d.load(im.doc);
    const Result<QString> readme = ReadmeComposer(d.project()).compose();
    QVERIFY(readme.ok());
    const QStringList out = readme.value().split(u"\r\n"_s);
    for (int k = SoftName; k <= HomePage; ++k)
        QVERIFY(readme.value().contains(values[size_t(k)]));
    QCOMPARE(out.mid(0, im.doc.texts.lead.size()), im.doc.texts.lead);
    for (auto it = im.doc.texts.headings.cbegin(); it != im.doc.texts.headings.cend(); ++it) {
        bool under = false;
        for (qsizetype i = 0; i + it->size() < out.size() && !under; ++i)
            under = out[i].contains(it.key()) && out.mid(i + 1, it->size()) == *it;
        QVERIFY2(under, qPrintable(it.key()));
    }
}

// Files as they come: their encoding found, a README whose header sits above
// a heading laid out as Quillet's is still someone else's, markup and lists
// are no headings. fields: "item=value"; headings: the body entries; report:
// the decisions, one a line.
void TstForeign::readsTheBytesAuthorsHave_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("encoding");
    QTest::addColumn<QString>("fields");
    QTest::addColumn<QString>("headings");
    QTest::addColumn<QString>("damaged");
    QTest::addColumn<QString>("report");
    const QByteArray sjisHeader = Cp932::encode(u"【ソフト名】 Foo\r\n【作者】 Bar\r\n\r\n"_s);
    QTest::newRow("header above a heading of Quillet's layout")
        << sjisHeader + Cp932::encode(u"【アンインストール】\r\n削除してください。\r\n"_s)
        << u"Shift_JIS (CP932)"_s << u"ソフト名=Foo|著作権者=Bar"_s << u"アンインストール"_s
        << QString()
        << u"【ソフト名】 → ソフト名|【作者】 → 著作権者|【アンインストール】 → アンインストール"_s;
    QTest::newRow("EUC-JP")
        << QByteArray("\xa1\xda\xa5\xbd\xa5\xd5\xa5\xc8\xcc\xbe\xa1\xdb \xa5\xc6\xa5\xb9"
                      "\xa5\xc8\x0a\xa1\xda\xba\xee\xa1\xa1\xbc\xd4\xa1\xdb \xbb\xb3\xc5\xc4\x0a"
                      "\x0a\xa2\xa3\xb3\xb5\xcd\xd7\x0a\xb4\xc1\xbb\xfa\xa4\xab\xa4\xca\xb8\xf2"
                      "\xa4\xb8\xa4\xea\xca\xb8\xa4\xc7\xa4\xb9\xa1\xa3")
        << u"EUC-JP"_s << u"ソフト名=テスト|著作権者=山田"_s << u"ソフト紹介"_s << QString()
        << u"【ソフト名】 → ソフト名|【作　者】 → 著作権者|■概要 → ソフト紹介"_s;
    QTest::newRow("ISO-2022-JP")
        << QByteArray("\x1b$B!Z%=%U%HL>![\x1b(B \x1b$B%F%9%H\x1b(B\x0a\x1b$B!Z:n!!<T![\x1b(B "
                      "\x1b$B;3ED\x1b(B\x0a\x0a\x1b$B\"#35MW\x1b(B\x0a\x1b$B4A;z$+$J8r$8$jJ8$G$9!#"
                      "\x1b(B")
        << u"ISO-2022-JP"_s << u"ソフト名=テスト|著作権者=山田"_s << u"ソフト紹介"_s << QString()
        << u"【ソフト名】 → ソフト名|【作　者】 → 著作権者|■概要 → ソフト紹介"_s;
    QTest::newRow("UTF-8 with a stray byte")
        << QByteArray("\xe3\x80\x90\xe5\x90\x8d\xe7\xa7\xb0\xe3\x80\x91 Caf\xc3\xa9\n"
                      "\xe2\x96\xa0\xe6\xa6\x82\xe8\xa6\x81\ncaf\xe9 au lait\n")
        << u"UTF-8"_s << u"ソフト名=Café"_s << u"ソフト紹介"_s << u"3"_s
        << u"【名称】 → ソフト名|■概要 → ソフト紹介"_s;
    QTest::newRow("markup and a list under a heading")
        << QByteArray("\xe2\x96\xa0\xe6\xa6\x82\xe8\xa6\x81\n" // ■概要
                      "<script type=\"text/javascript\">\nvar a = 1;\n</script>\n"
                      "\xe2\x96\xa0 A\n\xe2\x96\xa0 B\n\xe2\x96\xa0 C\n")
        << u"UTF-8"_s << QString() << u"ソフト紹介"_s << QString() << u"■概要 → ソフト紹介"_s;
}

void TstForeign::readsTheBytesAuthorsHave()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, encoding);
    QFETCH(QString, fields);
    QFETCH(QString, headings);
    QFETCH(QString, damaged);
    QFETCH(QString, report);
    const Result<ReadmeImport::Imported> r = ReadmeImport::fromBytes(bytes);
    QVERIFY2(r.ok(), qPrintable(r.reason()));
    QVERIFY(!r->whole);
    QCOMPARE(r->encoding, encoding);
    QStringList set, body;
    for (int k = SoftName; k <= HomePage; ++k) {
        if (!r->doc.values[size_t(k)].isEmpty())
            set.append(
                u"%1=%2"_s.arg(Items::names()[size_t(k)].trimmed(), r->doc.values[size_t(k)]));
    }
    const Items::NameIndex names(Items::names());
    for (const QString &e : r->doc.entries.mid(1)) {
        if (!isField(names.itemOfEntry(e)) && !r->doc.ownValues.contains(e.trimmed()))
            body.append(e.trimmed());
    }
    QCOMPARE(set.join(u'|'), fields);
    QCOMPARE(body.join(u'|'), headings);
    QStringList lines;
    for (int l : r->damagedLines)
        lines.append(QString::number(l));
    QCOMPARE(lines.join(u','), damaged);
    // Only é has no Shift-JIS bytes among these; a damaged byte is told by its line.
    QCOMPARE(r->unmappable, bytes.contains("Caf\xc3\xa9") ? QStringList{u"é"_s} : QStringList());
    QCOMPARE((r->mapped + r->keptAsIs).join(u'|'), report);
    // Nothing with a letter in it is lost.
    const Project &p = r->doc;
    QString all = p.texts.lead.join(u'\n') + p.texts.tail.join(u'\n');
    for (const QStringList &t : p.texts.headings)
        all += t.join(u'\n');
    if (bytes.contains("script"))
        QVERIFY(all.contains(u"</script>"_s) && all.contains(u"■ B"_s));
}

// EUC-JP and ISO-2022-JP reach code page 932 by arithmetic on the JIS row
// and cell; these codes sit at the edges of its cases.
void TstForeign::jisCodesAtTheirBoundaries_data()
{
    QTest::addColumn<QByteArray>("euc");
    QTest::addColumn<QString>("text");
    QTest::newRow("odd row, cell 5F") << QByteArray("\xa1\xdf") << u"×"_s;
    QTest::newRow("odd row, cell 60") << QByteArray("\xa1\xe0") << u"÷"_s;
    QTest::newRow("odd row, last cell") << QByteArray("\xa1\xfe") << u"◇"_s;
    QTest::newRow("even row, first cell") << QByteArray("\xa2\xa1") << u"◆"_s;
    QTest::newRow("row 5E") << QByteArray("\xde\xa1") << u"沺"_s;
    QTest::newRow("row 5F") << QByteArray("\xdf\xa1") << u"漾"_s;
    QTest::newRow("row 60") << QByteArray("\xe0\xa1") << u"燹"_s;
    QTest::newRow("half-width katakana") << QByteArray("\x8e\xb1") << u"ｱ"_s;
}

void TstForeign::jisCodesAtTheirBoundaries()
{
    QFETCH(QByteArray, euc);
    QFETCH(QString, text);
    QCOMPARE(ReadmeDecoding::decodeEucJp(euc), text);
    if (euc.startsWith('\x8e'))
        return;
    QByteArray jis = euc;
    for (char &c : jis)
        c = char(uchar(c) & 0x7F);
    QCOMPARE(ReadmeDecoding::decodeIso2022Jp("\x1b$B" + jis + "\x1b(B"), text);
}

void TstForeign::refusesWhatIsNoText()
{
    const Result<ReadmeImport::Imported> r =
        ReadmeImport::fromBytes(QByteArray("MZ\x90\n\n\x00\x03", 7));
    QVERIFY(!r.ok());
    QVERIFY2(r.reason().contains(u"3 行目"_s), qPrintable(r.reason()));
}

// What the author sees composed: header lines in their order, the author's
// own fields in place, a value's second line under it, every rule where it
// stood, and nothing the original did not have.
void TstForeign::keepsTheAuthorsOrder_data()
{
    QTest::addColumn<QString>("readme");
    QTest::addColumn<QString>("composed");
    QTest::newRow("own field, a value over two lines")
        << u"【ソフト名】 Foo|【開発環境】 VC++|【動作環境】 Windows 95|            Windows 98|"
           u"【作者】 Bar||■概要|ふー"_s
        << u"【    ソフト名    】　　Foo|【    開発環境    】　　VC++|"
           u"【    動作環境    】　　Windows 95|            Windows 98|"
           u"【    著作権者    】　　Bar||【   ソフト紹介   】|ふー"_s;
    const QString rule = QString(30, u'-');
    const QString framed =
        u"|%1| 1. はじめに|%1|はじめの文。|%1| 2. 使い方|%1|使い方の文。"_s.arg(rule);
    QTest::newRow("framed sections after the header")
        << u"【ソフト名】 Foo|"_s + framed << u"【    ソフト名    】　　Foo|"_s + framed;
    QTest::newRow("a label with a rule under it is a heading")
        << u"【ソフト名】 Foo|【連絡先】||%1|　　灯台舎　https://example.jp/|%1"_s.arg(rule)
        << u"【    ソフト名    】　　Foo|【 連絡先について 】||%1|　　灯台舎　https://example.jp/|%1"_s
               .arg(rule);
    QTest::newRow("styles tied: the first one used")
        << u"【概要】|ふー|《使い方》|ほげ"_s
        << u"【   ソフト紹介   】|ふー|【     使い方     】|ほげ"_s;
    QTest::newRow("no header at all")
        << u"■概要|ふー|■使い方|ほげ"_s << u"■ソフト紹介      |ふー|■使い方          |ほげ"_s;
}

void TstForeign::keepsTheAuthorsOrder()
{
    QFETCH(QString, readme);
    QFETCH(QString, composed);
    const auto importAndCompose = [](const QString &text) {
        const ReadmeImport::Imported im = ReadmeImport::fromText(text);
        return ReadmeComposer(ProjectRules::settled(im.doc)).compose().value();
    };
    const QString once = importAndCompose(readme.split(u'|').join(u"\r\n"_s));
    QCOMPARE(once.split(u"\r\n"_s).join(u'|'), composed + u'|');
    QCOMPARE(importAndCompose(once.chopped(2)), once); // and again: the same
}

// READMEs others wrote (tests/data/readmes, sources in SOURCES.md), in the
// encodings they came in: composed again, every line with a word in it is
// there (a header's label may give way to the item's name, its value stays),
// every rule line stands as it was, and importing the result changes nothing.
void TstForeign::realReadmesKeepEveryLine_data()
{
    QTest::addColumn<QString>("file");
    const QDir dir(testDataPath(u"readmes"_s));
    for (const QString &f : dir.entryList({u"*.txt"_s}, QDir::Files, QDir::Name))
        QTest::newRow(qPrintable(f)) << dir.filePath(f);
}

void TstForeign::realReadmesKeepEveryLine()
{
    QFETCH(QString, file);
    const Result<ReadmeImport::Imported> im = ReadmeImport::fromBytes(readFileBytes(file));
    QVERIFY2(im.ok(), qPrintable(im.reason()));
    const QString out = ReadmeComposer(ProjectRules::settled(im->doc)).compose().value();
    const QStringList outLines = out.split(u"\r\n"_s);
    const QSet<QString> composed(outLines.begin(), outLines.end());
    const QString original = ReadmeImport::decode(readFileBytes(file)).value();
    for (const QString &line : LineFile::splitLines(original)) {
        const QString t = line.trimmed();
        if (!std::any_of(t.begin(), t.end(), [](QChar c) { return c.isLetterOrNumber(); })) {
            if (!t.isEmpty())
                QVERIFY2(composed.contains(line), qPrintable(u"rule: "_s + line));
            continue;
        }
        const std::optional<qsizetype> gap = [&]() -> std::optional<qsizetype> {
            for (const QStringView end : {u"】", u"》", u"：", u":", u"\t", u" "}) {
                if (const qsizetype at = t.indexOf(end); at > 0)
                    return at + end.size();
            }
            return std::nullopt;
        }();
        // A heading that became an item, or a heading of its own, is told.
        const auto told = [&](const QString &decision) {
            return decision.startsWith(t + u" → "_s);
        };
        QVERIFY2(out.contains(t) || (gap && out.contains(t.mid(*gap).trimmed())) ||
                     std::any_of(im->mapped.begin(), im->mapped.end(), told) ||
                     std::any_of(im->keptAsIs.begin(), im->keptAsIs.end(), told),
                 qPrintable(u"lost: "_s + line));
    }
    const Result<ReadmeImport::Imported> again = ReadmeImport::fromText(out.chopped(2));
    QCOMPARE(ReadmeComposer(ProjectRules::settled(again->doc)).compose().value(), out);
}

QTEST_GUILESS_MAIN(TstForeign)
#include "tst_foreign.moc"
