#pragma once

// Start at user logon: the task's name and the template beside the scripts. Windows fills
// startup_schtask.xml for the task scheduler; other systems fill an XDG autostart entry.
namespace LogonTask {

constexpr const char *Name = "Run Kestrune VPN on system logon";
constexpr const char *WindowsTemplate = "startup_schtask.xml";
constexpr const char *AutostartTemplate = "kestrunevpn_autostart.desktop";
constexpr const char *AutostartEntry = "kestrunevpn.desktop";

} // namespace LogonTask
