// libFuzzer target: the language-file reader and the locale mapping. Any
// file gives, for any key, a value of one line (no line feed or carriage
// return in it), whether read from the file or from its text in memory as
// the catalogue reads it.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <string>

#include "LanguageFile.h"
#include "TestEnvironment.h"

namespace {
const TempFolder folder;

void CheckValue(const std::string& value) {
    if (value.find_first_of("\r\n") != std::string::npos) std::abort();
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const std::string path = folder.File("fuzz.lng");
    std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
    // Keys the program reads, and one taken from the file itself.
    const std::string ownKey = text.substr(0, text.find_first_of("=\n"));
    for (const std::string& key :
         {std::string("frmMain.String01"), std::string("Engines.NoTestMode"), ownKey}) {
        const std::string value = FindKeyValue(text, key);
        CheckValue(value);
        if (ReadKeyValue(path, key) != value) std::abort();
    }
    const std::string language = LanguageNameForLocale(text);
    if (!language.empty() && language != "Chinese Simple" && language != "Chinese Tradition" &&
        language != "English")
        std::abort();
    return 0;
}
