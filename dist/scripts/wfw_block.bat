@echo off
rem Kestrune VPN network lock (Windows Firewall): block every connection outside the VPN
rem adapter "ksvpn_tun".
rem
rem Usage: wfw_block.bat TEMP_FOLDER
rem
rem Every rule of the lock is named "Kestrune VPN network lock", so one name removes them all.
rem Outbound traffic is blocked by the profiles' default policy; allowed are the VPN adapter,
rem DHCP, and the program's own tools (OpenVPN, the mirror tool, the client itself), so that
rem signing in and connecting to any server still work. Loopback is never filtered by Windows
rem Firewall. The policy in force before the first block is saved in
rem TEMP_FOLDER\wfw_policy_before_lock.txt for wfw_unblock.bat. Running the script again gives
rem the same rules. Exit code 0 only when the lock is in force; on a failure everything is
rem put back and the exit code is 1.

setlocal EnableExtensions DisableDelayedExpansion
set "NETSH=%SystemRoot%\System32\netsh.exe"
set "POWERSHELL=%SystemRoot%\System32\WindowsPowerShell\v1.0\powershell.exe"
set "RULE=Kestrune VPN network lock"
set "TUNNEL=ksvpn_tun"
set "PROGRAM=%~dp0.."
set "TEMPDIR=%~1"
if "%TEMPDIR%"=="" exit /b 1
rem The client passes the folder with a trailing backslash (sometimes doubled when quoted).
if "%TEMPDIR:~-1%"=="\" set "TEMPDIR=%TEMPDIR:~0,-1%"
if "%TEMPDIR:~-1%"=="\" set "TEMPDIR=%TEMPDIR:~0,-1%"
set "POLICY=%TEMPDIR%\wfw_policy_before_lock.txt"
if not exist "%TEMPDIR%\" exit /b 1

"%NETSH%" advfirewall firewall delete rule name="%RULE%" >nul 2>&1

if not exist "%POLICY%" (
    for %%p in (domainprofile privateprofile publicprofile) do call :savepolicy %%p || goto failed
)

"%NETSH%" advfirewall firewall add rule name="%RULE%" dir=out action=allow protocol=UDP localport=68 remoteport=67 || goto failed
"%NETSH%" advfirewall firewall add rule name="%RULE%" dir=out action=allow protocol=UDP localport=546 remoteport=547 || goto failed
"%NETSH%" advfirewall firewall add rule name="%RULE%" dir=out action=allow program="%PROGRAM%\ovpn\openvpn.exe" || goto failed
"%NETSH%" advfirewall firewall add rule name="%RULE%" dir=out action=allow program="%PROGRAM%\shadowsocks\ss-local.exe" || goto failed
"%NETSH%" advfirewall firewall add rule name="%RULE%" dir=out action=allow program="%PROGRAM%\kestrunevpn.exe" || goto failed
rem netsh cannot name an adapter; the rule for the tunnel is made by PowerShell under the same name.
"%POWERSHELL%" -NoProfile -NonInteractive -Command "New-NetFirewallRule -DisplayName '%RULE%' -Direction Outbound -InterfaceAlias '%TUNNEL%' -Action Allow | Out-Null" || goto failed

"%NETSH%" advfirewall set allprofiles state on || goto failed
for /f "usebackq tokens=1,2" %%p in ("%POLICY%") do (
    for /f "tokens=1 delims=," %%i in ("%%q") do (
        "%NETSH%" advfirewall set %%p firewallpolicy %%i,blockoutbound || goto failed
    )
)
exit /b 0

:failed
echo wfw_block.bat: Windows Firewall refused a step; the lock was taken off again 1>&2
"%NETSH%" advfirewall firewall delete rule name="%RULE%" >nul 2>&1
if exist "%POLICY%" (
    for /f "usebackq tokens=1,2" %%p in ("%POLICY%") do "%NETSH%" advfirewall set %%p firewallpolicy %%q >nul 2>&1
    del /f /q "%POLICY%" >nul 2>&1
)
exit /b 1

rem Appends "PROFILE INBOUND,OUTBOUND" of one profile to the saved policy. The words are
rem looked for, not the labels around them, which Windows translates.
:savepolicy
set "IN=blockinbound"
set "OUT=allowoutbound"
"%NETSH%" advfirewall show %1 | "%SystemRoot%\System32\findstr.exe" /i /c:"AllowInbound" >nul && set "IN=allowinbound"
"%NETSH%" advfirewall show %1 | "%SystemRoot%\System32\findstr.exe" /i /c:"BlockInboundAlways" >nul && set "IN=blockinboundalways"
"%NETSH%" advfirewall show %1 | "%SystemRoot%\System32\findstr.exe" /i /c:"BlockOutbound" >nul && set "OUT=blockoutbound"
>>"%POLICY%" echo %1 %IN%,%OUT%
exit /b 0
