#pragma once

#include <span>

#include "TextTable.h"

// The captions of the message boxes' buttons ("MsgBox.*").
enum class MessageBoxText { Ok, Cancel, Yes, No, Count };
std::span<const TextRow<MessageBoxText>> TextRows(MessageBoxText);
