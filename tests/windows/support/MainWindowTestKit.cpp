#include "MainWindowTestKit.h"

#include <algorithm>
#include <cstring>

std::unique_ptr<RecordingTransport> InquiryTransport(std::vector<std::string> drives,
                                                     std::vector<std::string> silent) {
    auto transport = std::make_unique<RecordingTransport>(std::move(drives));
    transport->SetResponder([silent](const RecordingTransport::Command& command) {
        RecordingTransport::Reply reply;
        if (command.cdb[0] != 0x12) return reply;
        if (std::find(silent.begin(), silent.end(), command.drive) != silent.end()) {
            reply.status = 2;
            reply.key = 0x05;
            reply.asc = 0x24;
            return reply;
        }
        reply.dataIn.assign(36, 0);
        reply.dataIn[0] = 0x05;  // CD/DVD device
        std::memcpy(reply.dataIn.data() + 8, kTestInquiryText, 28);
        return reply;
    });
    return transport;
}

frmMain::TransportMaker MakerOf(std::unique_ptr<clsSCSI> transport) {
    auto holder = std::make_shared<std::unique_ptr<clsSCSI>>(std::move(transport));
    return [holder] {
        TransportChoice choice;
        choice.transport = std::move(*holder);
        return choice;
    };
}
