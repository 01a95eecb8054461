# What `cmake --install` lays out and what CPack packs.
#
# Windows keeps the layout the client expects: the executable with ovpn/, shadowsocks/ and
# scripts/ beside it in the installation folder. On Linux that program folder is
# /opt/kestrunevpn; a launcher goes to /usr/bin, and the desktop entry, icons, AppStream
# metadata and polkit files to their places below /usr/share. Installing to "/" is the
# default there, so `cmake --install` and the Debian package lay out the same tree.

set(KESTRUNE_SCREENSHOT_BASE "${KESTRUNE_SITE_BASE}/screenshots" CACHE STRING
    "Address of the folder holding the pictures named in the AppStream metadata")
set(dist ${CMAKE_CURRENT_SOURCE_DIR}/dist)
set(linux ${CMAKE_CURRENT_SOURCE_DIR}/packaging/linux)

if(WIN32)
    set(KESTRUNE_PROGRAM_DIR .)
else()
    if(CMAKE_INSTALL_PREFIX_INITIALIZED_TO_DEFAULT)
        set(CMAKE_INSTALL_PREFIX / CACHE PATH "Installation root" FORCE)
    endif()
    set(KESTRUNE_PROGRAM_DIR opt/kestrunevpn)
endif()

install(TARGETS kestrunevpn RUNTIME DESTINATION ${KESTRUNE_PROGRAM_DIR})
# Files of other engineers' subsystems are taken as they appear in dist/: the scripts folder
# as a whole, templates at its top level into scripts/, units and polkit files by their kind.
# The Windows firewall scripts and the scheduled task's template have nothing to do on Linux.
set(foreign_scripts)
if(NOT WIN32)
    set(foreign_scripts PATTERN "*.bat" EXCLUDE PATTERN "startup_schtask.xml" EXCLUDE)
endif()
if(EXISTS ${dist}/scripts)
    install(DIRECTORY ${dist}/scripts/ DESTINATION ${KESTRUNE_PROGRAM_DIR}/scripts
            USE_SOURCE_PERMISSIONS ${foreign_scripts})
endif()
file(GLOB dist_templates ${dist}/*.xml ${dist}/*.desktop ${dist}/*.in)
if(dist_templates)
    install(FILES ${dist_templates} DESTINATION ${KESTRUNE_PROGRAM_DIR}/scripts)
endif()
# Any other folder of dist/ goes beside the program under its own name, without the files
# that belong to the system (installed below by their kind).
file(GLOB dist_folders LIST_DIRECTORIES true ${dist}/*)
foreach(folder ${dist_folders})
    get_filename_component(name ${folder} NAME)
    file(GLOB_RECURSE own_files ${folder}/*)
    list(FILTER own_files EXCLUDE REGEX "\\.(policy|rules|service|timer)$")
    if(IS_DIRECTORY ${folder} AND NOT name STREQUAL "scripts" AND own_files)
        install(DIRECTORY ${folder}/ DESTINATION ${KESTRUNE_PROGRAM_DIR}/${name}
                USE_SOURCE_PERMISSIONS
                PATTERN "*.policy" EXCLUDE PATTERN "*.rules" EXCLUDE
                PATTERN "*.service" EXCLUDE PATTERN "*.timer" EXCLUDE)
    endif()
endforeach()

if(NOT WIN32)
    install(PROGRAMS ${linux}/program/ovpn/openvpn DESTINATION ${KESTRUNE_PROGRAM_DIR}/ovpn)
    install(PROGRAMS ${linux}/program/shadowsocks/ss-local
            DESTINATION ${KESTRUNE_PROGRAM_DIR}/shadowsocks)
    # The privileged helper beside the client: pkexec runs it, and the lock's scripts hand it
    # their work.
    install(TARGETS kestrunevpn-helper RUNTIME DESTINATION ${KESTRUNE_PROGRAM_DIR})
    install(PROGRAMS ${linux}/kestrunevpn.sh DESTINATION usr/bin RENAME kestrunevpn)
    install(FILES ${linux}/net.kestrune.vpn.desktop DESTINATION usr/share/applications)
    configure_file(${linux}/net.kestrune.vpn.metainfo.xml.in
                   ${CMAKE_CURRENT_BINARY_DIR}/packaging/net.kestrune.vpn.metainfo.xml @ONLY)
    install(FILES ${CMAKE_CURRENT_BINARY_DIR}/packaging/net.kestrune.vpn.metainfo.xml
            DESTINATION usr/share/metainfo)
    install(FILES ${linux}/copyright DESTINATION usr/share/doc/kestrunevpn)
    set(manpage ${CMAKE_CURRENT_BINARY_DIR}/packaging/kestrunevpn.1.gz)
    add_custom_command(OUTPUT ${manpage}
        COMMAND gzip -9n -c ${linux}/kestrunevpn.1 > ${manpage}
        DEPENDS ${linux}/kestrunevpn.1 VERBATIM)
    add_custom_target(kestrune_manpage ALL DEPENDS ${manpage})
    install(FILES ${manpage} DESTINATION usr/share/man/man1)
    install(FILES ${linux}/lintian-overrides DESTINATION usr/share/lintian/overrides
            RENAME kestrunevpn)

    file(GLOB_RECURSE policies ${dist}/*.policy ${linux}/polkit/*.policy)
    file(GLOB_RECURSE rules ${dist}/*.rules ${linux}/polkit/*.rules)
    file(GLOB_RECURSE units ${dist}/*.service ${dist}/*.timer)
    if(policies)
        install(FILES ${policies} DESTINATION usr/share/polkit-1/actions)
    endif()
    if(rules)
        install(FILES ${rules} DESTINATION usr/share/polkit-1/rules.d)
    endif()
    if(units)
        install(FILES ${units} DESTINATION lib/systemd/system)
    endif()

    # The icon: the project's own logo as drawn, and rendered to the usual sizes.
    set(logo ${CMAKE_CURRENT_SOURCE_DIR}/resources/svg/logo.svg)
    install(FILES ${logo} DESTINATION usr/share/icons/hicolor/scalable/apps
            RENAME kestrunevpn.svg)
    find_program(RSVG_CONVERT rsvg-convert)
    if(RSVG_CONVERT)
        set(icons)
        foreach(size 16 22 24 32 48 64 128 256)
            set(png ${CMAKE_CURRENT_BINARY_DIR}/packaging/icons/${size}/kestrunevpn.png)
            add_custom_command(OUTPUT ${png}
                COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_CURRENT_BINARY_DIR}/packaging/icons/${size}
                COMMAND ${RSVG_CONVERT} -w ${size} -h ${size} ${logo} -o ${png}
                DEPENDS ${logo} VERBATIM)
            list(APPEND icons ${png})
            install(FILES ${png} DESTINATION usr/share/icons/hicolor/${size}x${size}/apps)
        endforeach()
        add_custom_target(kestrune_icons ALL DEPENDS ${icons})
    else()
        message(STATUS "rsvg-convert not found: only the scalable icon is installed")
    endif()

    # Debian wants the changelog compressed with gzip -9n.
    set(changelog ${CMAKE_CURRENT_BINARY_DIR}/packaging/changelog.gz)
    add_custom_command(OUTPUT ${changelog}
        COMMAND gzip -9n -c ${linux}/changelog > ${changelog}
        DEPENDS ${linux}/changelog VERBATIM)
    add_custom_target(kestrune_changelog ALL DEPENDS ${changelog})
    install(FILES ${changelog} DESTINATION usr/share/doc/kestrunevpn)
endif()

# Debian package (tools/package.sh).
set(CPACK_PACKAGE_NAME kestrunevpn)
set(CPACK_PACKAGE_VENDOR Kestrune)
set(CPACK_PACKAGE_CONTACT "Kestrune VPN developers <support@kestrune.net>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "desktop client of the Kestrune VPN service")
set(CPACK_PACKAGE_HOMEPAGE_URL ${KESTRUNE_SITE_BASE})
if(NOT WIN32)
    set(CPACK_GENERATOR DEB)
endif()
set(CPACK_PACKAGING_INSTALL_PREFIX /)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION net)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Bookworm splits policykit-1 into polkitd and pkexec; pkexec brings polkitd, which reads the
# rule. policykit-1 is only a transitional package there.
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "openvpn, shadowsocks-libev, nftables, pkexec, adduser")
# CPack puts the summary first; these are the lines of the long description.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Kestrune VPN signs in to an account at the Kestrune VPN service, lists the
servers of its subscriptions and connects to one of them, or to a chained
pair, through Debian's OpenVPN, with a Shadowsocks mirror route and a
network lock. The window runs as the user; members of the group kestrunevpn
start the tunnel without the administrator's password.")
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA ${linux}/postinst ${linux}/postrm)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION TRUE)
include(CPack)
