#pragma once

#include <string>

// Makes the kernel ready for a user-space SCSI unit on a loopback port:
// checks for root, loads the modules target_core_user, tcm_loop, sr_mod and
// sg with modprobe when they are missing, and mounts configfs when it is not
// mounted. Returns an empty text, or what is missing and how to get it.
std::string PrepareKernelTarget();
