#include "StartUpArguments.h"

#include <filesystem>

#include "Utf8Path.h"

namespace {
std::string AbsolutePath(const std::string& argument) {
    std::error_code error;
    const std::filesystem::path path = std::filesystem::absolute(Utf8Path(argument), error);
    return error ? argument : Utf8Of(path.lexically_normal());
}
}  // namespace

StartUpRequest ReadStartUpArguments(const std::vector<std::string>& arguments) {
    StartUpRequest request;
    StartUpRequest::Kind kind = StartUpRequest::Kind::Image;
    bool options = true;
    for (const std::string& argument : arguments) {
        if (options && argument == "--") {
            options = false;
        } else if (options && argument == "--data") {
            kind = StartUpRequest::Kind::Data;
        } else if (options && argument == "--audio") {
            kind = StartUpRequest::Kind::Audio;
        } else if (!argument.empty() && (!options || argument.front() != '-')) {
            request.paths.push_back(AbsolutePath(argument));
        }
    }
    if (request.paths.empty()) return {};
    request.kind = kind;
    // An image is recorded one at a time: the first one named.
    if (kind == StartUpRequest::Kind::Image) request.paths.resize(1);
    return request;
}

std::vector<std::string> StartUpArgumentsOf(const StartUpRequest& request) {
    std::vector<std::string> arguments;
    if (request.kind == StartUpRequest::Kind::None) return arguments;
    if (request.kind == StartUpRequest::Kind::Data) arguments.emplace_back("--data");
    if (request.kind == StartUpRequest::Kind::Audio) arguments.emplace_back("--audio");
    arguments.emplace_back("--");
    arguments.insert(arguments.end(), request.paths.begin(), request.paths.end());
    return arguments;
}
