#include "ByteFifo.h"

#include <algorithm>
#include <cstring>

ByteFifo::ByteFifo(std::size_t capacity) : m_ring(capacity) {}

std::span<std::uint8_t> ByteFifo::Room() {
    std::unique_lock lock(m_mutex);
    m_changed.wait(lock, [this] { return m_stopped || m_held < m_ring.size(); });
    if (m_stopped) return {};
    const std::size_t end = (m_start + m_held) % m_ring.size();
    // Contiguous: the free bytes up to the end of the ring.
    return {m_ring.data() + end, std::min(m_ring.size() - m_held, m_ring.size() - end)};
}

void ByteFifo::Put(std::size_t count) {
    {
        const std::lock_guard lock(m_mutex);
        m_held += count;
    }
    m_changed.notify_all();
}

void ByteFifo::EndPut(std::string problem) {
    {
        const std::lock_guard lock(m_mutex);
        m_ended = true;
        m_problem = std::move(problem);
    }
    m_changed.notify_all();
}

std::size_t ByteFifo::Take(std::span<std::uint8_t> out) {
    std::size_t got = 0;
    std::unique_lock lock(m_mutex);
    while (got < out.size()) {
        if (m_held == 0 && !m_ended) {
            if (m_taken) ++m_starved;
            m_changed.wait(lock, [this] { return m_held > 0 || m_ended; });
        }
        if (m_held == 0) break;  // ended
        const std::size_t part = std::min({out.size() - got, m_held, m_ring.size() - m_start});
        std::memcpy(out.data() + got, m_ring.data() + m_start, part);
        m_start = (m_start + part) % m_ring.size();
        m_held -= part;
        got += part;
        m_taken = true;
        m_changed.notify_all();
    }
    return got;
}

std::span<const std::uint8_t> ByteFifo::Lend(std::size_t count) {
    std::unique_lock lock(m_mutex);
    if (m_held < count && !m_ended) {
        if (m_taken && m_held == 0) ++m_starved;
        m_changed.wait(lock, [&] { return m_held >= count || m_ended; });
    }
    if (m_held < count || m_start + count > m_ring.size()) return {};
    m_lent = count;
    m_taken = true;
    return {m_ring.data() + m_start, count};
}

void ByteFifo::Release() {
    {
        const std::lock_guard lock(m_mutex);
        if (m_lent == 0) return;
        m_start = (m_start + m_lent) % m_ring.size();
        m_held -= m_lent;
        m_lent = 0;
    }
    m_changed.notify_all();
}

std::string ByteFifo::WaitEnd() {
    std::unique_lock lock(m_mutex);
    m_changed.wait(lock, [this] { return m_ended; });
    return m_problem;
}

void ByteFifo::StopTaking() {
    {
        const std::lock_guard lock(m_mutex);
        m_stopped = true;
    }
    m_changed.notify_all();
}

bool ByteFifo::Stopped() const {
    const std::lock_guard lock(m_mutex);
    return m_stopped;
}

int ByteFifo::FillPercent() const {
    const std::lock_guard lock(m_mutex);
    return static_cast<int>(m_held * 100 / m_ring.size());
}

std::int64_t ByteFifo::Starved() const {
    const std::lock_guard lock(m_mutex);
    return m_starved;
}
