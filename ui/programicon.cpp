#include "ui/programicon.h"

#include <QFile>
#include <QIconEngine>
#include <QMap>
#include <QPainter>
#include <QPixmap>

namespace ui {
namespace {

quint32 read(const QByteArray& b, qsizetype at, int bytes)
{
    quint32 v = 0;
    for (int i = bytes - 1; i >= 0; --i)
        v = v << 8 | (at + i < b.size() ? uchar(b[at + i]) : 0);
    return v;
}

// An icon whose small images are at hand and whose larger ones are read from
// their files the first time a desktop asks for them: a platform that never
// shows a window icon never pays for decoding them.
class ProgramIconEngine : public QIconEngine
{
public:
    ProgramIconEngine(QIcon small, QMap<int, QString> files)
        : m_small(std::move(small)), m_files(std::move(files))
    {
    }

    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override
    {
        const int wanted = qMax(size.width(), size.height());
        const QList<QSize> smallSizes = m_small.availableSizes();
        for (const QSize& s : smallSizes)
            if (s.width() >= wanted)
                return m_small.pixmap(size, mode, state);
        for (auto it = m_files.cbegin(); it != m_files.cend(); ++it)
            if (it.key() >= wanted || std::next(it) == m_files.cend())
                return load(it.key()).scaled(size, Qt::KeepAspectRatio, Qt::SmoothTransformation);
        return m_small.pixmap(size, mode, state);
    }

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override
    {
        painter->drawPixmap(rect, pixmap(rect.size(), mode, state));
    }

    QSize actualSize(const QSize& size, QIcon::Mode, QIcon::State) override
    {
        const int side = qMin(qMin(size.width(), size.height()), m_files.lastKey());
        return QSize(side, side);
    }

    QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override
    {
        QList<QSize> sizes = m_small.availableSizes(mode, state);
        for (int side : m_files.keys())
            sizes.append(QSize(side, side));
        return sizes;
    }

    QIconEngine* clone() const override { return new ProgramIconEngine(m_small, m_files); }

private:
    QPixmap load(int side)
    {
        if (!m_loaded.contains(side))
            m_loaded.insert(side, QPixmap(m_files.value(side)));
        return m_loaded.value(side);
    }

    QIcon m_small;
    QMap<int, QString> m_files;
    QMap<int, QPixmap> m_loaded;
};

} // namespace

QList<IcoEntry> icoEntries(const QByteArray& ico)
{
    QList<IcoEntry> entries;
    if (ico.size() < 6 || read(ico, 0, 2) != 0 || read(ico, 2, 2) != 1)
        return entries;
    const int count = int(read(ico, 4, 2));
    for (int i = 0; i < count && 6 + 16 * (i + 1) <= ico.size(); ++i) {
        const qsizetype entry = 6 + 16 * i;
        const int size = read(ico, entry, 1) ? int(read(ico, entry, 1)) : 256;
        entries.append({size, int(read(ico, entry + 6, 2)), i});
    }
    return entries;
}

QImage icoImage(const QByteArray& ico, int index)
{
    const QList<IcoEntry> entries = icoEntries(ico);
    if (index < 0 || index >= entries.size())
        return {};
    const qsizetype entry = 6 + 16 * index;
    const qsizetype length = read(ico, entry + 8, 4), at = read(ico, entry + 12, 4);
    if (at + length > ico.size() || read(ico, at, 4) != 40)
        return {};
    const int width = int(read(ico, at + 4, 4)), height = int(read(ico, at + 8, 4)) / 2;
    const int bits = int(read(ico, at + 14, 2));
    if (width <= 0 || width > 256 || height <= 0 || height > 256 ||
        (bits != 1 && bits != 4 && bits != 8))
        return {};
    const int colours = read(ico, at + 32, 4) ? int(read(ico, at + 32, 4)) : 1 << bits;
    const qsizetype palette = at + 40;
    const qsizetype pixels = palette + 4 * colours;
    const qsizetype stride = ((width * bits + 31) / 32) * 4, maskStride = ((width + 31) / 32) * 4;
    const qsizetype mask = pixels + stride * height;
    if (colours > 256 || mask + maskStride * height > at + length)
        return {};

    QImage image(width, height, QImage::Format_ARGB32);
    for (int y = 0; y < height; ++y) {
        const qsizetype row = pixels + stride * (height - 1 - y);
        const qsizetype maskRow = mask + maskStride * (height - 1 - y);
        auto* out = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < width; ++x) {
            const int bit = x * bits;
            const int byte = int(read(ico, row + bit / 8, 1));
            const int colour = (byte >> (8 - bits - bit % 8)) & ((1 << bits) - 1);
            const bool transparent = (read(ico, maskRow + x / 8, 1) >> (7 - x % 8)) & 1;
            const qsizetype p = palette + 4 * qMin(colour, colours - 1);
            out[x] = transparent ? qRgba(0, 0, 0, 0)
                                 : qRgb(int(read(ico, p + 2, 1)), int(read(ico, p + 1, 1)),
                                        int(read(ico, p, 1)));
        }
    }
    return image;
}

QIcon programIcon()
{
    QFile file(QStringLiteral(":/icons/integration-velmar.ico"));
    const QByteArray ico = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    QMap<int, IcoEntry> richest;
    for (const IcoEntry& e : icoEntries(ico))
        if (!richest.contains(e.size) || richest[e.size].bitsPerPixel < e.bitsPerPixel)
            richest[e.size] = e;
    QIcon small;
    for (const IcoEntry& e : std::as_const(richest)) {
        const QImage image = icoImage(ico, e.index);
        if (!image.isNull())
            small.addPixmap(QPixmap::fromImage(image));
    }
    QMap<int, QString> files;
    for (int side : {48, 64})
        files.insert(side, QStringLiteral(":/icons/integration-velmar-%1.png").arg(side));
    return QIcon(new ProgramIconEngine(small, files));
}

} // namespace ui
