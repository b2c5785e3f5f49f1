// Draws the program's icon, a picture of a window showing the trapezoid plot,
// and writes it out in every form the program and the desktop need:
//   iconsmith OUTDIR SIZE...
// writes OUTDIR/integration-velmar.ico, the program's icon in its
// three-image form (32x32 in 2 colours, 32x32 and 16x16 in 16 colours; kept as a
// build product and checked by a test, not installed: desktops take the PNGs),
// OUTDIR/integration-velmar.svg and OUTDIR/integration-velmar-N.png for each SIZE.
// The artwork is icons/artwork.cpp, on a 32-unit grid.
#include "icons/artwork.h"

#include <QColor>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

// The 16 colours the icon's 16-colour images draw with, in .ico order.
const QRgb kPalette[16] = {
    0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080, 0x008080, 0xc0c0c0,
    0x808080, 0xff0000, 0x00ff00, 0xffff00, 0x0000ff, 0xff00ff, 0x00ffff, 0xffffff,
};

QImage render(int size)
{
    QImage image(size, size, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter p(&image);
    const bool small = size <= 32;
    p.setRenderHint(QPainter::Antialiasing, !small);
    p.scale(size / 32.0, size / 32.0);
    for (const icons::Shape& s : icons::artwork()) {
        const QColor colour = QColor::fromRgb(s.colour);
        std::vector<QPointF> points;
        for (const icons::Point& point : s.points)
            points.emplace_back(point.x, point.y);
        if (s.kind == icons::Kind::Fill) {
            p.fillRect(QRectF(points[0], points[1]), colour);
        } else {
            QPen pen(colour, small ? 0 : 1.0);
            pen.setCapStyle(Qt::RoundCap);
            pen.setJoinStyle(Qt::RoundJoin);
            p.setPen(pen);
            p.drawPolyline(points.data(), int(points.size()));
        }
    }
    return image;
}

int nearest(QRgb c, int colours)
{
    if (colours == 2)
        return qGray(c) >= 128 ? 1 : 0;
    int best = 0, bestDistance = 1 << 30;
    for (int i = 0; i < 16; ++i) {
        const int dr = qRed(c) - qRed(kPalette[i]), dg = qGreen(c) - qGreen(kPalette[i]),
                  db = qBlue(c) - qBlue(kPalette[i]);
        const int d = dr * dr + dg * dg + db * db;
        if (d < bestDistance)
            best = i, bestDistance = d;
    }
    return best;
}

void put16(QByteArray& b, int v)
{
    b.append(char(v & 0xff)).append(char((v >> 8) & 0xff));
}

void put32(QByteArray& b, int v)
{
    put16(b, v & 0xffff);
    put16(b, (v >> 16) & 0xffff);
}

// One icon image: a bottom-up palette bitmap of twice the height (colours, then
// the transparency mask).
QByteArray iconImage(const QImage& image, int colours)
{
    const int size = image.width(), bits = colours == 2 ? 1 : 4;
    const int colourStride = ((size * bits + 31) / 32) * 4, maskStride = ((size + 31) / 32) * 4;
    QByteArray b;
    put32(b, 40);
    put32(b, size);
    put32(b, size * 2);
    put16(b, 1);
    put16(b, bits);
    put32(b, 0);
    put32(b, (colourStride + maskStride) * size);
    put32(b, 0);
    put32(b, 0);
    put32(b, colours);
    put32(b, 0);
    for (int i = 0; i < colours; ++i) {
        const QRgb c = colours == 2 ? (i ? 0xffffff : 0x000000) : kPalette[i];
        b.append(char(qBlue(c))).append(char(qGreen(c))).append(char(qRed(c))).append('\0');
    }
    for (int y = size - 1; y >= 0; --y) {
        QByteArray row(colourStride, '\0');
        for (int x = 0; x < size; ++x) {
            const QRgb c = image.pixel(x, y);
            const int index = qAlpha(c) < 128 ? 0 : nearest(c, colours);
            if (bits == 1)
                row[x / 8] = char(row[x / 8] | (index << (7 - x % 8)));
            else
                row[x / 2] = char(row[x / 2] | (index << (x % 2 ? 0 : 4)));
        }
        b.append(row);
    }
    for (int y = size - 1; y >= 0; --y) {
        QByteArray row(maskStride, '\0');
        for (int x = 0; x < size; ++x)
            if (qAlpha(image.pixel(x, y)) < 128)
                row[x / 8] = char(row[x / 8] | (1 << (7 - x % 8)));
        b.append(row);
    }
    return b;
}

bool writeIco(const QString& path)
{
    struct Entry
    {
        int size, colours;
    };
    const Entry entries[] = {{32, 2}, {32, 16}, {16, 16}};
    QByteArray header, data;
    put16(header, 0);
    put16(header, 1);
    put16(header, 3);
    int offset = 6 + 16 * 3;
    for (const Entry& e : entries) {
        const QByteArray image = iconImage(render(e.size), e.colours);
        header.append(char(e.size)).append(char(e.size)).append(char(e.colours)).append('\0');
        put16(header, 1);
        put16(header, e.colours == 2 ? 1 : 4);
        put32(header, int(image.size()));
        put32(header, offset);
        offset += int(image.size());
        data.append(image);
    }
    QFile file(path);
    return file.open(QIODevice::WriteOnly) &&
           file.write(header + data) == header.size() + data.size();
}

bool writeSvg(const QString& path)
{
    const std::string text = icons::svg();
    QFile file(path);
    return file.open(QIODevice::WriteOnly) &&
           file.write(text.data(), qint64(text.size())) == qint64(text.size());
}

} // namespace

int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: iconsmith OUTDIR SIZE...\n");
        return 2;
    }
    const QString dir = QString::fromLocal8Bit(argv[1]);
    bool ok =
        writeIco(dir + "/integration-velmar.ico") && writeSvg(dir + "/integration-velmar.svg");
    for (int i = 2; i < argc; ++i) {
        const int size = std::atoi(argv[i]);
        ok = ok && size > 0 &&
             render(size).save(dir + QString("/integration-velmar-%1.png").arg(size));
    }
    if (!ok)
        std::fprintf(stderr, "iconsmith: cannot write the icons to %s\n", argv[1]);
    return ok ? 0 : 1;
}
