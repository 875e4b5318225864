#include "AudioBurnMessages.h"

#include <array>

#include "EnginesText.h"

namespace {
// Index = message number.
constexpr std::array<std::string_view, 39> kBuiltIn = {
    "",
    "读取 Write Parameters Page出错!",  // 01 reading the Write Parameters page failed
    "错误",
    "写入 Write Parameters page失败!",  // 03 writing the Write Parameters page failed
    "错误",
    "正在生成轨道 ...",            // 05 generating track
    "正在写入轨道 ...",            // 06 writing track
    "碟机不支持所选定的写入倍速",  // 07 the drive does not support the speed
    "将以默认速度刻录!",           // 08 recording at the default speed
    "提示",
    "读取轨道信息失败!",  // 10 reading track information failed
    "错误",
    "单次刻录时间超过",  // 12 a single write took longer than
    "错误",
    "刻录出错",         // 14 recording error
    "关闭轨道(Track)",  // 15 close track
    "失败!",
    "关闭区间(Session)",  // 17 close session
    "失败!",
    "弹出光盘...",  // 19 ejecting the disc
    "刻录完成!",    // 20 recording finished
    "信息",
    "你尚未添加要刻录的文件!",  // 22 no files added yet
    "提示",
    "您的光碟机中没有光碟片",  // 24 no disc in the drive
    "提示",
    "您的刻录机正在忙碌中！",                                       // 26 the recorder is busy
    "您入放的是一张DVD碟片，请更换成CD-R or CD-RW碟片再进行刻录!",  // 27 a DVD is inserted
    "提示",
    "碟片不是空白的，请更换一张碟片或抹除后再进行刻录...",  // 29 the disc is not blank
    "提示",
    "轨道数超过Read-Book标准所规定的99轨!请移除部分轨道!",  // 31 more than 99 tracks
    "提示",
    "正在添加文件 ...",   // 33 adding files
    "不支持的文件类型!",  // 34 file type not supported
    "提示",
    "文件添加完成！",  // 36 files added
    "确定要停止刻录吗？中途停止的光盘无法播放：CD-R 将无法再使用，CD-RW 需要先抹除。",  // 37 stop
                                                                                        // the
                                                                                        // recording?
    "停止刻录",
};
}  // namespace

std::string_view AudioBurnBuiltInText(int number) {
    if (number < 1 || number >= static_cast<int>(kBuiltIn.size())) return {};
    return kBuiltIn[number];
}

std::string UnsupportedFileText(const std::string& path, const std::string& notSupported,
                                const std::string& reason) {
    return path + notSupported + (reason.empty() ? "" : " (" + reason + ")");
}

std::string AudioFileProblemText(const std::string& path, AudioRefusal kind,
                                 const std::string& reason, const std::string& notSupported) {
    switch (kind) {
        case AudioRefusal::Missing:
            return EnginesText("FileMissing", "找不到文件 %1，或它不是普通文件。", {path});
        case AudioRefusal::Unreadable:
            return EnginesText("FileUnreadable", "无法读取 %1（%2）。", {path, reason});
        case AudioRefusal::CutShort:
            return EnginesText("FileCutShort",
                               "%1 不完整：文件在它声明的声音结束之前就结束了（%2）。",
                               {path, reason});
        case AudioRefusal::Silent:
            return EnginesText("FileSilent", "%1 不含任何声音。", {path});
        case AudioRefusal::NotSound:
        case AudioRefusal::None:
            break;
    }
    return UnsupportedFileText(path, notSupported, reason);
}

std::string ChangedFileText(const std::string& path) {
    return EnginesText("FileChanged", "%1 在检查之后被更改了（长度或修改时间不同），刻录已停止。",
                       {path});
}
