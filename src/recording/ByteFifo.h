#pragma once

#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <span>
#include <string>
#include <vector>

// A ring of bytes between one thread that puts (the source of a streamed
// recording) and one that takes (the writing loop), so that a source that
// pauses for a moment does not leave the drive without data.
//
// Thread rules: Room and Put belong to the putting thread, Take, Lend and
// Release to the taking thread; the other calls are for either. m_mutex guards every member but
// m_ring, whose bytes between the put and take positions belong to the taker
// and the rest to the putter.
class ByteFifo {
  public:
    explicit ByteFifo(std::size_t capacity);

    // Free room after the bytes held, waiting until there is some; empty once
    // the taker stopped.
    std::span<std::uint8_t> Room();
    // Hands over the first `count` bytes of the last Room.
    void Put(std::size_t count);
    // No more bytes will come: the source ended (`problem` empty) or failed.
    void EndPut(std::string problem);

    // Fills `out`, waiting for bytes, until it is full or the putter ended.
    // Returns the bytes copied.
    std::size_t Take(std::span<std::uint8_t> out);
    // Like Take without the copy: waits for `count` bytes and, when they lie
    // in one piece of the ring, lends them (they stay held until Release).
    // Empty, taking nothing, when they wrap around the ring's end or the
    // putter ended before them: then Take them.
    std::span<const std::uint8_t> Lend(std::size_t count);
    // Frees the bytes lent last (none: nothing).
    void Release();
    // Waits until the putter ended; returns its problem (empty: a clean end).
    std::string WaitEnd();
    // The taker is gone: Room returns empty from now on.
    void StopTaking();
    bool Stopped() const;

    // Percent of the ring that holds bytes not yet taken.
    int FillPercent() const;
    // Times Take found the ring empty and had to wait (after the first bytes).
    std::int64_t Starved() const;

  private:
    mutable std::mutex m_mutex;
    std::condition_variable m_changed;
    std::vector<std::uint8_t> m_ring;
    std::size_t m_start = 0;  // first byte held
    std::size_t m_held = 0;
    bool m_ended = false;
    bool m_stopped = false;
    bool m_taken = false;    // Take has had bytes once
    std::size_t m_lent = 0;  // held bytes at m_start that the taker reads in place
    std::int64_t m_starved = 0;
    std::string m_problem;
};
