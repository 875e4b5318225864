#include "SeveralDrivesReport.h"

#include <algorithm>

#include "WriteIsoTexts.h"

class SeveralDrivesReport::DriveView : public EngineReporter {
  public:
    DriveView(SeveralDrivesReport& report, std::size_t index) : m_report(report), m_index(index) {}

    void PhaseText(const std::string& text) override {
        const std::lock_guard lock(m_report.m_lock);
        m_report.m_inner.PhaseText(m_report.Named(m_index, text));
    }
    void PercentText(const std::string& /*text*/) override {}
    void ElapsedText(const std::string& text) override {
        const std::lock_guard lock(m_report.m_lock);
        m_report.m_inner.ElapsedText(text);
    }
    void Progress(int value) override {
        const std::lock_guard lock(m_report.m_lock);
        m_report.Progress(m_index, value);
    }
    MessageAnswer Message(const std::string& text, const std::string& title, MessageIcon icon,
                          MessageButtons buttons) override {
        const std::lock_guard lock(m_report.m_lock);
        if (icon == MessageIcon::Information && buttons == MessageButtons::Ok) {
            m_report.m_inner.PhaseText(m_report.Named(m_index, text));
            return MessageAnswer::Ok;
        }
        return m_report.m_inner.Message(m_report.Named(m_index, text), title, icon, buttons);
    }
    bool CancelRequested() override {
        const std::lock_guard lock(m_report.m_lock);
        return m_report.m_inner.CancelRequested();
    }

  private:
    SeveralDrivesReport& m_report;
    std::size_t m_index;
};

SeveralDrivesReport::SeveralDrivesReport(EngineReporter& inner, std::vector<std::string> names)
    : m_inner(inner), m_names(std::move(names)), m_progress(m_names.size(), 0) {
    for (std::size_t i = 0; i < m_names.size(); ++i)
        m_views.push_back(std::make_unique<DriveView>(*this, i));
}

SeveralDrivesReport::~SeveralDrivesReport() = default;

EngineReporter& SeveralDrivesReport::Drive(std::size_t index) {
    return *m_views.at(index);
}

void SeveralDrivesReport::Ended(std::size_t index) {
    const std::lock_guard lock(m_lock);
    m_progress.at(index) = -1;
}

std::string SeveralDrivesReport::Named(std::size_t index, const std::string& text) const {
    return Text(WriteIsoText::DriveLine, {m_names.at(index), text});
}

void SeveralDrivesReport::Progress(std::size_t index, int value) {
    m_progress.at(index) = value;
    int slowest = 100;
    for (const int level : m_progress)
        if (level >= 0) slowest = std::min(slowest, level);
    m_inner.Progress(slowest);
    m_inner.PercentText(std::to_string(slowest) + "%");
}
