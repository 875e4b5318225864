#include "JobLog.h"

#include <mutex>

#include "OutputFile.h"
#include "ProgramPaths.h"
#include "TransportSlot.h"

namespace mfa = modFileAccess;

namespace {
// Shared by the job's thread, the window's thread and the trace: m_mutex guards all.
struct OpenLog {
    std::mutex mutex;
    int jobs = 0;
    std::string text;
    std::size_t linesLeftOut = 0;
    std::function<void(const CommandTraceEntry&)> earlierTrace;
};

OpenLog& Log() {
    static OpenLog log;
    return log;
}

void Append(const std::string& line) {
    OpenLog& log = Log();
    const std::lock_guard lock(log.mutex);
    if (log.jobs == 0) return;
    if (log.text.size() + line.size() + 1 > JobLog::kLargestLog) {
        ++log.linesLeftOut;
        return;
    }
    log.text += line;
    log.text += '\n';
}

bool Write(const std::string& text) {
    OutputFile out;
    if (!out.Create(JobLog::LogPath())) return false;
    const auto size = static_cast<std::int64_t>(text.size());
    if (mfa::FileWrite(out.File(), text.data(), size) != size) {
        out.Discard();
        return false;
    }
    return out.Commit();
}
}  // namespace

namespace JobLog {

std::string LogPath() {
    return TempFolder() + "/last-job.log";
}

void Begin(const std::string& job) {
    OpenLog& log = Log();
    {
        const std::lock_guard lock(log.mutex);
        if (log.jobs++ > 0) return;
        log.text = "job: " + job + "\n";
        log.linesLeftOut = 0;
        log.earlierTrace = CommandTrace();
    }
    SetCommandTrace([earlier = log.earlierTrace](const CommandTraceEntry& entry) {
        if (earlier) earlier(entry);
        Append(entry.drive + ": " + FormatTraceEntry(entry));
    });
}

void Note(const std::string& line) {
    Append(line);
}

bool End() {
    OpenLog& log = Log();
    std::string text;
    {
        const std::lock_guard lock(log.mutex);
        if (log.jobs == 0 || --log.jobs > 0) return true;
        text = std::move(log.text);
        if (log.linesLeftOut > 0)
            text += "(" + std::to_string(log.linesLeftOut) + " more lines left out)\n";
        log.text.clear();
    }
    SetCommandTrace(std::move(log.earlierTrace));
    return Write(text);
}

}  // namespace JobLog
