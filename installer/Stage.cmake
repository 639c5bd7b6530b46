# Gathers the files a user gets into STAGE: the two programs, the help file and every skin file
# of PROGRAM_DIR. Run with cmake -P.
file(REMOVE_RECURSE "${STAGE}")
file(MAKE_DIRECTORY "${STAGE}")
file(GLOB skins "${PROGRAM_DIR}/*.sui")
foreach(file IN ITEMS "${PROGRAM_DIR}/vantrel-scan.exe" "${PROGRAM_DIR}/Vantrel.chm" ${skins}
                      "${PROGRAM_DIR}/Vantrel.exe")
    file(COPY "${file}" DESTINATION "${STAGE}")
endforeach()
