#include <QIcon>
#include <QImage>
#include <QtTest>

#include "icon.h"

namespace {

// The icon as it was before start-up stopped reading every drawing: all six sizes.
QIcon all_six() {
    QIcon icon;
    for (const int size : {16, 32, 48, 64, 128, 256})
        icon.addFile(QStringLiteral(":/ventora/hicolor/%1x%1/apps/ventora.png").arg(size),
                     QSize(size, size));
    return icon;
}

}  // namespace

class icon_test : public QObject {
    Q_OBJECT
private slots:
    void window_icon_holds_the_small_sizes_only() {
        const QList<QSize> sizes = ventora::app::program_icon().availableSizes();
        QCOMPARE(sizes, (QList<QSize>{{16, 16}, {32, 32}, {48, 48}}));
        for (const QSize& size : sizes)
            QVERIFY(!ventora::app::program_icon().pixmap(size).isNull());
    }

    // The splash draws 128, About 26; the drawing picked at and around each size boundary.
    void pixmap_is_what_all_six_draw_data() {
        QTest::addColumn<QSize>("size");
        QTest::addColumn<QSize>("drawn");
        QTest::newRow("16 exactly") << QSize(16, 16) << QSize(16, 16);
        QTest::newRow("17 takes 32, scaled down") << QSize(17, 17) << QSize(17, 17);
        QTest::newRow("About's 26") << QSize(26, 26) << QSize(26, 26);
        QTest::newRow("48 exactly") << QSize(48, 48) << QSize(48, 48);
        QTest::newRow("65 takes 128") << QSize(65, 65) << QSize(65, 65);
        QTest::newRow("the splash's 128") << QSize(128, 128) << QSize(128, 128);
        QTest::newRow("129 takes 256") << QSize(129, 129) << QSize(129, 129);
        QTest::newRow("wide box, by area") << QSize(100, 40) << QSize(40, 40);
        QTest::newRow("300 stays 256, never enlarged") << QSize(300, 300) << QSize(256, 256);
    }
    void pixmap_is_what_all_six_draw() {
        QFETCH(QSize, size);
        QFETCH(QSize, drawn);
        const QImage ours = ventora::app::program_pixmap(size).toImage();
        QCOMPARE(ours.size(), drawn);
        QCOMPARE(ours, all_six().pixmap(size).toImage());
    }

    // The drawings differ from one another: a pixmap from the wrong one would not compare equal.
    void neighbouring_drawings_differ() {
        const QImage from_32 = QImage(QStringLiteral(":/ventora/hicolor/32x32/apps/ventora.png"))
                                   .scaled(26, 26, Qt::KeepAspectRatio, Qt::SmoothTransformation);
        const QImage from_48 = QImage(QStringLiteral(":/ventora/hicolor/48x48/apps/ventora.png"))
                                   .scaled(26, 26, Qt::KeepAspectRatio, Qt::SmoothTransformation);
        QVERIFY(from_32.convertToFormat(QImage::Format_ARGB32) !=
                from_48.convertToFormat(QImage::Format_ARGB32));
    }
};

QTEST_MAIN(icon_test)
#include "icon_test.moc"
