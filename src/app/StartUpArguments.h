#pragma once

#include <string>
#include <vector>

// What the program was started with, as the file manager starts it:
// "maple-writer FILE.iso" records an image, "maple-writer --data PATH..."
// opens the data disc window with those files and folders,
// "maple-writer --audio FILE..." the audio window with those tracks.
struct StartUpRequest {
    enum class Kind { None, Image, Data, Audio };
    Kind kind = Kind::None;
    // Absolute paths; an image request holds one.
    std::vector<std::string> paths;

    bool operator==(const StartUpRequest&) const = default;
};

// Reads the arguments after the program name, with the toolkit's own options
// already taken out. "--data" or "--audio" choose the window; other options
// are ignored; after "--" every argument is a path. Without a path there is
// no request.
StartUpRequest ReadStartUpArguments(const std::vector<std::string>& arguments);

// The arguments that ReadStartUpArguments reads back as `request`: how a
// second start hands its request to the running program.
std::vector<std::string> StartUpArgumentsOf(const StartUpRequest& request);
