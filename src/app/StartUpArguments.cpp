#include "StartUpArguments.h"

#include <filesystem>

std::string ImageToRecord(const std::vector<std::string>& arguments) {
    bool options = true;
    for (const std::string& argument : arguments) {
        if (options && argument == "--") {
            options = false;
            continue;
        }
        if (argument.empty() || (options && argument.front() == '-')) continue;
        std::error_code error;
        const std::filesystem::path path = std::filesystem::absolute(argument, error);
        return error ? argument : path.lexically_normal().string();
    }
    return {};
}
