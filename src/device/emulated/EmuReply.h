#pragma once

#include <cstdint>
#include <vector>

#include "EmuCommand.h"

// Helpers that build data-in replies.
namespace EmuReply {
void Put16(std::vector<std::uint8_t>& reply, std::size_t at, std::uint32_t value);
void Put32(std::vector<std::uint8_t>& reply, std::size_t at, std::uint32_t value);
// CD address as (0, M, S, F) of an LBA (LBA 0 = 00:02:00).
void PutMsf(std::vector<std::uint8_t>& reply, std::size_t at, std::int64_t lba);
// Copies min(allocation length, reply size, buffer length) bytes to the
// caller's buffer; a drive never fails because the allocation is short.
EmuOutcome Send(const EmuCall& call, const std::vector<std::uint8_t>& reply,
                std::uint32_t allocationLength);
}  // namespace EmuReply
