#pragma once

#include <QUrl>

#include <functional>

namespace velmora {

// Shows a web page outside the program; by default in the user's web browser.
using UrlOpener = std::function<void(const QUrl&)>;

} // namespace velmora
