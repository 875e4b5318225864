#pragma once

#include <string>
#include <vector>

// The kernel configuration (configfs) that presents a virtual drive folder as
// a SCSI device of this machine: a user backstore unit whose commands come to
// a process through a ring ("TCM in user space"), and a loopback port with
// LUN 0 on that unit. Names derive from the folder's path, so a later run
// finds what a killed one left. Only parts this object created (or adopted)
// are ever removed, newest first.
class TcmuTarget {
  public:
    // `folder` is the drive folder's canonical path.
    explicit TcmuTarget(std::string folder, std::string root = "/sys/kernel/config/target");

    // Why the folder's path cannot name a unit (',' or a line break, or too
    // long); empty when it can.
    std::string Unusable() const;
    // The name the kernel gives the unit's user-space I/O device.
    std::string UioName() const;
    // Creates and enables the unit: 2048-byte blocks, commands aborted by the
    // kernel only after `commandSeconds`.
    std::string CreateUnit(int commandSeconds);
    // The system's error number of the last failed creation step (EEXIST:
    // the unit is there already); 0 when none failed.
    int LastError() const { return m_lastError; }
    // Creates the loopback port, its nexus and LUN 0 on the unit (the kernel
    // then scans the LUN and sends its first commands).
    std::string CreatePort();
    // "H:C:T:L" of the LUN, empty while the port has no SCSI host.
    std::string ScsiAddress() const;

    // Takes over what a killed server left, to remove it; false when nothing
    // of the folder's configuration exists.
    bool Adopt();
    // Fails every command still in the unit's ring and refuses new ones: a
    // killed server answers none, and removing the port waits for them.
    void FailPendingCommands() const;
    // Remove the port parts, then the unit parts. Each returns the problems
    // (one line each), empty when everything went.
    std::string RemovePort();
    std::string RemoveUnit();
    // The configfs paths created and not yet removed, newest last.
    std::vector<std::string> Parts() const;

  private:
    enum class Kind { Directory, SharedDirectory, Link, Nexus };
    struct Part {
        Kind kind;
        std::string path;
    };
    std::string Create(std::vector<Part>& parts, Kind kind, const std::string& path,
                       const std::string& linkTarget = {});
    static std::string Remove(std::vector<Part>& parts);

    std::string m_folder, m_root;
    std::string m_hba, m_unit, m_fabric, m_port, m_tpg, m_lun, m_link;
    std::string m_config;  // dev_config: "maple/<folder>"
    std::vector<Part> m_unitParts, m_portParts;
    int m_lastError = 0;
};
