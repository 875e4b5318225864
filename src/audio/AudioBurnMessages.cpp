#include "AudioBurnMessages.h"

#include "EngineMessages.h"

std::string UnsupportedFileText(const std::string& path, const std::string& notSupported,
                                const std::string& reason) {
    return path + notSupported + (reason.empty() ? "" : " (" + reason + ")");
}

std::string AudioFileProblemText(const std::string& path, AudioRefusal kind,
                                 const std::string& reason, const std::string& notSupported) {
    switch (kind) {
        case AudioRefusal::Missing:
            return Text(EngineMessage::FileMissing, {path});
        case AudioRefusal::Unreadable:
            return Text(EngineMessage::FileUnreadable, {path, reason});
        case AudioRefusal::CutShort:
            return Text(EngineMessage::FileCutShort, {path, reason});
        case AudioRefusal::Silent:
            return Text(EngineMessage::FileSilent, {path});
        case AudioRefusal::NotSound:
        case AudioRefusal::None:
            break;
    }
    return UnsupportedFileText(path, notSupported, reason);
}

std::string ChangedFileText(const std::string& path) {
    return Text(EngineMessage::FileChanged, {path});
}
