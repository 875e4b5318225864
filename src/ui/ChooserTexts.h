#pragma once

#include <span>

#include "TextTable.h"

// The texts of the CD or DVD chooser beside the main window ("frmCDorDVD.*").
enum class ChooserText { CdDataDisc, DvdDataDisc, Count };
std::span<const TextRow<ChooserText>> TextRows(ChooserText);
