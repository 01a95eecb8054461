# Picture, flag and font collections (resources/*.qrc) and the compiled translations.
file(GLOB KESTRUNE_QRC CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/resources/*.qrc)

# Translations: resources/loc/loc_<code>.ts compiled to .qm at build time and embedded
# under :/loc/loc/; Qt's own catalogue is copied from Qt's installation under the program's
# language codes as :/loc/loc/qt/qtbase_<code>.qm. Qt's qt_<code>.qm holds no text of its
# own, only the names of the module catalogues it loads, under Qt's codes and for modules
# the program does not use, so it could never load from here: qt_<code>.qm is made at build
# time as the same kind of catalogue naming qtbase_<code> alone.
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
    set(src ${KESTRUNE_QT_TRANSLATIONS}/qtbase_${qtcode}.qm)
    if(EXISTS ${src})
        set(dst ${CMAKE_CURRENT_BINARY_DIR}/loc/qt/qtbase_${code}.qm)
        configure_file(${src} ${dst} COPYONLY)
        string(APPEND loc_entries "        <file alias=\"loc/qt/qtbase_${code}.qm\">${dst}</file>\n")
        set(meta ${CMAKE_CURRENT_BINARY_DIR}/loc/qt/qt_${code}.ts)
        file(WRITE ${meta}.in "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<!DOCTYPE TS>\n"
            "<TS version=\"2.1\" language=\"${qtcode}\">\n<dependencies>\n"
            "<dependency catalog=\"qtbase_${code}\"/>\n</dependencies>\n</TS>\n")
        configure_file(${meta}.in ${meta} COPYONLY)
        set_source_files_properties(${meta} PROPERTIES
            OUTPUT_LOCATION ${CMAKE_CURRENT_BINARY_DIR}/loc/qt)
        set(meta_qm)
        qt5_add_translation(meta_qm ${meta})
        list(APPEND KESTRUNE_QM ${meta_qm})
        string(APPEND loc_entries "        <file alias=\"loc/qt/qt_${code}.qm\">${meta_qm}</file>\n")
    endif()
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
