#include "DriveStates.h"

DriveStates::State& DriveStates::Of(const std::string& drive) {
    std::unique_ptr<State>& state = m_states[drive];
    if (!state) state = std::make_unique<State>();
    return *state;
}

std::mutex& DriveStates::CommandLock(const std::string& drive) {
    const std::lock_guard<std::mutex> lock(m_mutex);
    return Of(drive).command;
}

void DriveStates::SetSense(const std::string& drive, SenseFields sense) {
    const std::lock_guard<std::mutex> lock(m_mutex);
    State& state = Of(drive);
    state.sense = sense;
    m_threadDrive[std::this_thread::get_id()] = &state;
}

SenseFields DriveStates::LastSense() const {
    const std::lock_guard<std::mutex> lock(m_mutex);
    const auto found = m_threadDrive.find(std::this_thread::get_id());
    return found == m_threadDrive.end() ? SenseFields{} : found->second->sense;
}
