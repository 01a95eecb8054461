@echo off
rem Kestrune VPN network lock (Windows Firewall): emergency unblock. From any state (locked,
rem unlocked, half-applied) removes every rule named "Kestrune VPN network lock" and allows
rem outbound traffic in every profile, keeping each profile's inbound policy.
rem
rem Usage: wfw_unblock_emergency.bat

setlocal EnableExtensions DisableDelayedExpansion
set "NETSH=%SystemRoot%\System32\netsh.exe"
set "FINDSTR=%SystemRoot%\System32\findstr.exe"
set "RULE=Kestrune VPN network lock"

"%NETSH%" advfirewall firewall delete rule name="%RULE%" >nul 2>&1

for %%p in (domainprofile privateprofile publicprofile) do call :allowoutbound %%p || exit /b 1

"%NETSH%" advfirewall firewall show rule name="%RULE%" >nul 2>&1 && exit /b 1
exit /b 0

:allowoutbound
set "IN=blockinbound"
"%NETSH%" advfirewall show %1 | "%FINDSTR%" /i /c:"AllowInbound" >nul && set "IN=allowinbound"
"%NETSH%" advfirewall show %1 | "%FINDSTR%" /i /c:"BlockInboundAlways" >nul && set "IN=blockinboundalways"
"%NETSH%" advfirewall set %1 firewallpolicy %IN%,allowoutbound
exit /b %errorlevel%
