@echo off
rem Kestrune VPN network lock (Windows Firewall): take the lock off.
rem
rem Usage: wfw_unblock.bat TEMP_FOLDER
rem
rem Removes every rule named "Kestrune VPN network lock" and gives each profile back the
rem policy saved by wfw_block.bat (without a saved policy: outbound traffic allowed, inbound
rem as it is). Exit code 0 only when both steps succeeded.

setlocal EnableExtensions DisableDelayedExpansion
set "NETSH=%SystemRoot%\System32\netsh.exe"
set "RULE=Kestrune VPN network lock"
set "TEMPDIR=%~1"
if "%TEMPDIR%"=="" exit /b 1
rem The client passes the folder with a trailing backslash (sometimes doubled when quoted).
if "%TEMPDIR:~-1%"=="\" set "TEMPDIR=%TEMPDIR:~0,-1%"
if "%TEMPDIR:~-1%"=="\" set "TEMPDIR=%TEMPDIR:~0,-1%"
set "POLICY=%TEMPDIR%\wfw_policy_before_lock.txt"

rem "No rules match" is not a failure: the lock may already be off.
"%NETSH%" advfirewall firewall delete rule name="%RULE%" >nul 2>&1

if exist "%POLICY%" (
    for /f "usebackq tokens=1,2" %%p in ("%POLICY%") do (
        "%NETSH%" advfirewall set %%p firewallpolicy %%q || exit /b 1
    )
    del /f /q "%POLICY%" || exit /b 1
) else (
    call "%~dp0wfw_unblock_emergency.bat" || exit /b 1
)

"%NETSH%" advfirewall firewall show rule name="%RULE%" >nul 2>&1 && exit /b 1
exit /b 0
