#pragma once

#include <QIcon>
#include <QImage>
#include <QPixmap>

namespace velmora::Artwork {

// The program's icon: a small game pad on a dark tile, drawn for 32 x 32 and scaled to size.
QImage iconPicture(int size);
// The icon in the sizes a window shows.
QIcon windowIcon();

// The 47 x 27 picture of the word 返回 (back) on the full-screen back button.
QPixmap backButtonPicture();

} // namespace velmora::Artwork
