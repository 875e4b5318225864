// The texts and style pictures of the data disc project window.
#include <QAction>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QTabBar>
#include <QTreeWidget>

#include "LanguageTexts.h"
#include "MouseLabel.h"
#include "ProgramStyle.h"
#include "WindowTexts.h"
#include "frmSaveISO.h"

namespace {
// Built-in message texts, "frmSaveISO.String01" onwards.
const std::vector<std::pair<int, const char*>> kMessages = {
    {1, "关于ISO9660"},
    {2,
     "        ISO9660是一个通用的光盘文件系统,-II突破了-I的文件名1~8个字节,扩展名1~3个字节的限制,"
     "档案及资料夹名可达31个字节。"},
    {3, "关于Joliet"},
    {4,
     "        Joliet是Microsoft创建的一个文件名系统,它最多支持64个字节的文件名,支持 "
     "Unicode字符集,并完全兼容DOS的8.3格式文件名系统。"},
    {5, "进入下一步,准备开始刻录"},
    {6, "生成并保存ISO映像文件"},
    {7, "正在构建文件系统..."},
    {8, "正在写入目录..."},
    {9, "正在写入文件..."},
    {10, "正在写入目录/文件路径表..."},
    {11, "你尚未添加要刻录文件!"},
    {12, "提示"},
    {13, "请输入要保存的*.ISO文件名:"},
    {14, "ISO文件"},
    {15, "ISO文件创建失败!"},
    {16, "错误"},
    {17, "ISO文件创建成功!"},
    {18, "信息"},
    {19, "CD光盘"},
    {20, "DVD光盘"},
    {21, "对不起！Velt光碟知识库网站正在建立中..."},
    {22, "错误"},
    {23, "正在添加文件 ..."},
    {24, "文件添加完成！"},
    {25, "请输入要创建的目录名:"},
    {26, "CD光盘"},
    {27, "DVD光盘"},
    {28, "名称不能为空,不能是“.”或“..”,也不能包含“\\”或“/”!"},
    {29, "此目录中已有同名的项目(不区分大小写):"},
    {30, "不能将目录移动到它自身或它的子目录中!"},
    {31, "以下文件未能移动,目标目录中已有同名的文件:"},
    {32, "映像文件的大小超过了所选光盘的容量,仍然继续吗?"},
    {33, "以下项目未能添加(同名项目已存在、无法读取或不是普通文件及文件夹):"},
    {34, "日期或时间无效,请按 yyyy-mm-dd 和 hh:mm:ss 的格式输入。"},
};
}  // namespace

void frmSaveISO::LoadTexts() {
    const LanguageTexts texts("frmSaveISO");
    m_messages = std::make_unique<WindowMessages>(texts, kMessages);
    std::vector<TextBinding> table = {
        {"lblInfo", TextTarget::Caption(m_lblInfo)},
        {"lvwFiles.ColumnHeaders(1)", TextTarget::HeaderSection(m_lvwFiles, 0)},
        {"lvwFiles.ColumnHeaders(2)", TextTarget::HeaderSection(m_lvwFiles, 1)},
        {"lvwFiles.ColumnHeaders(3)", TextTarget::HeaderSection(m_lvwFiles, 2)},
        {"tabstrip.Tabs(1)", TextTarget::Tab(m_tabstrip, 0)},
        {"tabstrip.Tabs(2)", TextTarget::Tab(m_tabstrip, 1)},
        {"chkCreateISOonly", TextTarget::Caption(m_chkCreateISOonly)},
        {"chkCreateISOonly.ToolTipText", TextTarget::ToolTip(m_chkCreateISOonly)},
        {"cmdAbout.ToolTipText", TextTarget::ToolTip(m_cmdAbout)},
        {"cmdnewPrj.ToolTipText", TextTarget::ToolTip(m_cmdNewPrj)},
        {"cmdBack.ToolTipText", TextTarget::ToolTip(m_cmdBack)},
        {"CmdNext.ToolTipText", TextTarget::ToolTip(m_cmdNext)},
        {"cmdDel.ToolTipText", TextTarget::ToolTip(m_cmdDel)},
        {"cmdRen.ToolTipText", TextTarget::ToolTip(m_cmdRen)},
        {"cmdSetDate.ToolTipText", TextTarget::ToolTip(m_cmdSetDate)},
        {"Frame1", TextTarget::Caption(m_frame1)},
        {"Frame2", TextTarget::Caption(m_frame2)},
        {"Label2(1)", TextTarget::Caption(m_label2)},
        {"cmdSetDate", TextTarget::Caption(m_cmdSetDate)},
        {"LblFileSysType", TextTarget::Caption(m_lblFileSysType)},
        {"LblFileSysInfo", TextTarget::Caption(m_lblFileSysInfo)},
        {"LblMoreInfo", TextTarget::Caption(m_lblMoreInfo)},
        {"LblVeltracODD", TextTarget::Caption(m_lblVeltracODD)},
        {"meuDirNew", TextTarget::Caption(m_meuDirNew)},
        {"meuDirRemove", TextTarget::Caption(m_meuDirRemove)},
        {"meuDirRen", TextTarget::Caption(m_meuDirRen)},
        {"meuFilesRem", TextTarget::Caption(m_meuFilesRem)},
        {"meuFileRen", TextTarget::Caption(m_meuFileRen)},
        {"meuHelpFile", TextTarget::Caption(m_meuHelpFile)},
        {"meuAbout", TextTarget::Caption(m_meuAbout)},
        {"cmdCancel", TextTarget::Caption(m_cmdCancel)},
    };
    for (int i = 0; i < 8; ++i)
        table.push_back(
            {"Label1(" + std::to_string(i + 1) + ")", TextTarget::Caption(m_label1[i])});
    ApplyLanguageTexts(texts, table);
}

void frmSaveISO::LoadStylePictures() {
    const std::pair<QPushButton*, const char*> pictures[] = {
        {m_cmdDel, "Button_Del.bmp"},     {m_cmdRen, "Button_REN.bmp"},
        {m_cmdAbout, "Button_About.bmp"}, {m_cmdNewPrj, "Button_New.bmp"},
        {m_cmdBack, "Button_Back.bmp"},   {m_cmdNext, "Button_Next.bmp"},
    };
    for (const auto& [button, file] : pictures) {
        const QPixmap picture = ProgramStyle::Picture(QString::fromLatin1(file));
        if (!picture.isNull()) button->setIcon(QIcon(picture));
    }
}
