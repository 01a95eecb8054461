# The window refuses to start without an accepted OpenVPN in ovpn/ of its program folder,
# which is the executable's folder: tools and benchmarks that build the window
# with the default program folder get the OpenVPN stand-in (saying 2.4.9) beside them.
function(kestrune_openvpn_beside target)
    set(dir ${CMAKE_CURRENT_BINARY_DIR}/ovpn)
    file(MAKE_DIRECTORY ${dir})
    file(WRITE ${dir}/standin-version "2.4.9")
    add_dependencies(${target} openvpn-standin)
    add_custom_command(TARGET ${target} POST_BUILD
        COMMAND ${CMAKE_COMMAND} -E copy_if_different $<TARGET_FILE:openvpn-standin>
            ${dir}/openvpn
        VERBATIM)
endfunction()
