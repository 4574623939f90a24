// The author's text under the headings: kept in the data file, taken back
// from an edited preview, and read back from README files in any encoding.
#include "TestSupport.h"
#include "datafile/DataFileReader.h"
#include "datafile/DataFileWriter.h"
#include "platform/Cp932.h"
#include "readme/PreviewCapture.h"
#include "readme/ReadmeFile.h"
#include "readme/ReadmeImport.h"

#include <QTest>

using namespace Qt::StringLiterals;

namespace {
const QString kProject = testDataPath(u"texts/project.pwk"_s);

// Texts written as "key=line|line" per text, ";" between texts, sorted;
// "<" is the lead and ">" the tail.
QString dump(const BodyTexts &t)
{
    QStringList parts;
    if (!t.lead.isEmpty())
        parts.append(u"<="_s + t.lead.join(u'|'));
    for (auto it = t.headings.cbegin(); it != t.headings.cend(); ++it)
        parts.append(it.key() + u'=' + it.value().join(u'|'));
    if (!t.tail.isEmpty())
        parts.append(u">="_s + t.tail.join(u'|'));
    parts.sort();
    return parts.join(u';');
}

// The README composed from doc, written in the format and imported again.
ReadmeImport::Imported importComposed(const Document &doc, const ReadmeFile::Format &format = {})
{
    const QString text = ReadmeComposer(doc.project()).compose().value();
    return ReadmeImport::fromBytes(ReadmeFile::bytes(text, format, nullptr)).value();
}
} // namespace

class TstReadmeText : public QObject {
    Q_OBJECT
private slots:
    void dataFileKeepsEveryText_data();
    void dataFileKeepsEveryText();
    void olderReaderOpensTheSameDocument();
    void dataFileKeepsUnlistedValues_data();
    void dataFileKeepsUnlistedValues();
    void previewCapture_data();
    void previewCapture();
    void importReadsEveryEncoding_data();
    void importReadsEveryEncoding();
    void composedWithOddValuesComesBackWhole_data();
    void composedWithOddValuesComesBackWhole();
    void fileTypeFromWhatADialogHandsBack_data();
    void fileTypeFromWhatADialogHandsBack();
};

// Texts that look like the data file's own lines come back as they were;
// a damaged text block is reported with its line, the texts before it kept.
void TstReadmeText::dataFileKeepsEveryText_data()
{
    QTest::addColumn<QString>("texts"); // as dump() writes them
    QTest::addColumn<int>("badLine");   // after cutting the last line's count short
    QTest::newRow("empty lines") << u"<=|;FAQ=||"_s << 0;
    QTest::newRow("data file lines") << u"FAQ=1:=   FAQ:=x|@@@640|@@@72:=FAQ| @@@9;>=@@@8"_s << 0;
    QTest::newRow("spaces and odd keys")
        << u"  =   |:= a := b=\\u3000x ;ソフト紹介=  indented|\\t"_s << 0;
    QTest::newRow("a block cut short") << u"FAQ=a|b;メモ=c"_s << 22;
}

void TstReadmeText::dataFileKeepsEveryText()
{
    QFETCH(QString, texts);
    QFETCH(int, badLine);
    TempAppDir dir;
    Document doc;
    doc.initialize(EntryLists::readAll());
    BodyTexts t;
    for (const QString &part : texts.split(u';')) {
        const QString key = part.section(u'=', 0, 0), lines = part.section(u'=', 1);
        const QStringList l = lines.split(u'|');
        if (key == u"<")
            t.lead = l;
        else if (key == u">")
            t.tail = l;
        else
            t.setUnder(key, l);
    }
    doc.setTexts(t);
    QStringList lines = DataFileWriter::lines(doc.project());
    if (badLine > 0)
        lines.removeLast(); // the last block counts one line more than there is
    Document back;
    const DataFileReader::ReadReport r = openLines(back, lines);
    QCOMPARE(r.malformedLine, badLine);
    if (badLine == 0)
        QCOMPARE(dump(back.texts()), dump(t));
    else
        QCOMPARE(dump(back.texts()), u"FAQ=a|b"_s);
}

// A reader that stops at the first empty line, as older ones do, opens the
// document the texts belong to, without them.
void TstReadmeText::olderReaderOpensTheSameDocument()
{
    TempAppDir dir;
    Document full, older;
    QVERIFY(openFile(full, kProject).ok());
    QVERIFY(!full.texts().isEmpty());
    QStringList lines = Cp932::decode(readFileBytes(kProject)).split(u"\r\n"_s);
    lines = lines.mid(0, lines.indexOf(QString()));
    QVERIFY(openLines(older, lines).complete());
    Project s = full.project();
    s.texts = {};
    QCOMPARE(DataFileWriter::text(older.project()), DataFileWriter::text(s));
}

// Values of fields no entry lists follow the empty line, before the texts.
void TstReadmeText::dataFileKeepsUnlistedValues_data()
{
    QTest::addColumn<QString>("extras"); // lines after the empty line, "|" between
    QTest::addColumn<QString>("writer");
    QTest::addColumn<QString>("address");
    QTest::addColumn<int>("badLine"); // 0: read whole
    QTest::addColumn<QString>("softName");
    QTest::newRow("one value") << u"@@@05:=山田"_s << u"山田"_s << QString() << 0 << u"a"_s;
    // Its item line holds what an older reader reads; this line, the whole value.
    QTest::newRow("a listed value holding :=")
        << u"@@@01:=a:=b := c"_s << QString() << QString() << 0 << u"a:=b := c"_s;
    QTest::newRow("values, then texts") << u"@@@05:=山田|@@@012:=本町 := 1|@@@81|先頭の文章"_s
                                        << u"山田"_s << u"本町 := 1"_s << 0 << u"a"_s;
    QTest::newRow("not a field") << u"@@@05:=山田|@@@023:=1"_s << u"山田"_s << QString() << 7
                                 << u"a"_s;
    QTest::newRow("not a number") << u"@@@0x:=1"_s << QString() << QString() << 6 << u"a"_s;
    QTest::newRow("no separator") << u"@@@05山田"_s << QString() << QString() << 6 << u"a"_s;
    QTest::newRow("after the texts")
        << u"@@@81|先頭の文章|@@@05:=山田"_s << QString() << QString() << 8 << u"a"_s;
}

void TstReadmeText::dataFileKeepsUnlistedValues()
{
    QFETCH(QString, extras);
    QFETCH(QString, writer);
    QFETCH(QString, address);
    QFETCH(int, badLine);
    QFETCH(QString, softName);
    TempAppDir dir;
    QStringList lines =
        QStringList{u"1:=   ソフト名:=a"_s, u"@@@10"_s, u"@@@30"_s, u"@@@680"_s, QString()} +
        extras.split(u'|');
    Document doc;
    doc.initialize(EntryLists::readAll());
    const DataFileReader::ReadReport r = openLines(doc, lines);
    QCOMPARE(r.malformedLine, badLine);
    QCOMPARE(doc.fieldText(Items::Writer), writer);
    QCOMPARE(doc.fieldText(Items::Address), address);
    QCOMPARE(doc.fieldText(Items::SoftName), softName);
    QCOMPARE(doc.items()->entries(), QStringList{u"   ソフト名"_s}); // kept, not listed
    lines[0] = u"1:=   ソフト名:="_s + softName;
    if (badLine == 0) // and written back the same way
        QCOMPARE(DataFileWriter::lines(doc.project()), lines);
}

// A preview edited by hand: where its lines go. Edits are "+N:text" (insert
// before line N), "-N" (remove line N) and "=N:text" (replace line N).
void TstReadmeText::previewCapture_data()
{
    QTest::addColumn<QString>("edits");
    QTest::addColumn<QString>("texts");
    QTest::addColumn<QString>("unplaced");
    // 0 field, 1 separator, 2 ソフト紹介, 3 its text "old", 4 FAQ, 5 separator,
    // 6 end field, 7 copyright
    QTest::newRow("unchanged") << u""_s << u"ソフト紹介=old"_s << u""_s;
    QTest::newRow("text typed under headings")
        << u"+4:new|+5:q|+5:|+8:after"_s << u">=after;FAQ=q|;ソフト紹介=old|new"_s << u""_s;
    QTest::newRow("before the first line")
        << u"+0:title|+0:"_s << u"<=title|;ソフト紹介=old"_s << u""_s;
    QTest::newRow("text removed") << u"-3"_s << u""_s << u""_s;
    QTest::newRow("under a field (its value goes on), under a separator")
        << u"+1:x|+2:y"_s << u"ソフト名=x;ソフト紹介=old"_s << u"y"_s;
    QTest::newRow("heading line changed")
        << u"=2:【 紹介 】|+4:more"_s << u"ソフト紹介=old"_s << u"【 紹介 】|old|more"_s;
    QTest::newRow("heading line removed") << u"-4|+5:q"_s << u"ソフト紹介=old"_s << u"old|q"_s;
    QTest::newRow("a separator removed") << u"-5"_s << u"ソフト紹介=old"_s << u""_s;
}

void TstReadmeText::previewCapture()
{
    QFETCH(QString, edits);
    QFETCH(QString, texts);
    QFETCH(QString, unplaced);
    TempAppDir dir;
    Document doc;
    doc.initialize(EntryLists::readAll());
    doc.items()->setEntries({u"●文頭の項目"_s, u"   ソフト名"_s, u"●本文内の項目"_s,
                             u"   ソフト紹介"_s, u"   FAQ"_s, u"●文末の項目"_s,
                             u"   著作権者(文末)"_s, u"   著作権"_s});
    BodyTexts t;
    t.setUnder(u"ソフト紹介"_s, {u"old"_s});
    doc.setTexts(t);
    const Composition c = ReadmeComposer(doc.project()).composeLines().value();
    QStringList lines;
    for (const ComposedLine &l : c.lines)
        lines.append(l.text.toString());
    QCOMPARE(lines.size(), 8);
    // Edits apply from the last line up, so each N is a line of the composition.
    QStringList list = edits.split(u'|', Qt::SkipEmptyParts);
    std::reverse(list.begin(), list.end());
    for (const QString &e : list) {
        const int n = e.mid(1).section(u':', 0, 0).toInt();
        const QString text = e.section(u':', 1);
        if (e.startsWith(u'+'))
            lines.insert(n, text);
        else if (e.startsWith(u'-'))
            lines.removeAt(n);
        else
            lines[n] = text;
    }
    const PreviewCapture::Captured got = PreviewCapture::capture(c, lines, doc.texts());
    QCOMPARE(dump(got.texts), texts);
    QCOMPARE(got.unplaced.join(u'|'), unplaced);
}

// The README written in each file type reads back as the same project.
void TstReadmeText::importReadsEveryEncoding_data()
{
    QTest::addColumn<QString>("filter");
    for (const ReadmeFile::FileType &type : ReadmeFile::fileTypes()) {
        if (type.format.content == ReadmeFile::Format::Content::Text)
            QTest::newRow(qPrintable(type.filter)) << type.filter;
    }
}

void TstReadmeText::importReadsEveryEncoding()
{
    QFETCH(QString, filter);
    TempAppDir dir;
    Document doc, back;
    QVERIFY(openFile(doc, kProject).ok());
    const ReadmeImport::Imported imported = importComposed(doc, ReadmeFile::formatOf(filter));
    QVERIFY(imported.whole);
    back.load(imported.doc);
    QCOMPARE(DataFileWriter::text(back.project()), DataFileWriter::text(doc.project()));
}

// Values that start with spaces or are empty are a README's own layout,
// not a sign that another program wrote it.
void TstReadmeText::composedWithOddValuesComesBackWhole_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<int>("brackets");
    QTest::addColumn<QString>("width");
    for (int b = 0; b < 3; ++b) {
        for (const QString &v :
             {u" x"_s, QString(), u" "_s, u"　x"_s, u"    動作確認    》　　 x"_s})
            QTest::addRow("[%s] brackets %d", qPrintable(v), b) << v << b << u"80"_s;
    }
    // Other widths are read back from the separator and copyright lines.
    for (const QString &w : {u"40"_s, u"76"_s, u"10"_s})
        QTest::addRow("width %s", qPrintable(w)) << u"x"_s << 0 << w;
}

void TstReadmeText::composedWithOddValuesComesBackWhole()
{
    QFETCH(QString, value);
    QFETCH(int, brackets);
    QFETCH(QString, width);
    TempAppDir dir;
    Document doc;
    doc.initialize(EntryLists::readAll());
    const QStringList lines = {
        u"0:=●文頭の項目:="_s,         u"1:=   ソフト名:=Foo"_s, u"3:=   登録名:="_s,
        u"7:=   動作確認:="_s + value, u"15:=●本文内の項目:="_s, u"16:=   ソフト紹介:=1"_s,
        u"23:=●文末の項目:=1"_s,       u"28:=   著作権:=1"_s,    u"@@@10"_s,
        u"@@@3%1"_s.arg(brackets),     u"@@@6"_s + width};
    QVERIFY(openLines(doc, lines).complete());
    const ReadmeImport::Imported imported = importComposed(doc);
    QVERIFY(imported.whole);
    Document back;
    back.load(imported.doc);
    QCOMPARE(ReadmeComposer(back.project()).compose().value(),
             ReadmeComposer(doc.project()).compose().value());
}

// Dialogs hand the chosen filter back rewritten; spaces and case never
// decide the type, and a name ending in "*" takes the proposed suffix. The
// bytes each type writes for a text with CR LF line ends, a lone CR and LF
// (text, not line ends) and a character beyond ASCII; no type: code page 932.
void TstReadmeText::fileTypeFromWhatADialogHandsBack_data()
{
    QTest::addColumn<QString>("handedBack");
    QTest::addColumn<int>("type"); // -1: none
    QTest::addColumn<QByteArray>("bytes");
    const QByteArray sjis = "\x82\xa0\r\nb\rc\nd\r\n", utf8 = "\xe3\x81\x82\r\nb\rc\nd\r\n",
                     lf = "\xe3\x81\x82\nb\rc\nd\n";
    QTest::newRow("code page 932") << u"テキストファイル　シフトJIS・CR LF(*.txt)"_s << 0 << sjis;
    QTest::newRow("UTF-8") << u"テキストファイル　UTF-8・CR LF(*.txt)"_s << 1 << utf8;
    QTest::newRow("as written") << u"テキストファイル　UTF-8・LF(*.txt)"_s << 3 << lf;
    QTest::newRow("Qt's simplified") << u"テキストファイル UTF-8・LF(*.txt)"_s << 3 << lf;
    QTest::newRow("no spaces, other case") << u"テキストファイルutf-8・lf(*.TXT)"_s << 3 << lf;
    QTest::newRow("BOM") << u"テキストファイル UTF-8 BOM付き・CR LF(*.txt)"_s << 2
                         << "\xef\xbb\xbf"_ba + utf8;
    QTest::newRow("Markdown") << u" Markdown UTF-8・LF(*.md) "_s << 4 << lf;
    QTest::newRow("all files") << u"すべてのファイル (*.*)"_s << 5 << sjis;
    QTest::newRow("a prefix only") << u"テキストファイル"_s << -1 << sjis;
    QTest::newRow("another dialog's") << u"Text files (*.txt)"_s << -1 << sjis;
    QTest::newRow("empty") << QString() << -1 << sjis;
}

void TstReadmeText::fileTypeFromWhatADialogHandsBack()
{
    QFETCH(QString, handedBack);
    QFETCH(int, type);
    QFETCH(QByteArray, bytes);
    const ReadmeFile::FileType *found = ReadmeFile::fileTypeOf(handedBack);
    QCOMPARE(found ? int(found - ReadmeFile::fileTypes().constData()) : -1, type);
    QCOMPARE(ReadmeFile::bytes(u"\u3042\r\nb\rc\nd"_s, ReadmeFile::formatOf(handedBack), nullptr),
             bytes);
    QCOMPARE(ReadmeFile::pathFor(u"/d/README.*"_s, u"README.md"_s), u"/d/README.md"_s);
    QCOMPARE(ReadmeFile::pathFor(u"/d/x.*"_s, u"README"_s), u"/d/x.TXT"_s);
    QCOMPARE(ReadmeFile::pathFor(u"/d/x.*.txt"_s, u"README.md"_s), u"/d/x.*.txt"_s);
}

QTEST_GUILESS_MAIN(TstReadmeText)
#include "tst_readmetext.moc"
