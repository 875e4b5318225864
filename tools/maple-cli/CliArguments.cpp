#include "CliArguments.h"

#include <algorithm>

#include "CliTexts.h"

bool CliArguments::TakeFlag(const std::string& flag) {
    const auto at = std::find(m_args.begin(), m_args.end(), flag);
    if (at == m_args.end()) return false;
    m_args.erase(at);
    return true;
}

std::optional<std::string> CliArguments::TakeOption(const std::string& option) {
    const auto at = std::find(m_args.begin(), m_args.end(), option);
    if (at == m_args.end()) return std::nullopt;
    if (at + 1 == m_args.end()) {
        if (m_error.empty()) m_error = Text(CliText::NeedsValue, {option});
        m_args.erase(at);
        return std::nullopt;
    }
    std::string value = *(at + 1);
    m_args.erase(at, at + 2);
    return value;
}

std::optional<long long> CliArguments::TakeNumber(const std::string& option) {
    const auto text = TakeOption(option);
    if (!text) return std::nullopt;
    try {
        std::size_t used = 0;
        const long long value = std::stoll(*text, &used);
        if (used == text->size()) return value;
    } catch (...) {
    }
    if (m_error.empty()) m_error = Text(CliText::NeedsWholeNumber, {option, *text});
    return std::nullopt;
}

std::vector<std::string> CliArguments::Positional() {
    for (const auto& arg : m_args)
        if (arg.rfind("--", 0) == 0 && m_error.empty())
            m_error = Text(CliText::UnknownOption, {arg});
    return m_args;
}
