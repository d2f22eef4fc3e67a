#pragma once
// Where the register of transfer files lives for an installation, found the
// way the run finds the folder it writes the transfer files in, and how a
// batch command waits for it while another program holds it.

#include <filesystem>
#include <iosfwd>
#include <optional>
#include <string>

#include "app/command_line.h"
#include "platform/wine_prefix.h"
#include "register/database.h"

namespace vx::app {

// The transfer files' folder, FILE-BONIFICI beside the archives folder
// `percorso_archivi` (a Windows path), as a host path; empty when the
// archives folder has no folder above it.
std::filesystem::path TransferFolderOnHost(const platform::WinePrefix& prefix, const std::string& percorso_archivi);

// The same for the installation of `prefix`, its paths read as the start-up
// reads them (registry, then path files). Nothing when they cannot be read:
// the start-up's own message has gone to `messages`.
std::optional<std::filesystem::path> InstalledTransferFolder(const platform::WinePrefix& prefix,
                                                             std::ostream& messages);

// A batch command's wait for the register: said on `messages` after two
// seconds, given up after --lock-timeout when it is given.
reg::BusyWait BatchRegisterWait(const CommandLine& command_line, std::ostream& messages);

}  // namespace vx::app
