// SPDX-License-Identifier: GPL-3.0-or-later
// The logo's JPEG decoder: the bundled picture and what it refuses.
#include "ui/jpeg_image.h"

#include <QFile>
#include <QImage>
#include <QTest>

using namespace corvane;

class TestJpegImage : public QObject {
    Q_OBJECT

private slots:
    // The pictures live in the static window library, which no window has loaded here.
    void initTestCase() { Q_INIT_RESOURCE(resources); }
    void logoDecodesWithLibjpeg();
};

void TestJpegImage::logoDecodesWithLibjpeg() {
    const QImage logo = LoadJpeg(QStringLiteral(":/corvane/logo.jpg"));
    QCOMPARE(logo.size(), QSize(151, 67));
    const QColor corner = logo.pixelColor(2, 2);
    QVERIFY(corner.blue() > corner.red() + 60); // the deep blue end of the gradient

    QFile file(QStringLiteral(":/corvane/logo.jpg"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    QVERIFY(DecodeJpeg(bytes.left(20)).isNull());
    QVERIFY(DecodeJpeg(QByteArray("not a picture at all")).isNull());
    QVERIFY(DecodeJpeg({}).isNull());
    QVERIFY(LoadJpeg(QStringLiteral(":/corvane/none.jpg")).isNull());
}

QTEST_MAIN(TestJpegImage)
#include "test_jpeg_image.moc"
