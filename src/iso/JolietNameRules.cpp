#include "JolietNameRules.h"

#include <set>

#include "CaseFolding.h"

namespace JolietNameRules {
namespace {
bool IsHighSurrogate(char16_t unit) {
    return unit >= 0xD800 && unit <= 0xDBFF;
}

std::u16string Number(int counter) {
    const std::string digits = std::to_string(counter);
    return std::u16string(digits.begin(), digits.end());
}
}  // namespace

std::u16string Shorten(const std::u16string& name, const std::u16string& mark) {
    const auto dot = name.rfind(u'.');
    // An extension that would leave little of the name is not kept.
    const bool keepExtension =
        dot != std::u16string::npos && dot > 0 && name.size() - dot <= kJolietNameLimit / 4;
    const std::u16string extension = keepExtension ? name.substr(dot) : std::u16string();
    const std::size_t used = extension.size() + mark.size();
    const std::size_t room = kJolietNameLimit > used ? kJolietNameLimit - used : 0;
    std::u16string base = (keepExtension ? name.substr(0, dot) : name).substr(0, room);
    if (!base.empty() && IsHighSurrogate(base.back())) base.pop_back();
    return base + mark + extension;
}

std::vector<std::u16string> Names(const std::vector<std::u16string>& names,
                                  const std::vector<std::u16string>& taken) {
    std::set<std::u16string> others;
    for (const std::u16string& name : taken) others.insert(CaseFolding::Key(name));
    const auto keeps = [&](const std::u16string& name) {
        return name.size() <= kJolietNameLimit && !others.contains(CaseFolding::Key(name));
    };
    std::set<std::u16string> used = others;
    for (const std::u16string& name : names)
        if (keeps(name)) used.insert(CaseFolding::Key(name));
    std::vector<std::u16string> result = names;
    for (std::u16string& name : result) {
        if (keeps(name)) continue;
        std::u16string candidate = Shorten(name);
        for (int counter = 2; !used.insert(CaseFolding::Key(candidate)).second; ++counter)
            candidate = Shorten(name, u'~' + Number(counter));
        name = candidate;
    }
    return result;
}

}  // namespace JolietNameRules
