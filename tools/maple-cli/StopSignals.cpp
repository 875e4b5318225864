#include "StopSignals.h"
#include "CliTexts.h"

const std::string& StopNote() {
    // Never destroyed: a signal during the program's exit still finds it.
    static const std::string& note =
        *new std::string("\nmaple-cli: " + Text(CliText::StoppingNote) + "\n");
    return note;
}
