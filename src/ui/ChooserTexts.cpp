#include "ChooserTexts.h"

namespace {
using enum ChooserText;
constexpr TextRow<ChooserText> kRows[] = {
    {CdDataDisc, "frmCDorDVD.LblText(0)", "CD 数据光盘"},
    {DvdDataDisc, "frmCDorDVD.LblText(1)", "DVD数据光盘"},
};
}  // namespace

std::span<const TextRow<ChooserText>> TextRows(ChooserText) {
    return CheckedTextRows<kRows>();
}
