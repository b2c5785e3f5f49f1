#pragma once

#include <QByteArray>
#include <QIcon>
#include <QImage>
#include <QList>

namespace ui {

// One image of an .ico file as its directory describes it.
struct IcoEntry
{
    int size;         // width and height in pixels
    int bitsPerPixel; // 1 for 2 colours, 4 for 16
    int index;
};

// The directory of an .ico file; empty when the data is not one.
QList<IcoEntry> icoEntries(const QByteArray& ico);

// Decodes one palette image (1, 4 or 8 bits a pixel, with its transparency mask)
// of an .ico file into ARGB32. Our own icon needs no image plugin this way, which
// keeps start-up short. A null image when the entry is not of that kind.
QImage icoImage(const QByteArray& ico, int index);

// The window's icon: the richest image of each size in the .ico (16 and 32 px),
// and 48 and 64 px for task bars. Larger sizes come from the installed icon theme.
QIcon programIcon();

} // namespace ui
