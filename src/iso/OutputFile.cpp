#include "OutputFile.h"

#include <random>

namespace mfa = modFileAccess;

namespace {
constexpr const char* kPartialSuffix = ".part";
constexpr std::size_t kRandomLength = 6;
constexpr int kAttempts = 100;

std::string RandomPart() {
    static const char kLetters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    thread_local std::mt19937 random{std::random_device{}()};
    std::uniform_int_distribution<std::size_t> pick(0, sizeof(kLetters) - 2);
    std::string text;
    for (std::size_t i = 0; i < kRandomLength; ++i) text += kLetters[pick(random)];
    return text;
}

const char* KindText(mfa::EntryKind kind) {
    switch (kind) {
        case mfa::EntryKind::Link:
            return "a symbolic link";
        case mfa::EntryKind::Directory:
            return "a folder";
        case mfa::EntryKind::Device:
            return "a device";
        case mfa::EntryKind::Fifo:
            return "a named pipe";
        case mfa::EntryKind::Socket:
            return "a socket";
        default:
            return "something else";
    }
}
}  // namespace

OutputFile::~OutputFile() {
    Discard();
}

std::string OutputFile::TargetProblem(const std::string& target) {
    const auto facts = mfa::EntryInfo(target);
    if (!facts || facts->kind == mfa::EntryKind::RegularFile) return {};
    return target + " is " + KindText(facts->kind) + ", not a regular file; choose another name";
}

bool OutputFile::IsPartialName(const std::string& name, const std::string& targetName) {
    const std::size_t stem = targetName.size() + 1;
    const std::size_t suffix = std::char_traits<char>::length(kPartialSuffix);
    return name.size() == stem + kRandomLength + suffix && name.starts_with(targetName + '.') &&
           name.ends_with(kPartialSuffix);
}

bool OutputFile::Create(const std::string& target) {
    Discard();
    m_error.clear();
    if (std::string problem = TargetProblem(target); !problem.empty()) return Fail(problem);
    std::string reason;
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        const std::string partial = target + '.' + RandomPart() + kPartialSuffix;
        m_file = mfa::FileOpen(partial, mfa::Access::Write, mfa::Share::Read,
                               mfa::Disposition::CreateNew);
        if (m_file.handle != -1) {
            m_target = target;
            m_partial = partial;
            return true;
        }
        reason = mfa::LastErrorText();
        // Only a name that happens to be taken is worth another try.
        if (!mfa::EntryInfo(partial)) break;
    }
    return Fail("cannot create " + target + ": " + reason);
}

bool OutputFile::Commit() {
    if (m_file.handle == -1) return false;
    std::string problem;
    if (!mfa::FileClose(m_file))
        problem = "cannot write " + m_partial + ": " + mfa::LastErrorText();
    // The target may have been replaced while the file was written.
    if (problem.empty()) problem = TargetProblem(m_target);
    if (problem.empty() && !mfa::RenameFile(m_partial, m_target))
        problem = "cannot rename " + m_partial + " to " + m_target + ": " + mfa::LastErrorText();
    if (!problem.empty()) {
        Discard();
        return Fail(problem);
    }
    m_partial.clear();
    return true;
}

void OutputFile::Discard() {
    mfa::FileClose(m_file);
    if (!m_partial.empty()) (void)mfa::DeleteFile(m_partial);
    m_partial.clear();
}

bool OutputFile::Fail(const std::string& text) {
    m_error = text;
    return false;
}
