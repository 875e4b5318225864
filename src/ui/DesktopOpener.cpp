#include "DesktopOpener.h"

#include <QDesktopServices>

namespace {
std::function<void(const QUrl&)>& Handler() {
    static std::function<void(const QUrl&)> handler;
    return handler;
}
}  // namespace

void OpenWithDesktop(const QUrl& url) {
    if (Handler()) {
        Handler()(url);
        return;
    }
    QDesktopServices::openUrl(url);
}

void SetDesktopOpenHandler(std::function<void(const QUrl&)> handler) {
    Handler() = std::move(handler);
}
