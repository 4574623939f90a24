// Random sequences of what an author does, from fixed seeds, with the
// document's invariants checked after every step. A failure prints the seed
// and the shortest sequence that still fails.
#include "TestSupport.h"
#include "datafile/DataFileReader.h"
#include "datafile/DataFileWriter.h"
#include "document/Document.h"
#include "entrylists/ListEditor.h"
#include "readme/ReadmeComposer.h"

#include <QRandomGenerator>
#include <QSet>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace Items;

namespace {

enum Kind {
    TypeField,
    PickCombo,
    ClickBody,
    ClickEndSentence,
    ClickEnd,
    LineOption,
    BracketOption,
    ClickLabel5,
    TypeLineCount,
    TypeFreeText,
    AddHeading,
    ToggleSelection,
    DeleteSelected,
    MoveUp,
    MoveDown,
    Drop,
    ListKey,
    New,
    SaveThenOpen,
    EditList,
    KindCount
};

struct Step {
    Kind kind;
    quint32 a;
    quint32 b;
};

const QStringList kValues = {QString(), QString(),       u" "_s,
                             u"値"_s,   u"Sample 1.0"_s, u"シェアウエア"_s};
const QStringList kHeadings = {u"メモ"_s, u"●付録"_s, u"FAQ"_s, u" ●付録"_s, u"更新履歴"_s};
const QStringList kWidths = {QString(), u"0"_s, u"7"_s, u"40"_s, u"80"_s, u"999"_s};

QString describe(const Step &s)
{
    static const char *names[] = {
        "TypeField",      "PickCombo",    "ClickBody",     "ClickEndSentence",
        "ClickEnd",       "LineOption",   "BracketOption", "ClickLabel5",
        "TypeLineCount",  "TypeFreeText", "AddHeading",    "ToggleSelection",
        "DeleteSelected", "MoveUp",       "MoveDown",      "Drop",
        "ListKey",        "New",          "SaveThenOpen",  "EditList"};
    return u"%1(%2, %3)"_s.arg(QString::fromLatin1(names[s.kind])).arg(s.a).arg(s.b);
}

class Session {
public:
    Session()
    {
        m_dir.writeLines(u"Writer.dat"_s, {u"Sample Works"_s, u"Other"_s});
        m_doc.InitializeForm();
    }

    // Runs the steps; returns "" or what went wrong after which step.
    QString run(const QList<Step> &steps)
    {
        for (qsizetype i = 0; i < steps.size(); ++i) {
            QString failure = apply(steps.at(i));
            if (failure.isEmpty())
                failure = check();
            if (!failure.isEmpty())
                return u"after step %1 %2: %3"_s.arg(i).arg(describe(steps.at(i)), failure);
        }
        return QString();
    }

private:
    static int toggled(int state) { return state == 1 ? 0 : 1; }

    void noteDeletedHeadings(const QList<int> &rows)
    {
        for (int row : rows) {
            for (int k = FirstBody; k <= LastBody; ++k) {
                if (ItemList::matches(m_doc.items()->entry(row), m_doc.ItemNames(k)))
                    m_deleted.insert(k);
            }
        }
    }

    QList<int> selectedRows() const
    {
        QList<int> rows;
        for (int i = 0; i < m_doc.items()->count(); ++i) {
            if (m_doc.items()->isSelected(i))
                rows.append(i);
        }
        return rows;
    }

    void setBody(int i, int state)
    {
        if (state != 0 && m_doc.chkBody(i) == 0)
            m_deleted.remove(FirstBody + i); // the click lists it again
        m_doc.setChkBody(i, state);
    }

    QString apply(const Step &s);
    QString saveThenOpen();
    void editList(const Step &s);
    QString check();

    TempAppDir m_dir;
    Document m_doc;
    QSet<int> m_deleted; // body headings whose entry the author deleted
};

QString Session::apply(const Step &s)
{
    ItemList *list = m_doc.items();
    const int n = list->count();
    switch (s.kind) {
    case TypeField:
        m_doc.setFieldText(1 + int(s.a % 14), kValues.at(s.b % kValues.size()));
        break;
    case PickCombo: {
        const int field = s.a % 2 ? Writer : Reprinting;
        if (!m_doc.comboEntries(field).isEmpty())
            m_doc.pickComboEntry(field, int(s.b % m_doc.comboEntries(field).size()));
        break;
    }
    case ClickBody:
        setBody(int(s.a % kBodyCount), toggled(m_doc.chkBody(int(s.a % kBodyCount))));
        break;
    case ClickEndSentence:
        m_doc.setChkEndSentence(toggled(m_doc.chkEndSentence()));
        break;
    case ClickEnd:
        if (m_doc.chkEndEnabled(int(s.a % kEndCount)))
            m_doc.setChkEnd(int(s.a % kEndCount), toggled(m_doc.chkEnd(int(s.a % kEndCount))));
        break;
    case LineOption:
        m_doc.setOptLineType(int(s.a % 4));
        break;
    case BracketOption:
        m_doc.setOptBracketsType(int(s.a % 4));
        break;
    case ClickLabel5:
        m_doc.Label5_Click(int(s.a % 2));
        break;
    case TypeLineCount:
        m_doc.setTxtLineCount(kWidths.at(s.a % kWidths.size()));
        break;
    case TypeFreeText:
        if (s.a % 3 == 0)
            m_doc.setTxtLineType(kValues.at(s.b % kValues.size()));
        else
            m_doc.setTxtBracketsType(int(s.a % 3) - 1, kValues.at(s.b % kValues.size()));
        break;
    case AddHeading:
        list->setFocusEntry(int(s.a % (n + 1)) - 1);
        m_doc.setTxtAdd(kHeadings.at(s.b % kHeadings.size()));
        m_doc.cmdAddDel_Click(0);
        break;
    case ToggleSelection:
        if (n > 0)
            list->toggleSelected(int(s.a % n));
        break;
    case DeleteSelected:
        noteDeletedHeadings(selectedRows());
        m_doc.cmdAddDel_Click(1);
        break;
    case MoveUp:
    case MoveDown:
        m_doc.cmdUpDown_Click(s.kind == MoveUp ? 0 : 1);
        break;
    case Drop:
        list->DropSelected(int(s.a % (n + 1)) - 1, s.b % 2);
        break;
    case ListKey: {
        const auto key = ItemList::Key(s.a % 7);
        if (key == ItemList::Key::Delete)
            noteDeletedHeadings(selectedRows());
        list->KeyDown(key, s.b % 2);
        break;
    }
    case New:
        m_doc.New();
        m_deleted.clear();
        break;
    case SaveThenOpen:
        return saveThenOpen();
    case EditList:
        editList(s);
        break;
    case KindCount:
        break;
    }
    return QString();
}

QString Session::saveThenOpen()
{
    const DocumentSnapshot before = m_doc.snapshot();
    const QString path = m_dir.filePath(u"model.pwk"_s);
    const DataFileWriter::Result w = DataFileWriter::write(path, before);
    if (!w.ok)
        return u"save failed: "_s + w.error;
    const DataFileReader::Result r = DataFileReader::read(path, m_doc);
    const bool distinct =
        QSet<QString>(before.entries.begin(), before.entries.end()).size() == before.entries.size();
    if (!distinct || !w.notIntact.isEmpty())
        return QString();
    if (!r.ok())
        return u"reading the saved file failed at line %1: %2"_s.arg(r.line).arg(r.reason);
    const DocumentSnapshot after = m_doc.snapshot();
    if (after.entries != before.entries)
        return u"entries differ after save and open"_s;
    if (DataFileWriter::lines(after) != DataFileWriter::lines(before))
        return u"values or styles differ after save and open"_s;
    return QString();
}

// A list editor session on one list, then the field is reloaded from its file.
void Session::editList(const Step &s)
{
    const EntryLists::ListInfo &l = EntryLists::kLists.at(s.a % EntryLists::kListCount);
    ListEditor ed;
    ed.open(QString::fromUtf16(l.caption));
    ed.setText(kValues.at(s.b % kValues.size()));
    ed.cmdRegist_Click(0);
    if (s.b % 3 == 0)
        ed.cmdRegist_Click(1);
    ed.save();
    m_doc.reloadRegisteredList(int(s.a % EntryLists::kListCount));
}

QString Session::check()
{
    const ItemList *list = m_doc.items();
    for (int i = 0; i < list->count(); ++i) {
        for (int k = SoftName; k <= HomePage; ++k) {
            if (ItemList::matches(list->entry(i), m_doc.ItemNames(k)) &&
                m_doc.fieldText(k).isEmpty())
                return u"entry %1 lists the empty field %2"_s.arg(i).arg(k);
        }
    }
    for (int k = FirstBody; k <= LastBody; ++k) {
        if (m_doc.chkBody(k - FirstBody) != 0 && !m_deleted.contains(k) &&
            list->FindItemEntry(m_doc.ItemNames(k)) < 0)
            return u"checked heading %1 has no entry"_s.arg(k);
    }
    ReadmeComposer composer(m_doc.snapshot());
    const ReadmeComposer::Result r = composer.BuildReadme();
    if (!r.ok)
        return u"composing failed: "_s + r.error;
    return QString();
}

// Authors type far more often than they save; the weights say how often.
Kind randomKind(QRandomGenerator &rng)
{
    static const int weights[KindCount] = {30, 4,  6, 3, 4, 2, 2, 1, 2, 2,
                                           5,  10, 4, 4, 4, 4, 4, 1, 4, 2};
    int total = 0;
    for (int w : weights)
        total += w;
    int pick = rng.bounded(total);
    for (int k = 0; k < KindCount; ++k) {
        if ((pick -= weights[k]) < 0)
            return Kind(k);
    }
    return TypeField;
}

QList<Step> randomSteps(quint32 seed, int count)
{
    QRandomGenerator rng(seed);
    QList<Step> steps;
    for (int i = 0; i < count; ++i) {
        const Kind kind = randomKind(rng);
        steps.append({kind, rng.generate(), rng.generate()});
    }
    return steps;
}

// Removes steps one at a time while the sequence still fails.
QList<Step> shrink(QList<Step> steps)
{
    for (bool progress = true; progress;) {
        progress = false;
        for (qsizetype i = 0; i < steps.size(); ++i) {
            QList<Step> shorter = steps;
            shorter.removeAt(i);
            if (!Session().run(shorter).isEmpty()) {
                steps = shorter;
                progress = true;
                --i;
            }
        }
    }
    return steps;
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
    const QList<Step> steps = randomSteps(seed, 200);
    const QString failure = Session().run(steps);
    if (failure.isEmpty())
        return;
    QStringList shortest;
    for (const Step &s : shrink(steps))
        shortest.append(describe(s));
    QFAIL(qPrintable(u"seed %1, %2\nshortest failing sequence:\n  %3"_s.arg(seed).arg(
        failure, shortest.join(u"\n  "_s))));
}

QTEST_GUILESS_MAIN(TstModel)
#include "tst_model.moc"
