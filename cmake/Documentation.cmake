# The manual page, the changelog and the copyright file where Debian keeps them, and the
# AppStream metainfo that software centres list the program by. The manual page and the
# changelog are compressed as Debian's tools do it: gzip -9 without a name or a time stamp, so
# that two builds give the same bytes.
set(ladoton_compressed_docs)
foreach(source ladoton.1 changelog)
    set(compressed ${CMAKE_BINARY_DIR}/${source}.gz)
    add_custom_command(OUTPUT ${compressed}
        COMMAND sh -c "gzip -9n -c \"$1\" > \"$2\"" sh
            ${CMAKE_SOURCE_DIR}/resources/${source} ${compressed}
        DEPENDS resources/${source} VERBATIM)
    list(APPEND ladoton_compressed_docs ${compressed})
endforeach()
# Built with the program, so that installing and packing it (which build only the program)
# find them.
add_custom_target(ladoton_docs DEPENDS ${ladoton_compressed_docs})
add_dependencies(ladoton ladoton_docs)

install(FILES ${CMAKE_BINARY_DIR}/ladoton.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1
        COMPONENT Runtime)
install(FILES ${CMAKE_BINARY_DIR}/changelog.gz resources/copyright
        DESTINATION ${CMAKE_INSTALL_DOCDIR} COMPONENT Runtime)
install(FILES resources/org.ladoton.ladoton.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo COMPONENT Runtime)
