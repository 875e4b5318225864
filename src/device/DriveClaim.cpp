#include "DriveClaim.h"

#include "ExclusiveAccess.h"
#include "TransportSlot.h"

namespace {
ExclusiveAccess* Access() {
    return dynamic_cast<ExclusiveAccess*>(Transport());
}
}  // namespace

DriveClaim::DriveClaim(std::string drive) : m_drive(std::move(drive)) {
    if (ExclusiveAccess* access = Access()) m_problem = access->ClaimDrive(m_drive);
}

DriveClaim::~DriveClaim() {
    if (!Held()) return;
    if (ExclusiveAccess* access = Access()) access->ReleaseDrive(m_drive);
}

bool DriveClaim::InUse() const {
    return m_problem == ExclusiveAccess::kInUse;
}
