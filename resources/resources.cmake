# Picture, flag and font collections (resources/*.qrc) and the compiled translations.
file(GLOB KESTRUNE_QRC CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/resources/*.qrc)

# Translations: resources/loc/loc_<code>.ts compiled to .qm at build time and embedded
# under :/loc/loc/; Qt's own catalogues are copied from Qt's installation under the
# program's language codes as :/loc/loc/qt/qt_<code>.qm and qtbase_<code>.qm.
file(GLOB KESTRUNE_TS CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/resources/loc/*.ts)
set(KESTRUNE_LOC_QRC ${CMAKE_CURRENT_BINARY_DIR}/loc/translations.qrc)
set(loc_entries "")
if(KESTRUNE_TS)
    set_source_files_properties(${KESTRUNE_TS} PROPERTIES OUTPUT_LOCATION ${CMAKE_CURRENT_BINARY_DIR}/loc)
    qt5_add_translation(KESTRUNE_QM ${KESTRUNE_TS})
    foreach(qm ${KESTRUNE_QM})
        get_filename_component(qmname ${qm} NAME)
        string(APPEND loc_entries "        <file alias=\"loc/${qmname}\">${qm}</file>\n")
    endforeach()
endif()
get_target_property(KESTRUNE_QMAKE Qt5::qmake IMPORTED_LOCATION)
execute_process(COMMAND ${KESTRUNE_QMAKE} -query QT_INSTALL_TRANSLATIONS
    OUTPUT_VARIABLE KESTRUNE_QT_TRANSLATIONS OUTPUT_STRIP_TRAILING_WHITESPACE)
# program code -> Qt's catalogue suffix
set(KESTRUNE_QT_LANGS "ru:ru" "cn:zh_CN" "es:es" "ua:uk")
foreach(pair ${KESTRUNE_QT_LANGS})
    string(REPLACE ":" ";" pair "${pair}")
    list(GET pair 0 code)
    list(GET pair 1 qtcode)
    foreach(catalogue qt qtbase)
        set(src ${KESTRUNE_QT_TRANSLATIONS}/${catalogue}_${qtcode}.qm)
        if(EXISTS ${src})
            set(dst ${CMAKE_CURRENT_BINARY_DIR}/loc/qt/${catalogue}_${code}.qm)
            configure_file(${src} ${dst} COPYONLY)
            string(APPEND loc_entries "        <file alias=\"loc/qt/${catalogue}_${code}.qm\">${dst}</file>\n")
        endif()
    endforeach()
endforeach()
file(WRITE ${KESTRUNE_LOC_QRC}.in
    "<RCC>\n    <qresource prefix=\"/loc\">\n${loc_entries}    </qresource>\n</RCC>\n")
configure_file(${KESTRUNE_LOC_QRC}.in ${KESTRUNE_LOC_QRC} COPYONLY)

add_library(kestruneres OBJECT ${KESTRUNE_QRC} ${KESTRUNE_LOC_QRC})
if(KESTRUNE_QM)
    add_custom_target(kestrune_translations DEPENDS ${KESTRUNE_QM})
    add_dependencies(kestruneres kestrune_translations)
endif()
target_sources(kestrunecore INTERFACE $<TARGET_OBJECTS:kestruneres>)
