#include "AboutTexts.h"

namespace {
using enum AboutText;
constexpr TextRow<AboutText> kRows[] = {
    {Notice, "frmAbout.String01",
     "警告：本程式目前正处于测试期间，请暂时不要用于重要资料的备份；并且建议尽可能地采用可复写光碟"
     "(CD/DVD-RW)进行测试，以免造成您的光碟(例如:可记录光碟CD/DVD-R)损坏。\n\n"
     "最后，谢谢您的参与测试！"},
    {Title, "frmAbout.Caption", "关于本程式"},
    {VersionCaption, "frmAbout.Label2", "版本: "},
    {OkButton, "frmAbout.CmdOK", "确 定(&O)"},
};
}  // namespace

std::span<const TextRow<AboutText>> TextRows(AboutText) {
    return CheckedTextRows<kRows>();
}
