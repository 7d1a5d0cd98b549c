#pragma once

#include <QUrl>

#include <functional>

// Shows a page or file in the user's browser; a seam that tests replace to see what was asked.
namespace UrlOpener {

using Handler = std::function<bool(const QUrl&)>;

// Asks the desktop to show the URL; answers whether it accepted.
bool Open(const QUrl& url);

// Replaces the desktop (tests); an empty handler puts QDesktopServices back.
void SetHandler(Handler handler);

}  // namespace UrlOpener
