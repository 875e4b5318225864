// libFuzzer target: the settings file reader and writer. Any file loads;
// when the program saves one setting (any text) into it, the rewritten file
// reads back that text and the same values for the keys it did not change.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <string>

#include "IniFile.h"
#include "TestEnvironment.h"

namespace {
const TempFolder folder;

constexpr const char* kChangedKey = "CDorDVD";

// Keys the program reads, and one named by the start of the file itself.
bool SameValues(const IniFile& a, const IniFile& b, const std::string& ownKey) {
    for (const std::string& key : {std::string("TempISO"), std::string("DefaultDrive"), ownKey})
        for (const std::string& section : {std::string("Setting"), std::string()})
            if (key != kChangedKey && a.Value(section, key) != b.Value(section, key)) return false;
    return true;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const std::string path = folder.File("fuzz.ini");
    std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
    IniFile before;
    if (!before.Load(path)) std::abort();
    IniFile changed = before;
    changed.SetValue("Setting", kChangedKey, text);
    if (!changed.Save(path)) std::abort();
    IniFile after;
    if (!after.Load(path) || after.Value("Setting", kChangedKey) != text) std::abort();
    if (!SameValues(before, after, text.substr(0, text.find_first_of("=\n")))) std::abort();
    return 0;
}
