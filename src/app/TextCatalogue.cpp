#include "TextCatalogue.h"

#include <mutex>
#include <unordered_map>

#include "LanguageFile.h"

namespace {
// The file read for the run, and the values looked up in it so far. Shared
// by the windows' thread and the engines' workers: every use holds m_mutex.
class LoadedLanguageFile {
  public:
    std::string Value(std::string_view key) {
        const std::lock_guard<std::mutex> lock(m_mutex);
        const std::string path = LanguageFilePath();
        if (!m_loaded || path != m_path) {
            m_path = path;
            m_content = path.empty() ? std::string() : ReadWholeFile(path);
            m_values.clear();
            m_loaded = true;
        }
        auto found = m_values.find(std::string(key));
        if (found == m_values.end())
            found = m_values.emplace(std::string(key), FindKeyValue(m_content, key)).first;
        return found->second;
    }

  private:
    std::mutex m_mutex;
    bool m_loaded = false;
    std::string m_path;
    std::string m_content;
    std::unordered_map<std::string, std::string> m_values;
};

LoadedLanguageFile& File() {
    static LoadedLanguageFile file;
    return file;
}
}  // namespace

namespace TextCatalogue {

std::string Text(std::string_view key, std::string_view builtIn,
                 std::initializer_list<std::string> values) {
    std::string text = File().Value(key);
    if (text.empty()) text = builtIn;
    int number = 1;
    for (const std::string& value : values) {
        const std::string mark = "%" + std::to_string(number++);
        if (const auto at = text.find(mark); at != std::string::npos)
            text.replace(at, mark.size(), value);
    }
    return text;
}

}  // namespace TextCatalogue
