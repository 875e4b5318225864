#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

// One settings INI file: sections of key=value lines, in the form the
// Qt-based versions of the program wrote, read back and rewritten whole.
// Values of other keys pass through unchanged, unless as written they would
// take the next line with them.
class IniFile {
  public:
    // Reads `path`; a missing file is an empty one. False when it exists but
    // cannot be read.
    bool Load(const std::string& path);
    // Writes the whole file through a temporary file that replaces `path`, so
    // a crash never leaves half a file. False when that fails.
    bool Save(const std::string& path) const;

    std::optional<std::string> Value(const std::string& section, const std::string& key) const;
    void SetValue(const std::string& section, const std::string& key, const std::string& value);

  private:
    struct Section {
        std::string name;
        std::map<std::string, std::string> escapedValues;  // key -> value as written
    };
    Section& SectionNamed(const std::string& name);

    std::vector<Section> m_sections;  // in file order
};
