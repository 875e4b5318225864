#pragma once

#include <string>

// The message that ends a recording without failure: `headline` (the
// window's own "recording complete" or warning text), then, after a test
// run, a line saying that nothing was recorded, then the verification's
// result when there is one; one line each.
std::string CompletionMessage(const std::string& headline, bool testMode,
                              const std::string& verifyResult);
