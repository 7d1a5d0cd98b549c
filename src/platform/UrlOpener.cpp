#include "platform/UrlOpener.h"

#include <QDesktopServices>

namespace UrlOpener {

namespace {
Handler& handler() {
    static Handler h;
    return h;
}
}  // namespace

bool Open(const QUrl& url) {
    if (handler())
        return handler()(url);
    return QDesktopServices::openUrl(url);
}

void SetHandler(Handler h) { handler() = std::move(h); }

}  // namespace UrlOpener
