#pragma once

#include <sys/types.h>

#include <optional>
#include <string>
#include <vector>

// The user a virtual drive is served as once the kernel is configured: the
// owner of its folder with their groups, never root (a folder root owns is
// served as "nobody"). The serving process answers every local user who can
// open /dev/srN or /dev/sgN, so it keeps no more rights than the folder's.
struct ServingIdentity {
    uid_t user = 0;
    gid_t group = 0;
    std::vector<gid_t> groups;  // supplementary groups

    // The identity for the drive folder `folder`; nullopt with `problem` set
    // when the folder cannot be examined or only root would be left.
    static std::optional<ServingIdentity> ForFolder(const std::string& folder,
                                                    std::string& problem);
    // Becomes this identity for good, in this process: supplementary groups,
    // group, user, then no way to gain privileges again (PR_SET_NO_NEW_PRIVS),
    // and SIGTERM when the process that started it ends. Empty on success.
    std::string Assume() const;
};
