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
    CdTextFrame,  // an audio CD's CD-TEXT
    TrackColumn,
    TitleColumn,
    PerformerColumn,
    AlbumRow,
    Count
};
std::span<const TextRow<InfoWindowText>> TextRows(InfoWindowText);
