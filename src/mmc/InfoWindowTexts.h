#pragma once

#include <span>

#include "TextTable.h"

// The texts of the disc information window ("frmDiscInfo.*").
enum class InfoWindowText {
    DiscType,
    Sessions,
    Tracks,
    DiscStatus,
    LastSessionStatus,
    InfoFrame,
    CloseButton,
    CloseDiscButton,
    Count
};
std::span<const TextRow<InfoWindowText>> TextRows(InfoWindowText);
