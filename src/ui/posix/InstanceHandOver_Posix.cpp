// Platform part of InstanceHandOver: Linux. The desktop starts a new program
// for each file, and a second one shows the single-instance message.
#include "InstanceHandOver.h"

struct InstanceHandOver::Listener {};

InstanceHandOver::InstanceHandOver() = default;
InstanceHandOver::~InstanceHandOver() = default;

bool InstanceHandOver::Listen(Receiver /*receiver*/) {
    return false;
}

bool InstanceHandOver::HandOver(const QString& /*image*/) {
    return false;
}
