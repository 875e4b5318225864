#include "CueSheetTexts.h"

namespace {
using enum CueSheetText;
constexpr TextRow<CueSheetText> kRows[] = {
    {LineProblem, "CueSheet.String01", "%1 第 %2 行: %3"},
    {CannotRead, "CueSheet.String02", "无法读取 Cue 表 %1: %2"},
    {NotRecordable, "CueSheet.String03", "此行无法被精确刻录"},
    {NotUnderstood, "CueSheet.String04", "无法理解此行"},
    {Mode2, "CueSheet.String05", "不支持 MODE2 轨道"},
    {Cdg, "CueSheet.String06", "不支持 CD+G (CDG) 轨道"},
    {Mixed, "CueSheet.String07", "不支持在同一区段中混合数据轨道与音频轨道"},
    {HiddenTrack, "CueSheet.String08", "不支持第 1 轨前间隙中超过 2 秒的音频(隐藏音轨)"},
    {FileMissing, "CueSheet.String09", "找不到文件 %1"},
    {FileShort, "CueSheet.String10", "文件 %1 比 Cue 表所述的短"},
    {NoTracks, "CueSheet.String11", "Cue 表中没有任何轨道"},
    {TrackShort, "CueSheet.String12", "第 %1 轨短于 4 秒"},
    {NotMode1, "CueSheet.String13", "文件 %1 的第 %2 扇区不是 Mode 1 扇区"},
    {OneDataTrack, "CueSheet.String14", "只能刻录一条数据轨道"},
    {Title, "CueSheet.String15", "Cue 表"},
    {TextTooLong, "CueSheet.String16", "Cue 表的 CD-TEXT 超出光碟所能容纳的长度"},
};
}  // namespace

std::span<const TextRow<CueSheetText>> TextRows(CueSheetText) {
    return CheckedTextRows<kRows>();
}
