#include "CompletionMessage.h"

#include "EngineMessages.h"

std::string CompletionMessage(const std::string& headline, bool testMode,
                              const std::string& verifyResult) {
    std::string message = headline;
    if (testMode) message += "\n" + Text(EngineMessage::TestNothingRecorded);
    if (!verifyResult.empty()) message += "\n" + verifyResult;
    return message;
}
