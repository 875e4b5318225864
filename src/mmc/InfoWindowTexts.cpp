#include "InfoWindowTexts.h"

namespace {
using enum InfoWindowText;
constexpr TextRow<InfoWindowText> kRows[] = {
    {DiscType, "frmDiscInfo.lblDiscType", "碟片类型:"},
    {Sessions, "frmDiscInfo.lblSessions", "总区段数目:"},
    {Tracks, "frmDiscInfo.LblTrackNum", "总轨道数目:"},
    {DiscStatus, "frmDiscInfo.lblDiscStatus", "碟片状态:"},
    {LastSessionStatus, "frmDiscInfo.lblSessionStatus", "最后区段状态:"},
    {InfoFrame, "frmDiscInfo.frameInfo", "碟片信息"},
    {CloseButton, "frmDiscInfo.cmdExit", "关闭(&C)"},
    {CloseDiscButton, "frmDiscInfo.cmdCloseDisc", "关闭光碟(&F)"},
    {CdTextFrame, "frmDiscInfo.frameCdText", "CD-TEXT(曲目信息)"},
    {TrackColumn, "frmDiscInfo.lvwCdText.ColumnHeaders(1)", "音轨"},
    {TitleColumn, "frmDiscInfo.lvwCdText.ColumnHeaders(2)", "标题"},
    {PerformerColumn, "frmDiscInfo.lvwCdText.ColumnHeaders(3)", "演出者"},
    {AlbumRow, "frmDiscInfo.String1", "专辑"},
};
}  // namespace

std::span<const TextRow<InfoWindowText>> TextRows(InfoWindowText) {
    return CheckedTextRows<kRows>();
}
