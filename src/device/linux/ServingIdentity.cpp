#include "ServingIdentity.h"

#include <grp.h>
#include <pwd.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstring>

namespace {
constexpr uid_t kNobody = 65534;  // when the system names no "nobody"

std::string Errno(const char* what) {
    return std::string(what) + ": " + std::strerror(errno);
}

// The user's groups as the system lists them; just `group` when it cannot.
std::vector<gid_t> GroupsOf(const passwd& entry) {
    int count = 64;
    std::vector<gid_t> groups(static_cast<std::size_t>(count));
    if (::getgrouplist(entry.pw_name, entry.pw_gid, groups.data(), &count) < 0) {
        groups.resize(static_cast<std::size_t>(count));
        if (::getgrouplist(entry.pw_name, entry.pw_gid, groups.data(), &count) < 0)
            return {entry.pw_gid};
    }
    groups.resize(static_cast<std::size_t>(count));
    return groups;
}
}  // namespace

std::optional<ServingIdentity> ServingIdentity::ForFolder(const std::string& folder,
                                                          std::string& problem) {
    struct stat info {};
    if (::stat(folder.c_str(), &info) != 0) {
        problem = Errno(folder.c_str());
        return std::nullopt;
    }
    ServingIdentity identity{info.st_uid, info.st_gid, {info.st_gid}};
    const passwd* entry = info.st_uid == 0 ? ::getpwnam("nobody") : ::getpwuid(info.st_uid);
    if (entry != nullptr) {
        identity = {entry->pw_uid, entry->pw_gid, GroupsOf(*entry)};
    } else if (info.st_uid == 0) {
        identity = {kNobody, kNobody, {}};
    }
    if (identity.user == 0 || identity.group == 0) {
        problem = folder + ": no user but root to serve the drive as";
        return std::nullopt;
    }
    return identity;
}

std::string ServingIdentity::Assume() const {
    if (::setgroups(groups.size(), groups.data()) != 0) return Errno("setgroups");
    if (::setresgid(group, group, group) != 0) return Errno("setresgid");
    if (::setresuid(user, user, user) != 0) return Errno("setresuid");
    if (::setuid(0) == 0) return "root could be taken back";
    if (::prctl(PR_SET_NO_NEW_PRIVS, 1, 0, 0, 0) != 0) return Errno("PR_SET_NO_NEW_PRIVS");
    // Set after the change of user, which clears it.
    if (::prctl(PR_SET_PDEATHSIG, SIGTERM, 0, 0, 0) != 0) return Errno("PR_SET_PDEATHSIG");
    return {};
}
