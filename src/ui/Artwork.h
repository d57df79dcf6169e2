#pragma once

#include <QIcon>
#include <QPixmap>

namespace velmora::Artwork {

// The program's 32 x 32 icon: a small game pad on a dark tile.
QIcon windowIcon();

// The 47 x 27 picture of the word 返回 (back) on the full-screen back button.
QPixmap backButtonPicture();

} // namespace velmora::Artwork
