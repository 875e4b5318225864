#pragma once

#include <span>

#include "TextTable.h"

// The texts of the about window ("frmAbout.*").
enum class AboutText {
    Notice,  // a "`" in a translation stands for an empty line
    Title,
    VersionCaption,
    OkButton,
    Count
};
std::span<const TextRow<AboutText>> TextRows(AboutText);
