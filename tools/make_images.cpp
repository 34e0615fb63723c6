// Draws the program's pictures into the program folder: the three splash backgrounds (one per
// client-area width the program recognises), the default report logo and the application icon.
//
//   make_images <program folder>
//
// Runs under Qt's offscreen platform; needs a font (fonts-dejavu-core) for the lettering.
#include <QDir>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <cmath>
#include <cstdio>

namespace {

const QColor kInk(34, 68, 120);
const QColor kAccent(196, 140, 40);

// A quill: a curved vane around a shaft, drawn in a box whose diagonal it follows from the
// nib (bottom left) to the tip (top right).
void drawQuill(QPainter& p, const QRectF& box, const QColor& vane, const QColor& shaft)
{
    p.save();
    p.translate(box.center());
    p.rotate(-45);
    const qreal len = std::hypot(box.width(), box.height()) * 0.92;
    const qreal half = len / 2;
    const qreal w = len * 0.17;

    QPainterPath feather;
    feather.moveTo(-half * 0.55, 0);
    feather.cubicTo(-half * 0.1, -w * 1.1, half * 0.6, -w * 0.9, half, -w * 0.05);
    feather.cubicTo(half * 0.55, w * 0.55, -half * 0.05, w * 0.75, -half * 0.55, 0);
    QLinearGradient fill(QPointF(0, -w), QPointF(0, w));
    fill.setColorAt(0, vane.lighter(125));
    fill.setColorAt(1, vane);
    p.setPen(Qt::NoPen);
    p.setBrush(fill);
    p.drawPath(feather);

    // Barbs: fine strokes slanting back from the shaft.
    p.setPen(QPen(vane.darker(125), len * 0.006));
    for (int i = 1; i < 12; ++i) {
        const qreal x = -half * 0.45 + i * (half * 1.35) / 12;
        p.drawLine(QPointF(x, 0), QPointF(x - w * 0.35, -w * 0.55 * (1.0 - std::abs(x) / (half * 1.1))));
    }

    p.setPen(QPen(shaft, len * 0.018, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(-half, 0), QPointF(half * 0.95, -w * 0.04));
    // The nib.
    QPainterPath nib;
    nib.moveTo(-half, 0);
    nib.lineTo(-half * 0.8, -w * 0.12);
    nib.lineTo(-half * 0.8, w * 0.12);
    nib.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(shaft.darker(140));
    p.drawPath(nib);
    p.restore();
}

QImage splash(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);

    QLinearGradient sky(QPointF(0, 0), QPointF(width * 0.4, height));
    sky.setColorAt(0, QColor(250, 250, 246));
    sky.setColorAt(0.6, QColor(238, 243, 250));
    sky.setColorAt(1, QColor(220, 231, 245));
    p.fillRect(image.rect(), sky);

    // Two soft bands sweeping across the lower part of the picture.
    for (int band = 0; band < 2; ++band) {
        QPainterPath wave;
        const qreal base = height * (0.78 + band * 0.08);
        wave.moveTo(0, base);
        wave.cubicTo(width * 0.3, base - height * 0.16, width * 0.65, base + height * 0.1, width, base - height * 0.12);
        wave.lineTo(width, height);
        wave.lineTo(0, height);
        wave.closeSubpath();
        QColor tint = band == 0 ? QColor(190, 210, 235) : QColor(170, 195, 228);
        tint.setAlpha(110);
        p.setPen(Qt::NoPen);
        p.setBrush(tint);
        p.drawPath(wave);
    }

    // The name and the quill, large and faint, at the lower right where the controls are few.
    const qreal scale = width / 800.0;
    QFont title(QStringLiteral("DejaVu Serif"));
    title.setPixelSize(qRound(96 * scale));
    title.setBold(true);
    p.setFont(title);
    QColor ink = kInk;
    ink.setAlpha(40);
    p.setPen(ink);
    const QRectF titleBox(width * 0.5, height * 0.62, width * 0.46, height * 0.2);
    p.drawText(titleBox, Qt::AlignRight | Qt::AlignVCenter, QStringLiteral("QUIL"));

    QFont tagline(QStringLiteral("DejaVu Sans"));
    tagline.setPixelSize(qRound(15 * scale));
    p.setFont(tagline);
    ink.setAlpha(70);
    p.setPen(ink);
    p.drawText(QRectF(width * 0.4, titleBox.bottom(), width * 0.56, height * 0.06), Qt::AlignRight | Qt::AlignTop,
               QStringLiteral("Members and donations"));

    QColor vane = kInk;
    vane.setAlpha(30);
    QColor shaft = kAccent;
    shaft.setAlpha(60);
    drawQuill(p, QRectF(width * 0.72, height * 0.3, width * 0.22, width * 0.22), vane, shaft);
    return image;
}

// The logo printed in report headings: plain enough to print well in black and white.
QImage reportLogo()
{
    const int size = 300;
    QImage image(size, size, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(kInk, 8));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QRectF(14, 14, size - 28, size - 28));
    p.setPen(QPen(kInk, 2));
    p.drawEllipse(QRectF(30, 30, size - 60, size - 60));
    drawQuill(p, QRectF(70, 50, 160, 160), kInk, kAccent.darker(120));
    QFont name(QStringLiteral("DejaVu Serif"));
    name.setPixelSize(52);
    name.setBold(true);
    p.setFont(name);
    p.setPen(kInk);
    p.drawText(QRectF(0, 190, size, 70), Qt::AlignCenter, QStringLiteral("QUIL"));
    return image;
}

QImage appIcon()
{
    const int size = 256;
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient fill(QPointF(0, 0), QPointF(size, size));
    fill.setColorAt(0, QColor(70, 120, 200));
    fill.setColorAt(1, QColor(28, 58, 118));
    p.setPen(Qt::NoPen);
    p.setBrush(fill);
    p.drawRoundedRect(QRectF(8, 8, size - 16, size - 16), 44, 44);
    drawQuill(p, QRectF(40, 30, 180, 180), QColor(250, 250, 255), QColor(240, 200, 90));
    QFont letter(QStringLiteral("DejaVu Serif"));
    letter.setPixelSize(72);
    letter.setBold(true);
    p.setFont(letter);
    p.setPen(QColor(255, 255, 255, 235));
    p.drawText(QRectF(24, 150, 110, 90), Qt::AlignCenter, QStringLiteral("Q"));
    return image;
}

bool save(const QImage& image, const QString& path, int quality = 92)
{
    if (image.save(path, nullptr, quality))
        return true;
    std::fprintf(stderr, "make_images: cannot write %s\n", qPrintable(path));
    return false;
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_images <program folder>\n");
        return 2;
    }
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    if (!folder.exists() && !QDir().mkpath(folder.path())) {
        std::fprintf(stderr, "make_images: cannot create %s\n", argv[1]);
        return 1;
    }
    // Each splash is as tall as a screen of its width in 4:3 proportions, so that it fills the
    // client area at any height the window can have there; the navigator bar hides the rest.
    struct Splash {
        int width;
        int height;
    };
    bool ok = true;
    for (const Splash s : {Splash{640, 480}, Splash{800, 600}, Splash{1024, 768}})
        ok &= save(splash(s.width, s.height), folder.filePath(QStringLiteral("splash %1.jpg").arg(s.width)));
    ok &= save(reportLogo(), folder.filePath(QStringLiteral("quil.jpg")));
    ok &= save(appIcon(), folder.filePath(QStringLiteral("quil.png")), -1);
    return ok ? 0 : 1;
}
