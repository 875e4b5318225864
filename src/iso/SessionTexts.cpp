#include "SessionTexts.h"

namespace {
using enum SessionText;
constexpr TextRow<SessionText> kRows[] = {
    {NotIsoUdf, "Sessions.NotIsoUdf",
     "光碟的最后一个区段是 UDF 文件系统，不是 ISO 9660，无法在其后添加文件。"},
    {NotIso, "Sessions.NotIso",
     "光碟的最后一个区段不含 ISO 9660 文件系统（音轨或其他格式），无法在其后添加文件。"},
    {Unreadable, "Sessions.Unreadable", "无法读取光碟的最后一个区段：%1（扇区 %2）。"},
    {ScatteredFile, "Sessions.ScatteredFile",
     "光碟上的“%1”分成几段存放，各段不相连，无法在含有这样的文件的光碟上添加文件。"},
    {CopyNotIsoUdf, "Sessions.CopyNotIsoUdf",
     "光碟有多个区段，最后一个区段是 UDF 文件系统，不是 ISO 9660，无法复制。"},
    {CopyNotIso, "Sessions.CopyNotIso",
     "光碟有多个区段，最后一个区段不含 ISO 9660 文件系统（音轨或其他格式），无法复制。"},
    {CopyScatteredFile, "Sessions.CopyScatteredFile",
     "光碟上的“%1”分成几段存放，各段不相连，无法复制这张多区段光碟。"},
    {SymbolicLink, "Sessions.SymbolicLink", "符号链接"},
    {SpecialFile, "Sessions.SpecialFile", "设备文件或特殊文件"},
    {OutsideSession, "Sessions.OutsideSession", "数据不在光碟已记录的范围内"},
    {UnusableName, "Sessions.UnusableName", "名称无法在本程序中使用"},
    {Clashes, "Sessions.Clashes",
     "以下新文件与光碟上已有的文件同名：\n%"
     "1\n要用新文件取代光碟上的文件吗？（旧文件仍占用光碟空间）"},
    {DiscChanged, "Sessions.DiscChanged",
     "光碟已被更换或已改变，无法在原来的位置添加文件。请重新读取光碟后再试。"},
    {GrowthFailed, "Sessions.GrowthFailed",
     "新文件已写入，但无法更新光碟开头的卷描述符：光碟仍只显示原有的文件。"},
    {BlankDisc, "Sessions.BlankDisc", "光碟是空白的：没有可以继续的数据，请直接刻录新光碟。"},
    {ClosedDisc, "Sessions.ClosedDisc", "光碟已关闭（或不可写入），无法再添加文件。"},
    {NoDiscState, "Sessions.NoDiscState", "光碟机没有报告光碟的状态，无法添加文件。"},
    {CopyingLastSession, "Sessions.CopyingLastSession",
     "光碟有多个区段：正在复制最后一个区段所显示的文件..."},
    {LeftOut, "Sessions.LeftOut", "未复制 %1（%2）"},
    {NothingToClose, "Sessions.NothingToClose",
     "这张光碟是直接改写的，没有区段需要关闭：它在任何光碟机中都可以读取。"},
    {CloseRefused, "Sessions.CloseRefused", "光碟机拒绝关闭光碟，光碟仍可以添加文件。"},
    {DiscClosed, "Sessions.DiscClosed", "光碟已关闭，不能再添加文件。"},
    {CloseConfirm, "Sessions.CloseConfirm",
     "关闭光碟后将不能再向它添加文件。CD 与 DVD-R 会再写入一个列出相同文件的区段。要关闭光碟吗？"},
    {ContinueQuestion, "Sessions.ContinueQuestion",
     "光碟机中的光碟含有数据，还可以添加文件。\n要继续这张光碟（是：项目从光碟上的文件开始），还是"
     "开始一个新项目（否）？"},
    {OnDiscTip, "Sessions.OnDiscTip", "已在光碟上"},
    {LeftOutList, "Sessions.LeftOutList", "以下项目仍留在光碟上，但不会列在新区段中："},
};
}  // namespace

std::span<const TextRow<SessionText>> TextRows(SessionText) {
    return CheckedTextRows<kRows>();
}
