// Random sequences of what an author does, from fixed seeds, with the
// document's invariants checked after every step.
#include "TestSupport.h"
#include "datafile/DataFileReader.h"
#include "datafile/DataFileWriter.h"
#include "entrylists/ListEditor.h"
#include "project/Entry.h"
#include "readme/ReadmeComposer.h"
#include "readme/ReadmeFile.h"
#include "readme/ReadmeImport.h"

#include <QRandomGenerator>
#include <QSet>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace Items;

namespace {
const QStringList kValues = {{}, {}, u" "_s, u"値"_s, u"Sample 1.0"_s, u"シェアウエア"_s};
const QStringList kHeadings = {u"メモ"_s, u"●付録"_s, u"FAQ"_s, u" ●付録"_s, u"更新履歴"_s};
const QStringList kWidths = {{}, u"0"_s, u"7"_s, u"40"_s, u"80"_s, u"999"_s};
// The author's text lines: none looks like a heading, field or separator
// line of the styles above, the one thing an import cannot tell apart.
const QStringList kTextLines = {u"本文の一行目。"_s,
                                {},
                                u"見出しではない行 := @@@7 です。"_s,
                                u"　全角の空白で始まる行。"_s,
                                u"記号 【】 ==== を含む行。"_s};

// Composing, importing what was composed, saving, opening and composing
// again gives the same README, byte for byte.
QString importsBack(const Document &doc)
{
    const Result<QString> first = ReadmeComposer(doc.project()).compose();
    // At width 0 a separator is an empty line, as an empty text line is.
    const bool emptyLines = first.ok() && first.value().contains(u"\r\n\r\n");
    if (!first.ok() || (doc.widthText().toInt() == 0 && emptyLines))
        return QString();
    const ReadmeImport::Imported imported =
        ReadmeImport::fromBytes(ReadmeFile::bytes(first.value(), {}, nullptr)).value();
    Document imports;
    imports.load(imported.doc);
    if (!DataFileWriter::textsNotReadBackIntact(imports.project()).isEmpty())
        return QString(); // the save says so
    Document again;
    openLines(again, DataFileWriter::lines(imports.project()));
    const Result<QString> second = ReadmeComposer(again.project()).compose();
    if (imported.whole && second.ok() && second.value() == first.value())
        return QString();
    const QStringList a = first.value().split(u"\r\n"_s), b = second.value().split(u"\r\n"_s);
    qsizetype i = 0;
    while (i < a.size() && i < b.size() && a.at(i) == b.at(i))
        ++i;
    return u"the README imported %1 differs at line %2: [%3] [%4]"_s.arg(
        imported.whole ? u"whole"_s : u"as foreign"_s, QString::number(i + 1), a.value(i),
        b.value(i));
}

// Sets the text under a listed heading, or before or after the README.
void writeText(Document &doc, quint32 a, quint32 b)
{
    BodyTexts texts = doc.texts();
    QStringList lines;
    for (quint32 i = 0; i < b % 4; ++i)
        lines.append(kTextLines.at((a >> (4 * i)) % kTextLines.size()));
    const int n = doc.items()->count();
    if (a % 5 == 0)
        texts.lead = lines;
    else if (a % 5 == 1)
        texts.tail = lines;
    else if (n > 0)
        texts.setUnder(Entry::trimSpaces(doc.items()->entry(int(a % n))).toString(), lines);
    doc.setTexts(texts);
}

// What a save writes opens again as it was, unless the save said it would not:
// repeated entries, texts with ":=" or line breaks.
QString saveThenOpen(Document &doc, const QString &path)
{
    const Project before = doc.project();
    const Result<DataFileWriter::WriteReport> w = DataFileWriter::write(path, before);
    const Result<DataFileReader::ReadReport> r = openFile(doc, path);
    const Project after = doc.project();
    if (w.ok() && (QStringList(before.entries).removeDuplicates() > 0 || !w->notIntact.isEmpty()))
        return QString();
    if (!w.ok() || !r.ok() || !r->complete() || after.entries != before.entries ||
        DataFileWriter::lines(after) != DataFileWriter::lines(before))
        return u"save and open changed the document: "_s + w.reason() + r.reason();
    const Result<QString> a = ReadmeComposer(before).compose(), b = ReadmeComposer(after).compose();
    if (a.ok() != b.ok() || (a.ok() && a.value() != b.value()))
        return u"save and open changed the README"_s;
    return QString();
}

// Listed fields are filled, checked headings are listed unless the author
// deleted their entry, and the README composes.
QString check(Document &doc, QSet<int> &deleted)
{
    const ItemList *list = doc.items();
    for (int i = 0; i < list->count(); ++i)
        for (int k = SoftName; k <= HomePage; ++k)
            if (Entry::standsFor(list->entry(i), doc.itemName(k)) && doc.fieldText(k).isEmpty())
                return u"entry %1 lists the empty field %2"_s.arg(i).arg(k);
    for (int k = FirstBody; k <= LastBody; ++k) {
        if (doc.bodyBox(k - FirstBody) == 0 || list->findItemEntry(doc.itemName(k)) >= 0)
            deleted.remove(k); // from now on its box and its entry agree again
        else if (!deleted.contains(k))
            return u"checked heading %1 has no entry"_s.arg(k);
    }
    const Result<QString> r = ReadmeComposer(doc.project()).compose();
    return r.ok() ? QString() : u"composing failed: "_s + r.reason();
}
} // namespace

class TstModel : public QObject {
    Q_OBJECT
private slots:
    void randomAuthorSessionsKeepTheInvariants_data();
    void randomAuthorSessionsKeepTheInvariants();
};

void TstModel::randomAuthorSessionsKeepTheInvariants_data()
{
    QTest::addColumn<quint32>("seed");
    for (quint32 seed = 1; seed <= 40; ++seed)
        QTest::addRow("seed %u", seed) << seed;
}

void TstModel::randomAuthorSessionsKeepTheInvariants()
{
    QFETCH(quint32, seed);
    TempAppDir dir;
    dir.writeLines(u"Writer.dat"_s, {u"Sample Works"_s, u"Other"_s});
    Document doc;
    doc.initialize(EntryLists::readAll());
    ItemList *list = doc.items();
    QSet<int> deleted; // checked body headings whose entry the author deleted
    QRandomGenerator rng(seed);
    for (int step = 0; step < 200; ++step) {
        int chosen = rng.bounded(104); // the weights below add up to 104
        const quint32 a = rng.generate();
        const quint32 b = rng.generate();
        const int n = list->count(), box = int(a % kBodyCount), end = int(a % kEndCount);
        const QString value = kValues.at(b % kValues.size());
        QSet<int> selected; // headings whose entry is selected
        for (int row = 0; row < n; ++row)
            for (int k = FirstBody; k <= LastBody; ++k)
                if (list->isSelected(row) && Entry::standsFor(list->entry(row), doc.itemName(k)))
                    selected.insert(k);
        QString failure;
        // Authors type far more often than they save; the weights say how often.
        const auto act = [&](int weight, const auto &action) {
            if (chosen >= 0 && (chosen -= weight) < 0)
                action();
        };
        act(30, [&] { doc.setFieldText(1 + int(a % 14), value); });
        act(4, [&] {
            const int f = a % 2 ? Writer : Reprinting;
            doc.pickComboEntry(f, int(b % qMax(1, int(doc.comboEntries(f).size()))));
        });
        act(6, [&] { doc.setBodyBox(box, doc.bodyBox(box) == 1 ? 0 : 1); });
        act(3, [&] { doc.setEndSection(doc.endSection() == 1 ? 0 : 1); });
        act(4, [&] {
            if (doc.endBoxEnabled(end))
                doc.setEndBox(end, doc.endBox(end) == 1 ? 0 : 1);
        });
        act(2, [&] { doc.setLineStyle(int(a % 4)); });
        act(2, [&] { doc.setBracketStyle(int(a % 4)); });
        act(1, [&] { doc.chooseFreeBrackets(); });
        act(2, [&] { doc.setWidthText(kWidths.at(a % kWidths.size())); });
        act(2, [&] {
            if (a % 3 == 0)
                doc.setLineText(value);
            else
                doc.setBracketText(int(a % 3) - 1, value);
        });
        act(5, [&] {
            list->setFocusEntry(int(a % (n + 1)) - 1);
            doc.setAddText(kHeadings.at(b % kHeadings.size()));
            doc.addTypedHeading();
        });
        act(10, [&] { list->toggleSelected(n > 0 ? int(a % n) : 0); });
        act(4, [&] {
            deleted.unite(selected);
            doc.items()->deleteSelected();
        });
        act(4, [&] { doc.items()->moveSelectedUp(); });
        act(4, [&] { doc.items()->moveSelectedDown(); });
        act(4, [&] { list->dropSelected(int(a % (n + 1)) - 1, b % 2); });
        act(4, [&] {
            if (ItemList::Key(a % 7) == ItemList::Key::Delete)
                deleted.unite(selected);
            list->handleKey(ItemList::Key(a % 7), b % 2);
        });
        act(1, [&] { doc.reset(EntryLists::readAll()); });
        act(6, [&] { writeText(doc, a, b); });
        act(4, [&] { failure = saveThenOpen(doc, dir.filePath(u"model.pwk"_s)); });
        act(2, [&] { // a list editor session, then the field is reloaded from its file
            ListEditor ed;
            const EntryLists::ListInfo &row = EntryLists::kLists.at(a % EntryLists::kListCount);
            ed.open(QString::fromUtf16(row.caption));
            ed.setText(value);
            ed.run(ListEditor::Command::Register);
            if (b % 3 == 0)
                ed.run(ListEditor::Command::Delete);
            (void)ed.save();
            doc.setRegisteredList(row.itemIndex,
                                  EntryLists::readList(QString::fromUtf16(row.caption)));
        });
        if (failure.isEmpty())
            failure = check(doc, deleted);
        if (failure.isEmpty() && step % 4 == 3)
            failure = importsBack(doc);
        QVERIFY2(failure.isEmpty(), qPrintable(u"step %1: %2"_s.arg(step).arg(failure)));
    }
}

QTEST_GUILESS_MAIN(TstModel)
#include "tst_model.moc"
