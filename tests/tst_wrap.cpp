// Lines broken at the README's width: the places a line may break, and what
// the preview gives back once the author edited a broken paragraph.
#include "TestSupport.h"
#include "datafile/DataFileReader.h"
#include "datafile/DataFileWriter.h"
#include "platform/Cp932.h"
#include "readme/LineWrap.h"
#include "readme/PreviewCapture.h"
#include "readme/ReadmeComposer.h"

#include <QRandomGenerator>
#include <QTest>
#include <QTextBoundaryFinder>

using namespace Qt::StringLiterals;

class TstWrap : public QObject {
    Q_OBJECT
private slots:
    void wrapsLines_data();
    void wrapsLines();
    void randomTextKeepsTheRules();
    void composesAndTakesBack_data();
    void composesAndTakesBack();
};

namespace {
QString wrapped(const QString &line, int width, bool hang, qsizetype from = -1)
{
    QStringList out;
    for (const LineWrap::Piece &p : LineWrap::wrap(line, {width, hang, from}))
        out.append(p.text);
    return out.join(u'|');
}
const QString kNoStart =
    u"、。，．・：；？！ー々ゝゞヽヾぁぃぅぇぉっゃゅょゎァィゥェォッャュョヮヵヶ」』）】〕"_s;
const QString kNoEnd = u"「『（【〔"_s;

// Whether a line too wide had a place to break: one Unicode allows, with
// neither side forbidden and not inside an ASCII word.
bool hasBreak(const QString &line)
{
    QTextBoundaryFinder finder(QTextBoundaryFinder::Line, line);
    const auto ascii = [](QChar c) { return c > u' ' && c < u'\x7f'; };
    for (qsizetype p = finder.toNextBoundary(); p > 0 && p < line.size();
         p = finder.toNextBoundary()) {
        const QChar before = line.at(p - 1), next = line.at(p);
        if (kNoStart.contains(next) || kNoEnd.contains(before) || (ascii(before) && ascii(next)) ||
            (before == next && u"…―"_s.contains(next)))
            continue;
        if (line.left(p).trimmed().isEmpty())
            continue;
        return true;
    }
    return false;
}
} // namespace

// Width in bytes, ぶら下げ or not, the line, and the lines it breaks into.
void TstWrap::wrapsLines_data()
{
    QTest::addColumn<int>("width");
    QTest::addColumn<bool>("hang");
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("lines");
    const auto row = [](const char *name, int width, const QString &line, const QString &lines,
                        bool hang = false) {
        QTest::newRow(name) << width << hang << line << lines;
    };
    row("fits: as it is", 10, u"あいうえお"_s, u"あいうえお"_s);
    row("no width: as it is", 0, u"あいうえおかきくけこ"_s, u"あいうえおかきくけこ"_s);
    row("full-width characters by twos", 10, u"あいうえおかきくけこさ"_s,
        u"あいうえお|かきくけこ|さ"_s);
    row("。 is pushed out with the character before it", 10, u"あいうえお。かきく"_s,
        u"あいうえ|お。かきく"_s);
    row("、 ー small kana and 々 never start a line", 8, u"あいう、えおかー、きくけっ、人々"_s,
        u"あいう、|えお|かー、き|くけっ、|人々"_s);
    row("closing brackets never start a line", 8, u"あいう」えおかき』"_s,
        u"あいう」|えおか|き』"_s);
    row("opening brackets never end a line", 8, u"あいう「えお"_s, u"あいう|「えお"_s);
    row("……and ―― stay whole", 8, u"あいう……えおか――き"_s, u"あい|う……え|おか――|き"_s);
    row("numbers stay whole", 10, u"あいう12345678"_s, u"あいう|12345678"_s);
    row("ASCII words break at spaces, the space taken", 12, u"see the word wrapping"_s,
        u"see the word|wrapping"_s);
    row("a URL keeps its line, unbroken", 20,
        u"詳細は https://example.jp/a/very/long/path を見る"_s,
        u"詳細は|https://example.jp/a/very/long/path|を見る"_s);
    row("a word wider than the line breaks after / or -", 12, u"see well-known/path/name"_s,
        u"see|well-known/|path/name"_s);
    row("a run that cannot break gets a line of its own", 8, u"あいabcdefghijkl"_s,
        u"あい|abcdefghijkl"_s);
    row("the line's own indent goes on", 12, u"    あいうえおかき"_s, u"    あいうえ|    おかき"_s);
    row("hanging indent after ・", 10, u"・あいうえおかき"_s, u"・あいうえ|  おかき"_s);
    row("hanging indent after ※ and a space", 12, u"※ あいうえおかき"_s, u"※ あいうえ|   おかき"_s);
    row("hanging indent after 1.", 12, u"1. あいうえおかき"_s, u"1. あいうえ|   おかき"_s);
    row("hanging indent after (1)", 12, u"(1)あいうえおかき"_s, u"(1)あいうえ|   おかき"_s);
    row("hanging indent after ①", 10, u"①あいうえおかき"_s, u"①あいうえ|  おかき"_s);
    row("hanging indent after - and a space", 10, u"- abc def ghi"_s, u"- abc def|  ghi"_s);
    row("a number is no bullet", 8, u"1.5 and 2.5"_s, u"1.5 and|2.5"_s);
    row("ぶら下げ: 。 one character past the width", 10, u"あいうえお。かきく"_s,
        u"あいうえお。|かきく"_s, true);
    row("ぶら下げ: never two characters", 10, u"あいうえお。」かきく"_s,
        u"あいうえ|お。」かき|く"_s, true);
    row("a field's value goes on under its column", 20, u"名前：  あいうえおかきくけこ"_s,
        u"名前：  あいうえおか|        きくけこ"_s);
}

void TstWrap::wrapsLines()
{
    QFETCH(int, width);
    QFETCH(bool, hang);
    QFETCH(QString, line);
    QFETCH(QString, lines);
    const qsizetype from = line.contains(u'：') ? line.indexOf(u'：') + 3 : -1;
    QCOMPARE(wrapped(line, width, hang, from), lines);
}

// Random Japanese and ASCII text: no line passes the width but a run that
// cannot break, no line starts or ends with what may not, and joined the
// lines give the text back.
void TstWrap::randomTextKeepsTheRules()
{
    const QString alphabet =
        u"あいうえおかきくけこ漢字仮名交文。、「」『』（）ーっゃァ々・…―ABCxyz 019/-."_s;
    QRandomGenerator random(20261207);
    for (int round = 0; round < 3000; ++round) {
        QString line;
        const int n = random.bounded(1, 120);
        for (int i = 0; i < n; ++i)
            line += alphabet.at(random.bounded(alphabet.size()));
        const int width = random.bounded(10, 60);
        const bool hang = random.bounded(2) == 1;
        const std::vector<LineWrap::Piece> pieces = LineWrap::wrap(line, {width, hang, -1});
        QString back = pieces.front().text;
        for (size_t i = 0; i < pieces.size(); ++i) {
            const LineWrap::Piece &p = pieces[i];
            const QString text = p.text.mid(p.indent);
            if (i > 0)
                LineWrap::join(back, p.text, p.indent, p.gap);
            if (pieces.size() == 1)
                break;
            const bool hangs = hang && text.size() > 1 && u"、。"_s.contains(text.back()) &&
                               Cp932::byteWidth(p.text.chopped(1)) <= width;
            const bool unbreakable = !hangs && !hasBreak(p.text);
            // Spaces the author left at the end stay there.
            QString shown = p.text;
            while (shown.endsWith(u' '))
                shown.chop(1);
            if (Cp932::byteWidth(shown) > width && !hangs && !unbreakable)
                QFAIL(qPrintable(u"too wide at %1: %2"_s.arg(width).arg(line)));
            if ((i > 0 && kNoStart.contains(text.front())) ||
                (i + 1 < pieces.size() && kNoEnd.contains(p.text.back())))
                QFAIL(
                    qPrintable(u"forbidden break at %1: %2 in %3"_s.arg(width).arg(p.text, line)));
        }
        QCOMPARE(back, line);
    }
}

// A project with its lines broken at 20 bytes, the preview's lines after an
// edit ("|" between), and the texts taken back from it: broken lines joined,
// the edit in place.
void TstWrap::composesAndTakesBack_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("composed");
    QTest::addColumn<QString>("edit"); // "N=line": line N of the preview (0: its first) replaced
    QTest::addColumn<QString>("taken");
    const QString text = u"あいうえおかきくけこさしすせそ。|see the word wrapping here"_s;
    const QString composed = u"【     使い方     】|あいうえおかきくけこ|さしすせそ。|"
                             u"see the word|wrapping here"_s;
    QTest::newRow("unedited") << text << composed << QString() << text;
    QTest::newRow("a word changed inside a broken paragraph")
        << text << composed << u"3=さしすせそ、たち。"_s
        << u"あいうえおかきくけこさしすせそ、たち。|see the word wrapping here"_s;
    QTest::newRow("the space a break took comes back")
        << text << composed << u"5=wrapping there"_s
        << u"あいうえおかきくけこさしすせそ。|see the word wrapping there"_s;
}

void TstWrap::composesAndTakesBack()
{
    QFETCH(QString, text);
    QFETCH(QString, composed);
    QFETCH(QString, edit);
    QFETCH(QString, taken);
    TempAppDir dir;
    const QStringList pwk{u"15:=●本文内の項目:="_s,
                          u"29:=   使い方:="_s,
                          u"@@@10"_s,
                          u"@@@30"_s,
                          u"@@@620"_s,
                          QString(),
                          u"@@@Swrap:=push"_s,
                          u"@@@72:=使い方"_s};
    const DataFileReader::Parsed read = DataFileReader::parse(pwk + text.split(u'|'));
    QCOMPARE(read.project.wrap, Project::Wrap::Push);
    QCOMPARE(DataFileWriter::lines(read.project), pwk + text.split(u'|')); // and saved the same
    const Project project = ProjectRules::settled(read.project);
    ReadmeComposer composer(project);
    const Composition c = composer.composeLines().value();
    QStringList preview = c.text.split(u"\r\n"_s);
    preview.removeLast();
    QCOMPARE(preview.mid(1).join(u'|'), composed);
    if (!edit.isEmpty())
        preview[edit.section(u'=', 0, 0).toInt()] = edit.section(u'=', 1);
    const PreviewCapture::Captured back = PreviewCapture::capture(c, preview, project.texts);
    QCOMPARE(back.texts.under(u"使い方"_s).join(u'|'), taken);
    QVERIFY(back.unplaced.isEmpty());
}

QTEST_GUILESS_MAIN(TstWrap)
#include "tst_wrap.moc"
