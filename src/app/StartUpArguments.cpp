#include "StartUpArguments.h"

#include <filesystem>

#include "Utf8Path.h"

std::string ImageToRecord(const std::vector<std::string>& arguments) {
    bool options = true;
    for (const std::string& argument : arguments) {
        if (options && argument == "--") {
            options = false;
            continue;
        }
        if (argument.empty() || (options && argument.front() == '-')) continue;
        std::error_code error;
        const std::filesystem::path path = std::filesystem::absolute(Utf8Path(argument), error);
        return error ? argument : Utf8Of(path.lexically_normal());
    }
    return {};
}
