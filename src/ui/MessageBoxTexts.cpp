#include "MessageBoxTexts.h"

namespace {
using enum MessageBoxText;
constexpr TextRow<MessageBoxText> kRows[] = {
    {Ok, "MsgBox.OK", "确定"},
    {Cancel, "MsgBox.Cancel", "取消"},
    {Yes, "MsgBox.Yes", "是(&Y)"},
    {No, "MsgBox.No", "否(&N)"},
};
}  // namespace

std::span<const TextRow<MessageBoxText>> TextRows(MessageBoxText) {
    return CheckedTextRows<kRows>();
}
