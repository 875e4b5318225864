#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "TcmuTarget.h"

class clsEmulatedDrive;
class TcmuDriveAdapter;
class TcmuServer;
class UioDevice;

// A virtual drive folder presented to this machine's kernel as a SCSI CD/DVD
// recorder: every program reaches it through /dev/srN and /dev/sgN, and every
// command the kernel passes on is answered by the virtual drive's own code.
// Needs root; the kernel modules target_core_user and tcm_loop.
class KernelRecorder {
  public:
    // `folder` is a virtual drive folder (maple-cli virtual create).
    explicit KernelRecorder(const std::string& folder);
    // Detaches what is still attached.
    ~KernelRecorder();
    KernelRecorder(const KernelRecorder&) = delete;
    KernelRecorder& operator=(const KernelRecorder&) = delete;

    // Loads missing kernel modules, opens the drive, configures the unit,
    // serves its command ring, creates the port and waits for the device
    // nodes. On failure undoes everything done so far, newest first, and
    // returns the reason. `onServerFailure` runs on the serving thread when
    // serving ends by itself later (a damaged ring).
    std::string Attach(std::function<void()> onServerFailure);
    const std::string& BlockNode() const { return m_block; }
    const std::string& GenericNode() const { return m_generic; }
    // The kernel configuration made for the drive (configfs paths).
    std::vector<std::string> Configuration() const { return m_target.Parts(); }

    // Removes the port (still answering the kernel meanwhile), stops serving,
    // closes the drive (its folder is saved) and removes the unit. Returns the
    // problems, among them why serving had ended by itself; empty when none.
    std::string Detach();

    // Removes the configuration a killed server left for `folder`, after
    // failing the commands still waiting in its ring. `removed` receives the
    // configfs paths taken down, in that order. Fails while a server still runs.
    static std::string RemoveLeftover(const std::string& folder, std::vector<std::string>& removed);

  private:
    std::string Serve(std::function<void()> onServerFailure);
    std::string WaitForNodes();

    std::string m_folder;
    TcmuTarget m_target;
    std::unique_ptr<clsEmulatedDrive> m_drive;
    std::unique_ptr<UioDevice> m_uio;
    std::unique_ptr<TcmuDriveAdapter> m_adapter;
    std::unique_ptr<TcmuServer> m_server;
    std::string m_block, m_generic;
};
