#include "EraseTexts.h"

namespace {
using enum EraseText;
constexpr TextRow<EraseText> kRows[] = {
    {Confirm, "frmErase.String01", "此动作将导致您的光碟上的资料丢失，您确定继续吗?"},
    {ConfirmTitle, "frmErase.String02", "抹除光碟"},
    {NoDisc, "frmErase.String03", "您的光碟机中没有光碟片"},
    {NoticeTitle, "frmErase.String04", "提示"},
    {DriveBusy, "frmErase.String05", "您的刻录机正在忙碌中!"},
    {NotRewritable, "frmErase.String06", "您放入的光碟不是可重写型光碟!"},
    {Erasing, "frmErase.String07", "正在抹除光碟 ..."},
    {Erased, "frmErase.String08", "光碟抹除成功!"},
    {ErasedTitle, "frmErase.String09", "信息"},
    {EraseFailed, "frmErase.String10", "光碟抹除失败!"},
    {EraseFailedTitle, "frmErase.String11", "错误"},
    {QuickErase, "frmErase.chkQuikErase", "快速擦除光碟"},
    {QuickEraseWarning, "frmErase.lblEraseMsg",
     "警告: 快速擦除光碟仅消除TOC的内容,以实现加快抹除速度，"
     "但并未真正消除碟片资料，重要或机密资料不建议使用。"},
    {StatusCaption, "frmErase.lblStatus", "状态:"},
    {StatusWaiting, "frmErase.LblStat", "等待操作..."},
    {EraseButton, "frmErase.cmdErase", "擦除(&E)"},
    {CancelButton, "frmErase.cmdCancel", "取消(&C)"},
};
}  // namespace

std::span<const TextRow<EraseText>> TextRows(EraseText) {
    return CheckedTextRows<kRows>();
}
