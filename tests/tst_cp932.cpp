#include "platform/Cp932.h"

#include <QTest>

using namespace Qt::StringLiterals;

class TstCp932 : public QObject {
    Q_OBJECT
private slots:
    void roundTripAndWidth_data();
    void roundTripAndWidth();
    void unmappableBecomesQuestionMarkAndIsNamed();
    void oneWayMappingsOfLinuxInputMethods();
    void malformedBytesDecodeToReplacementAndKeepTheRest_data();
    void malformedBytesDecodeToReplacementAndKeepTheRest();
};

void TstCp932::roundTripAndWidth_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("width");
    QTest::newRow("ascii") << u"Sample 1.0"_s << QByteArray("Sample 1.0") << 10;
    QTest::newRow("half-width katakana")
        << u"ﾊﾞｰｼﾞｮﾝ"_s << QByteArray("\xca\xde\xb0\xbc\xde\xae\xdd") << 7;
    QTest::newRow("full-width") << u"ソフト名"_s << QByteArray("\x83\x5c\x83\x74\x83\x67\x96\xbc")
                                << 8;
    QTest::newRow("middle dots") << u"・・・・"_s << QByteArray("\x81\x45\x81\x45\x81\x45\x81\x45")
                                 << 8;
    QTest::newRow("NEC circled one") << u"①"_s << QByteArray("\x87\x40") << 2;
    QTest::newRow("IBM extension") << u"髙"_s << QByteArray("\xfb\xfc") << 2;
    QTest::newRow("ideographic space") << u"　"_s << QByteArray("\x81\x40") << 2;
    QTest::newRow("empty") << QString() << QByteArray() << 0;
}

void TstCp932::roundTripAndWidth()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, bytes);
    QFETCH(int, width);
    QStringList unmappable;
    QCOMPARE(Cp932::encode(text, &unmappable), bytes);
    QVERIFY(unmappable.isEmpty());
    QCOMPARE(Cp932::decode(bytes), text);
    QCOMPARE(Cp932::byteWidth(text), width);
}

void TstCp932::unmappableBecomesQuestionMarkAndIsNamed()
{
    const QString text = u"A😀B€😀ä"_s;
    QStringList unmappable;
    QCOMPARE(Cp932::encode(text, &unmappable), QByteArray("A?B???"));
    QCOMPARE(unmappable, (QStringList{u"😀"_s, u"€"_s, u"ä"_s}));
    QCOMPARE(Cp932::unmappableCharacters(text), unmappable);
    // One byte per code point the code page cannot hold, the emoji included.
    QCOMPARE(Cp932::byteWidth(text), 6);
}

void TstCp932::oneWayMappingsOfLinuxInputMethods()
{
    QCOMPARE(Cp932::encode(u"〜"_s), QByteArray("\x81\x60"));
    QCOMPARE(Cp932::encode(u"−"_s), QByteArray("\x81\x7c"));
    QCOMPARE(Cp932::byteWidth(u"〜−"_s), 4);
}

void TstCp932::malformedBytesDecodeToReplacementAndKeepTheRest_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text");
    QTest::newRow("lead byte then space") << QByteArray("A\x81 B") << u"A\uFFFD B"_s;
    QTest::newRow("lone lead byte at end") << QByteArray("AB\x82") << u"AB\uFFFD"_s;
    QTest::newRow("valid after invalid") << QByteArray("\x81\x20\x83\x5c") << u"\uFFFD ソ"_s;
}

void TstCp932::malformedBytesDecodeToReplacementAndKeepTheRest()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);
    QCOMPARE(Cp932::decode(bytes), text);
}

QTEST_GUILESS_MAIN(TstCp932)
#include "tst_cp932.moc"
