#pragma once

#include <cstdint>
#include <string>

// How one WRITE(10) with busy retries ended.
enum class WriteOutcome {
    Written,       // the drive accepted the data
    GaveUp,        // it kept failing for all attempts (see lastStatus for why)
    WriteError,    // medium error / write error (sense 3/0Ch): stop at once
    OtherFailure,  // nothing was sent (no transport, or no buffer for the length)
};

// Attempts and waits of the busy rule: a drive that works through its buffer
// answers "not ready"; the same write is resent every 100 ms, at most 62 times.
constexpr int kWriteAttempts = 62;
constexpr int kWriteRetryWaitMs = 100;

// Sends WRITE(10) of `blocks` blocks at `lba` from `length` bytes of
// `buffer`, resending the same LBA and data after every failure other than a
// write error, with a wait of kWriteRetryWaitMs (through SleepMilliseconds)
// between attempts. A write error (sense key 3, ASC 0Ch) ends it at once,
// unless it is the last attempt, which gives up whatever its sense.
// `lastStatus`, when given, receives the status of the last attempt: with
// the transport's sense it tells what a GaveUp was (see ClassifyFailure).
[[nodiscard]] WriteOutcome WriteWithRetry(const std::string& drive, std::uint32_t lba,
                                          std::uint16_t blocks, const void* buffer,
                                          std::int32_t length, std::int32_t* lastStatus = nullptr);
