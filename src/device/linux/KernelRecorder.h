#pragma once

#include <sys/types.h>

#include <memory>
#include <string>
#include <vector>

#include "ServingIdentity.h"
#include "TcmuTarget.h"

class clsEmulatedDrive;
class UioDevice;

// A virtual drive folder presented to this machine's kernel as a SCSI CD/DVD
// recorder: every program reaches it through /dev/srN and /dev/sgN, and every
// command the kernel passes on is answered by the virtual drive's own code.
// Configuring the kernel needs root; the commands are answered by a serving
// process of their own, which drops to the folder owner's user and groups
// (see ServingIdentity) once the unit's device and the drive folder are open.
// This object, in the process that kept root, only configures and tears
// down. Needs the kernel modules target_core_user and tcm_loop.
class KernelRecorder {
  public:
    // `folder` is a virtual drive folder (maple-cli virtual create).
    explicit KernelRecorder(const std::string& folder);
    // Detaches what is still attached.
    ~KernelRecorder();
    KernelRecorder(const KernelRecorder&) = delete;
    KernelRecorder& operator=(const KernelRecorder&) = delete;

    // Loads missing kernel modules, opens the drive, configures the unit,
    // starts the serving process, creates the port and waits for the device
    // nodes. On failure undoes everything done so far, newest first, and
    // returns the reason. SIGTERM (to be blocked in the calling thread, as
    // SIGCHLD, which tells that the serving process ended) stops the serving
    // process, which keeps it blocked and waits for it.
    std::string Attach();
    const std::string& BlockNode() const { return m_block; }
    const std::string& GenericNode() const { return m_generic; }
    // The kernel configuration made for the drive (configfs paths).
    std::vector<std::string> Configuration() const { return m_target.Parts(); }
    // The serving process and whom it serves as.
    pid_t ServingProcess() const { return m_server; }
    // True once the serving process has ended by itself (SIGCHLD may come
    // from other children too: this tells).
    bool ServingEnded();
    const ServingIdentity& Identity() const { return m_identity; }

    // Removes the port (the serving process still answering the kernel
    // meanwhile; when it has ended, the commands left in its ring are failed
    // first so that nothing waits for their time limit), stops the serving
    // process (which saves the folder) and removes the unit. Returns the
    // problems, among them how the serving process ended when that was not
    // on request; empty when none.
    std::string Detach();

    // Removes the configuration a killed server left for `folder`, after
    // failing the commands still waiting in its ring. `removed` receives the
    // configfs paths taken down, in that order. Fails while a server still runs.
    static std::string RemoveLeftover(const std::string& folder, std::vector<std::string>& removed);

  private:
    std::string StartServing();
    [[noreturn]] void Serve();
    std::string StopServing();
    static std::string EndText(int status);
    std::string WaitForNodes();

    std::string m_folder;
    TcmuTarget m_target;
    std::unique_ptr<clsEmulatedDrive> m_drive;
    std::unique_ptr<UioDevice> m_uio;
    ServingIdentity m_identity;
    pid_t m_server = -1;
    int m_endStatus = -1;  // how the serving process ended by itself (waitpid's status)
    std::string m_block, m_generic;
};
