// The virtual drive folder's locks on Windows (LockFileEx; on Linux
// tests/cli/exclusive_access.sh races real processes over flock): a drive
// one program holds is in use for every other until it is given back.
#include <gtest/gtest.h>

#include "ExclusiveAccess.h"
#include "VirtualDriveSession.h"

namespace {
TEST(WindowsFolderLock, AHeldDriveIsInUseForAnotherProgramUntilGivenBack) {
    VirtualDriveSession bench;
    bench.Insert(MediumKind::CdR);
    clsEmulatedDrive other({bench.Folder()});
    ASSERT_EQ(bench.Transport().ClaimDrive(bench.Id()), "");
    EXPECT_EQ(other.ClaimDrive(bench.Id()), ExclusiveAccess::kInUse);
    bench.Transport().ReleaseDrive(bench.Id());
    EXPECT_EQ(other.ClaimDrive(bench.Id()), "");
    EXPECT_EQ(bench.Transport().ClaimDrive(bench.Id()), ExclusiveAccess::kInUse);
    other.ReleaseDrive(bench.Id());
}
}  // namespace
