#pragma once

#include <string>
#include <vector>

// The image file the program was started with ("maple-writer FILE.iso", as
// the desktop opens an ISO image from the file manager), as an absolute
// path; empty when there is none. `arguments` are those after the program
// name, with the toolkit's own options already taken out. Options are
// ignored; after "--" every argument is a file.
std::string ImageToRecord(const std::vector<std::string>& arguments);
