// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
//
// Draws the pictures that ship beside the program: the main window's background and the
// on-screen assistant's character. Run by the build; kept as code so they can be changed.
#include <QCoreApplication>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QTextStream>

namespace {

// A calm surgical green, darker towards the bottom, with the program's name low on the right.
QImage background()
{
    QImage img(1600, 1000, QImage::Format_RGB32);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient g(0, 0, 0, img.height());
    g.setColorAt(0.0, QColor(0x2f, 0x7d, 0x78));
    g.setColorAt(1.0, QColor(0x12, 0x3d, 0x4a));
    p.fillRect(img.rect(), g);

    // Faint crosses, the hospital's own mark, in a loose grid.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 14));
    for (int y = 60; y < img.height(); y += 160) {
        for (int x = (y / 160) % 2 ? 80 : 160; x < img.width(); x += 160) {
            p.drawRect(x - 18, y - 6, 36, 12);
            p.drawRect(x - 6, y - 18, 12, 36);
        }
    }

    // A kestrel in flight: two swept wings and a long tail.
    QPainterPath bird;
    bird.moveTo(1120, 520);
    bird.cubicTo(1180, 430, 1290, 400, 1420, 410);
    bird.cubicTo(1320, 440, 1250, 480, 1200, 540);
    bird.lineTo(1260, 640);
    bird.lineTo(1195, 600);
    bird.cubicTo(1150, 620, 1060, 640, 960, 620);
    bird.cubicTo(1050, 600, 1100, 570, 1120, 520);
    p.setBrush(QColor(255, 255, 255, 40));
    p.drawPath(bird);

    p.setPen(QColor(255, 255, 255, 220));
    QFont title(QStringLiteral("DejaVu Sans"), 64, QFont::Bold);
    p.setFont(title);
    p.drawText(QRect(0, 700, img.width() - 90, 110), Qt::AlignRight | Qt::AlignVCenter,
               QStringLiteral("Kestrel"));
    p.setPen(QColor(255, 255, 255, 170));
    QFont sub(QStringLiteral("DejaVu Sans"), 28);
    p.setFont(sub);
    p.drawText(QRect(0, 810, img.width() - 90, 60), Qt::AlignRight | Qt::AlignVCenter,
               QStringLiteral("Operating Room"));
    return img;
}

// The assistant: a small round kestrel in a surgical cap, on a transparent ground.
QImage character()
{
    QImage img(128, 128, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(0x4a, 0x2c, 0x16), 2));

    // Body and tail.
    p.setBrush(QColor(0xc0, 0x6a, 0x2b));
    p.drawEllipse(QRectF(30, 52, 68, 66));
    p.setBrush(QColor(0xf3, 0xe2, 0xc8));
    p.drawEllipse(QRectF(46, 70, 36, 44));
    // Head.
    QRadialGradient head(64, 40, 34);
    head.setColorAt(0, QColor(0x9f, 0xb4, 0xc9));
    head.setColorAt(1, QColor(0x6d, 0x84, 0x9c));
    p.setBrush(head);
    p.drawEllipse(QRectF(36, 16, 56, 50));
    // Surgical cap.
    p.setBrush(QColor(0x4f, 0xa3, 0x9b));
    QPainterPath cap;
    cap.moveTo(36, 36);
    cap.cubicTo(38, 6, 90, 6, 92, 36);
    cap.closeSubpath();
    p.drawPath(cap);
    // Eyes, the dark "tear" stripes of a kestrel, and the hooked beak.
    p.setBrush(Qt::white);
    p.drawEllipse(QRectF(48, 34, 12, 12));
    p.drawEllipse(QRectF(68, 34, 12, 12));
    p.setBrush(Qt::black);
    p.drawEllipse(QRectF(52, 38, 5, 5));
    p.drawEllipse(QRectF(72, 38, 5, 5));
    p.setPen(QPen(QColor(0x2b, 0x2b, 0x2b), 3, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(52, 48), QPointF(50, 58));
    p.drawLine(QPointF(76, 48), QPointF(78, 58));
    p.setPen(QPen(QColor(0x4a, 0x2c, 0x16), 2));
    p.setBrush(QColor(0xf2, 0xc1, 0x3d));
    QPainterPath beak;
    beak.moveTo(58, 48);
    beak.lineTo(70, 48);
    beak.quadTo(66, 60, 62, 58);
    beak.closeSubpath();
    p.drawPath(beak);
    return img;
}

} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() != 3) {
        QTextStream(stderr) << "usage: kestrel-pictures BACKGROUND.jpg CHARACTER.acs\n";
        return 2;
    }
    if (!background().save(args.at(1), "JPG", 90))
        return 1;
    // The character file is a PNG picture under the name the program looks for.
    if (!character().save(args.at(2), "PNG"))
        return 1;
    return 0;
}
