#include "IniFile.h"

#include <algorithm>
#include <fstream>
#include <random>
#include <sstream>

#include "IniText.h"
#include "Utf8Path.h"

namespace {
// "[General]" holds the keys of no section; a section really named
// "General" is written "[%General]".
std::string SectionFromHeader(std::string_view header) {
    const auto close = header.find(']');
    std::string_view inside =
        header.substr(1, close == std::string_view::npos ? header.npos : close - 1);
    while (!inside.empty() && (inside.front() == ' ' || inside.front() == '\t'))
        inside.remove_prefix(1);
    while (!inside.empty() && (inside.back() == ' ' || inside.back() == '\t'))
        inside.remove_suffix(1);
    std::string lower(inside);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; });
    if (lower == "general") return "";
    if (lower == "%general") return std::string(inside.substr(1));
    return IniText::UnescapeKey(inside);
}

std::string HeaderOf(const std::string& section) {
    if (section.empty()) return "[General]";
    const std::string escaped = IniText::EscapeKey(section);
    std::string lower = escaped;
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; });
    return lower == "general" ? "[%" + escaped + "]" : "[" + escaped + "]";
}

std::string_view TrimBlanks(std::string_view text) {
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
    return text;
}
}  // namespace

bool IniFile::Load(const std::string& path) {
    m_sections.clear();
    std::error_code error;
    const auto status = std::filesystem::status(Utf8Path(path), error);
    if (!std::filesystem::exists(status)) return true;
    std::ifstream in(Utf8Path(path), std::ios::binary);
    if (!std::filesystem::is_regular_file(status) || !in) return false;
    std::stringstream buffer;
    buffer << in.rdbuf();
    std::string data = buffer.str();
    if (data.starts_with("\xEF\xBB\xBF")) data.erase(0, 3);
    std::string section;
    std::string_view line;
    std::size_t equals = 0;
    for (std::size_t at = 0; IniText::NextLine(data, at, line, equals);) {
        if (line.front() == '[') {
            section = SectionFromHeader(line);
            SectionNamed(section);
            continue;
        }
        if (equals == std::string_view::npos) continue;
        const std::string key = IniText::UnescapeKey(TrimBlanks(line.substr(0, equals)));
        if (!key.empty())
            SectionNamed(section).escapedValues[key] =
                IniText::StandAloneValue(line.substr(equals + 1));
    }
    return true;
}

bool IniFile::Save(const std::string& path) const {
    std::ostringstream text;
    for (const Section& section : m_sections) {
        if (section.escapedValues.empty()) continue;
        if (text.tellp() > 0) text << '\n';
        text << HeaderOf(section.name) << '\n';
        for (const auto& [key, value] : section.escapedValues)
            text << IniText::EscapeKey(key) << '=' << value << '\n';
    }
    const std::filesystem::path target = Utf8Path(path);
    std::error_code error;
    std::filesystem::create_directories(target.parent_path(), error);
    std::filesystem::path partial = target;
    partial += ".new" + std::to_string(std::random_device{}());
    {
        std::ofstream out(partial, std::ios::binary | std::ios::trunc);
        out << text.str();
        if (!out.flush()) {
            std::filesystem::remove(partial, error);
            return false;
        }
    }
    std::error_code renamed;
    std::filesystem::rename(partial, target, renamed);
    if (renamed) std::filesystem::remove(partial, error);
    return !renamed;
}

std::optional<std::string> IniFile::Value(const std::string& section,
                                          const std::string& key) const {
    for (const Section& candidate : m_sections) {
        if (candidate.name != section) continue;
        const auto found = candidate.escapedValues.find(key);
        if (found == candidate.escapedValues.end()) return std::nullopt;
        return IniText::UnescapeValue(found->second);
    }
    return std::nullopt;
}

void IniFile::SetValue(const std::string& section, const std::string& key,
                       const std::string& value) {
    SectionNamed(section).escapedValues[key] = IniText::EscapeValue(value);
}

IniFile::Section& IniFile::SectionNamed(const std::string& name) {
    for (Section& section : m_sections)
        if (section.name == name) return section;
    m_sections.push_back({name, {}});
    return m_sections.back();
}
