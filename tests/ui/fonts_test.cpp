#include <QFontDatabase>
#include <QFontInfo>
#include <QtTest>

#include "shell/fonts.h"

using ventora::installed_families;

class fonts_test : public QObject {
    Q_OBJECT
private slots:
    void installed_families_data() {
        QTest::addColumn<QStringList>("candidates");
        QTest::addColumn<QStringList>("installed");
        QTest::addColumn<QStringList>("kept");
        const QStringList song{"宋体", "SimSun", "WenQuanYi Micro Hei Mono", "WenQuanYi Micro Hei"};
        QTest::newRow("the named face, then the installed, in the candidates' order")
            << song << QStringList{"DejaVu Sans", "WenQuanYi Micro Hei", "WenQuanYi Micro Hei Mono"}
            << QStringList{"宋体", "WenQuanYi Micro Hei Mono", "WenQuanYi Micro Hei"};
        QTest::newRow("the named face and its twin when installed")
            << song << QStringList{"SimSun", "宋体", "WenQuanYi Micro Hei"}
            << QStringList{"宋体", "SimSun", "WenQuanYi Micro Hei"};
        QTest::newRow("names compared without case")
            << song << QStringList{"simsun"} << QStringList{"宋体", "SimSun"};
        QTest::newRow("a longer name is not a match")
            << QStringList{"黑体", "SimHei", "KaiTi"} << QStringList{"SimHei-Bold", "KaiTi_GB2312", "KaiTi"}
            << QStringList{"黑体", "KaiTi"};
        QTest::newRow("no stand-in installed keeps the whole list")
            << song << QStringList{"DejaVu Sans", "宋体"} << song;
        QTest::newRow("no fonts at all keeps the whole list") << song << QStringList{} << song;
        QTest::newRow("nothing asked, nothing named") << QStringList{} << QStringList{"SimSun"} << QStringList{};
    }
    void installed_families() {
        QFETCH(QStringList, candidates);
        QFETCH(QStringList, installed);
        QFETCH(QStringList, kept);
        QCOMPARE(ventora::installed_families(candidates, installed), kept);
    }

    // On this machine: each face is named first, then installed stand-ins only, and the first of
    // those is the one drawn.
    void faces_draw_their_first_installed_stand_in_data() {
        QTest::addColumn<QString>("face");
        for (const char* face : {"宋体", "黑体", "隶书", "楷体_GB2312"})
            QTest::newRow(face) << QString::fromUtf8(face);
    }
    void faces_draw_their_first_installed_stand_in() {
        QFETCH(QString, face);
        const QFont font = ventora::gb_font(face, 12, true);
        const QStringList all = QFontDatabase::families();
        const QStringList families = font.families();
        QCOMPARE(families.value(0), face);
        if (all.contains(face, Qt::CaseInsensitive)) QSKIP("the named face itself is installed here");
        if (!all.contains(families.value(1), Qt::CaseInsensitive)) QSKIP("no CJK face installed here");
        for (const QString& family : families.mid(1))
            QVERIFY2(all.contains(family, Qt::CaseInsensitive), qPrintable(family));
        QCOMPARE(QFontInfo(font).family(), families.value(1));
        QCOMPARE(font.pointSizeF(), 12.0);
        QVERIFY(font.bold());
        // Asked again, the same list.
        QCOMPARE(ventora::gb_font(face, 9).families(), families);
    }
};

QTEST_MAIN(fonts_test)
#include "fonts_test.moc"
