#pragma once

#include <QUrl>
#include <functional>

// Asks the desktop to "open" a document, a web page or a mail-to link in a
// normal window. Nothing is reported when no program handles it.
void OpenWithDesktop(const QUrl& url);
// Replaces the desktop (tests); an empty function restores it.
void SetDesktopOpenHandler(std::function<void(const QUrl&)> handler);
