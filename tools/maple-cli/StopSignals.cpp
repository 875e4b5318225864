#include "StopSignals.h"
#include "CliTexts.h"

const std::string& StopNote() {
    static const std::string note = "\nmaple-cli: " + Text(CliText::StoppingNote) + "\n";
    return note;
}
