// The registered-entry lists from the bytes up: code page 932, files, editor.
#include "TestSupport.h"
#include "entrylists/ListEditor.h"
#include "platform/AppInfo.h"
#include "platform/Cp932.h"
#include "platform/LineFile.h"

#include <QDir>
#include <QTest>

using namespace Qt::StringLiterals;
using Key = ListEditor::Key;

namespace {
// The editor opened on the writer list, the file holding the given bytes.
struct Editor : TempAppDir {
    ListEditor ed;
    explicit Editor(const QByteArray &file)
    {
        write(u"Writer.dat"_s, file);
        ed.open(u"著作権者の登録"_s);
    }
    // "a b* | RD | text": entries (the selected one starred), enabled buttons, text box.
    QString state() const
    {
        QStringList words = ed.entries();
        if (ed.selected() >= 0)
            words[ed.selected()] += u'*';
        return words.join(u' ') + u" | "_s + (ed.registerEnabled() ? u"R"_s : QString()) +
               (ed.deleteEnabled() ? u"D"_s : QString()) + u" | "_s + ed.text();
    }
    // What closing the editor leaves in the file.
    QByteArray closed() { return ed.save().ok() ? read(u"Writer.dat"_s) : "(failed)"_ba; }
};
} // namespace

class TstEntryLists : public QObject {
    Q_OBJECT
private slots:
    void cp932_data();
    void cp932();
    void read_data();
    void read();
    void failuresNameTheFile();
    void saveAndReloadByCaption_data();
    void saveAndReloadByCaption();
    void registering();
    void deleting();
    void unchangedListIsNotRewritten();
};

// Which ways a row converts: most go both ways. Foreign bytes only decode;
// an alias decodes to characters that are written with other bytes.
constexpr int Both = 0, EncodeOnly = 1, DecodeOnly = 2, Alias = 3;

void TstEntryLists::cp932_data()
{
    QTest::addColumn<int>("way");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("unmappable");
    const QStringList none;
    QTest::newRow("half-width") << Both << u"｡ｱﾊﾞｰﾟ"_s << "\xa1\xb1\xca\xde\xb0\xdf"_ba << none;
    QTest::newRow("full-width") << Both << u"ソ・　"_s << "\x83\x5c\x81\x45\x81\x40"_ba << none;
    QTest::newRow("NEC and IBM extensions") << Both << u"①髙"_s << "\x87\x40\xfb\xfc"_ba << none;
    // Characters of two rows are written as glibc writes them: the IBM row
    // over the NEC-selected one, the standard row over NEC row 13.
    QTest::newRow("rows written") << Both << u"ⅰ≒～＼"_s << "\xfa\x40\x81\xe0\x81\x60\x81\x5f"_ba
                                  << none;
    QTest::newRow("rows only read") << Alias << u"ⅰ≒"_s << "\xee\xef\x87\x90"_ba;
    QTest::newRow("unmappable become ?")
        << EncodeOnly << u"A😀B€😀ä"_s << "A?B???"_ba << QStringList{u"😀"_s, u"€"_s, u"ä"_s};
    // What the input methods of Linux type for the wave dash and the minus.
    QTest::newRow("one-way mappings")
        << EncodeOnly << u"〜−¬¥‾"_s << "\x81\x60\x81\x7c\x81\xca\x5c\x7e"_ba << none;
    QTest::newRow("unmappable among eight and more")
        << EncodeOnly << u"ソフト名 Sample 😀€ä€"_s
        << "\x83\x5c\x83\x74\x83\x67\x96\xbc Sample ????"_ba << QStringList{u"😀"_s, u"€"_s, u"ä"_s};
    // 0x80 is no character; a bad trail costs only its lead byte, as does a last lead.
    QTest::newRow("malformed") << DecodeOnly << u"A\uFFFD ソ\uFFFD\uFFFD"_s
                               << "A\x81 \x83\x5c\x80\x82"_ba;
    // No character: 0xA0 or 0xFD alone or after a lead, 0x7F after a lead, a
    // lead of an empty row, a lead at the end.
    QTest::newRow("invalid bytes")
        << DecodeOnly << u"\uFFFD\uFFFD\uFFFD\x7f\uFFFD\uFFFD\uFFFD@\uFFFD"_s
        << "\xa0\xfd\x81\x7f\x81\xfd\x85\x40\xfc"_ba;
    QTest::newRow("UTF-8: katakana to us, yet foreign") << DecodeOnly << u"ﾃ､"_s << "\xc3\xa4"_ba;
}

void TstEntryLists::cp932()
{
    QFETCH(int, way);
    QFETCH(QString, text);
    QFETCH(QByteArray, bytes);
    if (way == Both || way == EncodeOnly) {
        QFETCH(QStringList, unmappable);
        QStringList named;
        QCOMPARE(Cp932::encode(text, &named), bytes);
        QCOMPARE(named, unmappable);
        QCOMPARE(Cp932::unmappableCharacters(text), unmappable);
        // The layout measures text in the bytes it takes, "?" for the unmappable.
        QCOMPARE(Cp932::byteWidth(text), bytes.size());
    }
    if (way != EncodeOnly)
        QCOMPARE(Cp932::decode(bytes), text);
    QCOMPARE(Cp932::looksLikeOtherEncoding(bytes), way == DecodeOnly);
}

void TstEntryLists::read_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("lines"); // each line followed by "|"
    QTest::newRow("empty file") << ""_ba << QString();
    QTest::newRow("CR LF, CR, LF, none") << "a\r\nb\rc\nd"_ba << u"a|b|c|d|"_s;
    QTest::newRow("empty lines, LF CR is two") << "\r\n\n\r x "_ba << u"||| x |"_s;
}

void TstEntryLists::read()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, lines);
    TempAppDir dir;
    dir.write(u"a.dat"_s, bytes);
    const auto r = LineFile::read(dir.filePath(u"a.dat"_s));
    QVERIFY(r.ok());
    QCOMPARE(r.value().join(u'|') + (r.value().isEmpty() ? u""_s : u"|"_s), lines);
}

void TstEntryLists::failuresNameTheFile()
{
    TempAppDir dir;
    const auto failsNamed = [&](const QString &name, const auto &result) {
        return !result.ok() &&
               result.reason().startsWith(QDir::toNativeSeparators(dir.filePath(name)) + u": "_s);
    };
    dir.write(u"keep.dat"_s, "old\r\n"_ba);
    QFile big(dir.filePath(u"big.dat"_s));
    QVERIFY(big.open(QIODevice::WriteOnly) && big.resize(LineFile::kMaxFileSize + 1)); // sparse
    big.close();
    for (const QString &name : {u"missing.dat"_s, u"."_s, u"big.dat"_s})
        QVERIFY2(failsNamed(name, LineFile::read(dir.filePath(name))), qPrintable(name));
    QVERIFY(failsNamed(u"."_s, LineFile::write(dir.filePath(u"."_s), {})));
    // A write that fails leaves the old file whole and nothing else behind.
    const ReadOnlyDir guard(dir.path());
    if (!guard.effective())
        QSKIP("this file system lets the user write into a read-only directory");
    QVERIFY(failsNamed(u"keep.dat"_s, LineFile::write(dir.filePath(u"keep.dat"_s), {u"new"_s})));
    QCOMPARE(dir.read(u"keep.dat"_s), "old\r\n"_ba);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), (QStringList{u"big.dat"_s, u"keep.dat"_s}));
}

void TstEntryLists::saveAndReloadByCaption_data()
{
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("file");
    QTest::newRow("writer") << u"著作権者の登録"_s << u"Writer.dat"_s;
    QTest::newRow("environment") << u"動作環境の登録"_s << u"Environment.dat"_s;
    QTest::newRow("confirmation") << u"動作確認の登録"_s << u"Confirmation.dat"_s;
    QTest::newRow("files") << u"必要ファイルの登録"_s << u"Dll.dat"_s;
    QTest::newRow("class") << u"ソフトの種別の登録"_s << u"SoftClass.dat"_s;
    QTest::newRow("address") << u"連絡先の登録"_s << u"Address.dat"_s;
    QTest::newRow("mail") << u"メールアドレスの登録"_s << u"EMail.dat"_s;
    QTest::newRow("home page") << u"ホームページアドレスの登録"_s << u"HP.dat"_s;
    QTest::newRow("other caption") << u"登録"_s << QString();
    QTest::newRow("caption with a space") << u"著作権者の登録 "_s << QString();
}

void TstEntryLists::saveAndReloadByCaption()
{
    QFETCH(QString, caption);
    QFETCH(QString, file);
    QCOMPARE(AppInfo::modeName(), u"インストール"_s); // no marker beside the tests
    TempAppDir dir;
    QCOMPARE(AppInfo::modeName(), u"ポータブル"_s);
    const auto r = EntryLists::saveList(caption, {u"東京都"_s, QString(), u" x😀"_s});
    QCOMPARE(EntryLists::listPath(caption), file.isEmpty() ? QString() : dir.filePath(file));
    QCOMPARE(r.ok() && r->written, !file.isEmpty());
    QCOMPARE(r.reason().isEmpty(), !file.isEmpty());
    if (!file.isEmpty()) {
        QCOMPARE(dir.read(file), "\x93\x8c\x8b\x9e\x93\x73\r\n\r\n x?\r\n"_ba);
        QCOMPARE(r->unmappable, QStringList{u"😀"_s});
    }
    const QStringList back{u"東京都"_s, QString(), u" x?"_s};
    QCOMPARE(EntryLists::readList(caption), file.isEmpty() ? QStringList() : back);
}

void TstEntryLists::registering()
{
    Editor e("old1\r\nold2\r\n"_ba);
    QCOMPARE(e.state(), u"old1 old2 |  | "_s);
    e.ed.textKey(Key::Insert); // nothing typed: nothing registered
    e.ed.setText(u"A"_s);
    QCOMPARE(e.state(), u"old1 old2 | R | A"_s);
    e.ed.run(ListEditor::Command::Register);
    QCOMPARE(e.state(), u"A* old1 old2 | D | "_s);
    e.ed.setText(u"B"_s);
    e.ed.buttonKey(Key::Insert);
    e.ed.setText(u"typed but not registered"_s);
    QCOMPARE(e.closed(), "B\r\nA\r\nold1\r\nold2\r\n"_ba);
    e.ed.setText(u"keep"_s);
    e.ed.run(ListEditor::Command::ClearAll); // clear all; nothing left to delete
    QCOMPARE(e.state(), u" |  | "_s);
    e.ed.setText(u"keep"_s);
    e.ed.run(ListEditor::Command::Revert); // revert leaves the text box alone
    QCOMPARE(e.state(), u"B A old1 old2 | RD | keep"_s);
    e.ed.run(ListEditor::Command::ClearAll);
    QCOMPARE(e.closed(), ""_ba);
}

void TstEntryLists::deleting()
{
    Editor e("a\r\nb\r\nc\r\n"_ba);
    e.ed.setText(u"new"_s);
    e.ed.run(ListEditor::Command::Register);
    e.ed.textKey(Key::Delete); // the entry just registered goes
    QCOMPARE(e.state(), u"a b c | D | "_s);
    e.ed.clickEntry(1);
    e.ed.setText(u"typed"_s);
    e.ed.run(
        ListEditor::Command::Delete); // the button selects the following entry, empties the text
    QCOMPARE(e.state(), u"a c* | D | "_s);
    e.ed.run(ListEditor::Command::Delete); // the last entry: nothing left to select
    e.ed.setText(u"x"_s);
    e.ed.run(ListEditor::Command::Delete); // nothing selected: only the text goes
    QCOMPARE(e.state(), u"a | D | "_s);
    e.ed.clickEntry(0);
    e.ed.listKey(Key::Delete); // the key selects nothing afterwards; the list is empty
    QCOMPARE(e.state(), u" |  | "_s);
    e.ed.buttonKey(Key::Escape); // reloads the file, turns the button off
    QCOMPARE(e.state(), u"a b c |  | "_s);
}

void TstEntryLists::unchangedListIsNotRewritten()
{
    const QByteArray utf8 = u"サンプル工房\nもう一つ"_s.toUtf8();
    Editor e(utf8);
    QVERIFY(e.ed.fileLooksForeign());
    e.ed.clickEntry(0);
    QVERIFY(!e.ed.save()->written);
    QCOMPARE(e.read(u"Writer.dat"_s), utf8);
    e.ed.run(ListEditor::Command::Delete); // a real change is written
    QVERIFY(e.ed.save()->written);
    QVERIFY(e.read(u"Writer.dat"_s) != utf8);

    TempAppDir empty; // a list that is not there is not created empty
    ListEditor missing;
    missing.open(u"著作権者の登録"_s);
    missing.run(ListEditor::Command::ClearAll);
    QVERIFY(!missing.save()->written);
    QVERIFY(!QFile::exists(empty.filePath(u"Writer.dat"_s)));
    missing.setText(u"A"_s);
    missing.run(ListEditor::Command::Register);
    QVERIFY(missing.save()->written);
    QCOMPARE(empty.read(u"Writer.dat"_s), "A\r\n"_ba);
}

QTEST_GUILESS_MAIN(TstEntryLists)
#include "tst_entrylists.moc"
