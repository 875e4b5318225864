#include "TcmuServer.h"

#include <sys/eventfd.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstring>

TcmuServer::~TcmuServer() {
    (void)Stop();
}

std::string TcmuServer::Start() {
    m_stopFd = ::eventfd(0, EFD_CLOEXEC);
    if (m_stopFd < 0) return std::string("cannot make an event: ") + std::strerror(errno);
    m_thread = std::thread([this] { Run(); });
    return {};
}

std::string TcmuServer::Stop() {
    if (m_thread.joinable()) {
        const std::uint64_t one = 1;
        (void)!::write(m_stopFd, &one,
                       sizeof one);  // an eventfd takes it: the count cannot overflow
        m_thread.join();
    }
    if (m_stopFd >= 0) ::close(m_stopFd);
    m_stopFd = -1;
    return m_problem;
}

void TcmuServer::Fail(std::string problem) {
    m_problem = std::move(problem);
    if (m_onFailure) m_onFailure();
}

void TcmuServer::Run() {
    TcmuRing ring(m_uio.Region(), m_uio.Size());
    for (;;) {
        const std::size_t before = ring.Answered();
        std::string problem;
        if (!ring.AnswerPending(m_handler, problem)) return Fail("the command ring: " + problem);
        if (ring.Answered() != before && !m_uio.Notify())
            return Fail("the kernel cannot be told about answers");
        switch (m_uio.Wait(m_stopFd)) {
            case UioDevice::Wake::Commands:
                break;
            case UioDevice::Wake::Stop:
                return;
            case UioDevice::Wake::Failed:
                return Fail("waiting for the kernel's commands failed");
        }
    }
}
