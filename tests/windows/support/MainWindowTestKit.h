#pragma once

#include <memory>
#include <string>
#include <vector>

#include "RecordingTransport.h"
#include "frmMain.h"

// A recording transport whose drives answer INQUIRY as "MAPLE   Test Recorder
// 1.00", except the drives named in `silent`, which fail it.
std::unique_ptr<RecordingTransport> InquiryTransport(std::vector<std::string> drives,
                                                     std::vector<std::string> silent = {});

// A transport maker that hands `transport` to the main window's start-up.
frmMain::TransportMaker MakerOf(std::unique_ptr<clsSCSI> transport);

// The INQUIRY part of a label: vendor, product and revision as the test drives answer.
inline constexpr const char* kTestInquiryText = "MAPLE   Test Recorder   1.00";
