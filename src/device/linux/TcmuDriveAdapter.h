#pragma once

#include <string>

#include "TcmuRing.h"
#include "clsSCSI.h"

// Answers the commands of a kernel SCSI unit with one drive of a transport
// (the virtual drive): each CDB goes to the transport's ExecCMD as the
// program's own commands do, with a buffer as long as the command's data
// buffers together, but no longer than its CDB asks for (see
// CdbTransferLength). Data-out commands (WRITE, MODE SELECT ...) get the
// buffers' bytes; the reply of a data-in command is copied back into them.
// Commands are reported to the command trace when one is set.
class TcmuDriveAdapter final : public TcmuCommandHandler {
  public:
    TcmuDriveAdapter(clsSCSI& transport, std::string drive)
        : m_transport(transport), m_drive(std::move(drive)) {}

    void Answer(TcmuCommand& command) override;

    // True for the opcodes that carry data to the drive.
    static bool SendsData(std::uint8_t opcode);

  private:
    static void Gather(const TcmuCommand& command, std::vector<std::uint8_t>& data);
    static void Scatter(const std::vector<std::uint8_t>& data, TcmuCommand& command);
    void Trace(const TcmuCommand& command, const std::vector<std::uint8_t>& data,
               std::int32_t direction, std::int32_t status) const;

    clsSCSI& m_transport;
    std::string m_drive;
};
