#include "MainTexts.h"

namespace {
using enum MainText;
constexpr TextRow<MainText> kRows[] = {
    {AlreadyRunning, "frmMain.String01", "本程式已运行！"},
    {NoticeTitle, "frmMain.String02", "提示"},
    {NoTransport, "frmMain.String03", "SCSI设备界面初始化失败!"},
    {NoTransportTitle, "frmMain.String04", "错误"},
    {DataDiscInfo, "frmMain.String05",
     "将您的硬碟上的资料或文件刻录到光盘中,以帮助您实现对资料的备份或交换"},
    {AudioCdInfo, "frmMain.String06",
     "将您的音乐文件(WAV、FLAC、MP3、Ogg)转换成CD-DA格式并刻录到CD中"},
    {RecordImageInfo, "frmMain.String07",
     "将.ISO文件储存的文件刻录到光盘上(你可以使用本工具或Nero以及其它工具创建.ISO档)"},
    {CopyDiscInfo, "frmMain.String08",
     "将您手中光盘上完全备份到另外一张光盘上，并保存光盘上所有的资讯数据完全相同"},
    {NoDrive, "frmMain.String09", "没有找到可用的光碟机！"},
    {NoDriveTitle, "frmMain.String10", "提示"},
    {PickRecorder, "frmMain.Label1", "请选择你要使用的刻录机："},
    {PickTask, "frmMain.Label2", "请选择您要刻录的内容："},
    {DataDiscTask, "frmMain.LblText(0)", "数据光盘"},
    {AudioCdTask, "frmMain.LblText(1)", "音乐光盘"},
    {RecordImageTask, "frmMain.LblText(2)", "从ISO文件刻录"},
    {CopyDiscTask, "frmMain.LblText(3)", "复制光盘"},
    {AboutTip, "frmMain.CmdAbout.ToolTipText", "显示关于本程式的信息"},
    {ToolsTip, "frmMain.CmdTools.ToolTipText", "选用更多的工具"},
    {ExitTip, "frmMain.cmdExit.ToolTipText", "退出本程式"},
    {DriveSelectTip, "frmMain.LblDrvSel.ToolTipText", "选择启动时默认使用的刻录机"},
    {SelectFirstDrive, "frmMain.meuSelectFirstDrive", "默认选择第一个刻录机"},
    {SelectLastDrive, "frmMain.meuSelectLastDrive", "默认选择最后一个刻录机"},
    {EjectTray, "frmMain.meuEject", "弹出托盘"},
    {LoadTray, "frmMain.meuLoadTray", "关闭托盘"},
    {DiscInfo, "frmMain.meuDiscInfo", "光碟信息 ..."},
    {EraseDisc, "frmMain.meuEraseDisc", "擦除可重写光碟"},
    {HelpFile, "frmMain.meuHelpFile", "帮助文件"},
    {VisitWebPage, "frmMain.meuVisitMyWeb", "访问本程式的主页"},
    {MailToAuthor, "frmMain.meuMailToMe", "给作者写信"},
    {About, "frmMain.meuAbout", "关于..."},
    {HandOverRefused, "frmMain.String11",
     "正在进行其他任务，无法打开这些文件。请完成或关闭当前窗口后再试。"},
};
}  // namespace

std::span<const TextRow<MainText>> TextRows(MainText) {
    return CheckedTextRows<kRows>();
}
