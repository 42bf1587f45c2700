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
        QTest::newRow("only the installed, in the candidates' order")
            << song << QStringList{"DejaVu Sans", "WenQuanYi Micro Hei", "WenQuanYi Micro Hei Mono"}
            << QStringList{"WenQuanYi Micro Hei Mono", "WenQuanYi Micro Hei"};
        QTest::newRow("the named face itself when installed")
            << song << QStringList{"SimSun", "宋体", "WenQuanYi Micro Hei"}
            << QStringList{"宋体", "SimSun", "WenQuanYi Micro Hei"};
        QTest::newRow("names compared without case")
            << song << QStringList{"simsun"} << QStringList{"SimSun"};
        QTest::newRow("a longer name is not a match")
            << QStringList{"SimSun", "KaiTi"} << QStringList{"SimSun-ExtB", "KaiTi_GB2312"}
            << QStringList{"SimSun", "KaiTi"};
        QTest::newRow("none installed keeps the whole list")
            << song << QStringList{"DejaVu Sans"} << song;
        QTest::newRow("no fonts at all keeps the whole list") << song << QStringList{} << song;
    }
    void installed_families() {
        QFETCH(QStringList, candidates);
        QFETCH(QStringList, installed);
        QFETCH(QStringList, kept);
        QCOMPARE(ventora::installed_families(candidates, installed), kept);
    }

    // On this machine: every face names installed families only, and the one drawn is the first.
    void faces_draw_their_first_installed_family_data() {
        QTest::addColumn<QString>("face");
        for (const char* face : {"宋体", "黑体", "隶书", "楷体_GB2312"})
            QTest::newRow(face) << QString::fromUtf8(face);
    }
    void faces_draw_their_first_installed_family() {
        QFETCH(QString, face);
        const QFont font = ventora::gb_font(face, 12, true);
        const QStringList all = QFontDatabase::families();
        const QStringList families = font.families();
        QVERIFY(!families.isEmpty());
        if (!all.contains(families.first(), Qt::CaseInsensitive))
            QSKIP("no CJK face installed here");
        for (const QString& family : families) QVERIFY2(all.contains(family, Qt::CaseInsensitive), qPrintable(family));
        QCOMPARE(QFontInfo(font).family(), families.first());
        QCOMPARE(font.pointSizeF(), 12.0);
        QVERIFY(font.bold());
        // Asked again, the same list.
        QCOMPARE(ventora::gb_font(face, 9).families(), families);
    }
};

QTEST_MAIN(fonts_test)
#include "fonts_test.moc"
