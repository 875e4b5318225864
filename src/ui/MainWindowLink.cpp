#include "MainWindowLink.h"

namespace {
MainWindowLink* g_mainWindow = nullptr;
}

MainWindowLink* MainWindow() {
    return g_mainWindow;
}

void SetMainWindow(MainWindowLink* window) {
    g_mainWindow = window;
}

std::string CurrentDrive() {
    return g_mainWindow != nullptr ? g_mainWindow->CurrentDrive() : std::string();
}
