#include "CopyTexts.h"

namespace {
using enum CopyText;
constexpr TextRow<CopyText> kRows[] = {
    {FileStart, "frmSaveISO2.String01", "文件"},
    {CannotCreate, "frmSaveISO2.String02", "创建失败！"},
    {CannotCreateTitle, "frmSaveISO2.String03", "错误"},
    {SpeedNotSupported, "frmSaveISO2.String04", "碟机不支持所选定的读取倍速"},
    {DefaultSpeed, "frmSaveISO2.String05", "将以默认的速度读取!"},
    {SpeedTitle, "frmSaveISO2.String06", "提示"},
    {ReadFailed, "frmSaveISO2.String07", "读取光盘失败！"},
    {ReadFailedTitle, "frmSaveISO2.String08", "错误"},
    {Reading, "frmSaveISO2.String09", "正在读取源光盘数据 ..."},
    {ReadTookLonger, "frmSaveISO2.String10", "单次读取时间超过"},
    {ReadTookLongerTitle, "frmSaveISO2.String11", "错误"},
    {ImageComplete, "frmSaveISO2.String12", "映像生成完成!"},
    {NextToRecording, "frmSaveISO2.String13", "进入下一步,准备开始刻录"},
    {NextToImageFile, "frmSaveISO2.String14", "生成并保存ISO映像文件"},
    {NoDisc, "frmSaveISO2.String15", "您的光碟机中没有光碟片"},
    {DriveTitle, "frmSaveISO2.String16", "提示"},
    {DriveBusy, "frmSaveISO2.String17", "您的刻录机正在忙碌中！"},
    {SaveImageTitle, "frmSaveISO2.String18", "请输入要保存的*.ISO文件名:"},
    {ImageFileFilter, "frmSaveISO2.String19", "ISO文件"},
    {ImageSaved, "frmSaveISO2.String20", "ISO文件创建成功!"},
    {ImageSavedTitle, "frmSaveISO2.String21", "信息"},
    {ImageCopyFailed, "frmSaveISO2.String22", "复制光盘到.ISO发生错误..."},
    {InsertBlank, "frmSaveISO2.String23", "请放入一张空白光碟片,并点击确定继续"},
    {InsertBlankTitle, "frmSaveISO2.String24", "提示"},
    {CopyFailed, "frmSaveISO2.String25", "复制光盘发生错误..."},
    {Ready, "frmSaveISO2.String26", "就绪"},
    {SourceCaption, "frmSaveISO2.Label1", "源光碟:"},
    {SpeedCaption, "frmSaveISO2.Label2", "读取速度:"},
    {ProgressCaption, "frmSaveISO2.Label3", "进度:"},
    {OptionsCaption, "frmSaveISO2.Label4", "选项:"},
    {ImageOnly, "frmSaveISO2.chkCreateISOonly", "复制到.ISO档"},
    {ImageOnlyTip, "frmSaveISO2.chkCreateISOonly.ToolTipText",
     "选中此项将仅仅生成.ISO档，并不刻录到光碟片上"},
    {BadCopy, "frmSaveISO2.ChkBadCopy", "BadCopy(仅用于损坏光盘的数据挽救)"},
    {AboutTip, "frmSaveISO2.cmdAbout.ToolTipText", "显示关于本程式的信息"},
    {BackTip, "frmSaveISO2.cmdBack.ToolTipText", "返回到主菜单"},
    {NextTip, "frmSaveISO2.cmdNext.ToolTipText", "进入下一步,准备开始刻录"},
    {StatusPanel, "frmSaveISO2.sbar.Panels(1)", ""},
    {HelpFile, "frmSaveISO2.meuHelpFile", "帮助文件"},
    {About, "frmSaveISO2.meuAbout", "关于..."},
    {CancelButton, "frmSaveISO2.cmdCancel", "取消(&C)"},
    {SourceDisc, "frmSaveISO2.String27", "源光盘"},
    {SessionsOneDrive, "frmSaveISO2.String28", "多区段光盘只能用一台光碟机通过映像复制。"},
    {TargetCaption, "frmSaveISO2.lblTarget", "刻录到："},
    {SameDrive, "frmSaveISO2.String29", "同一台光碟机（读完后换入空白光盘）"},
    {TargetTip, "frmSaveISO2.cboTarget.ToolTipText",
     "选择另一台光碟机时，边读边刻，不产生临时映像"},
};
}  // namespace

std::span<const TextRow<CopyText>> TextRows(CopyText) {
    return CheckedTextRows<kRows>();
}
