# `cmake --build <dir> --target check-format` fails when a source file is not clang-formatted;
# `--target format` rewrites them.
find_program(CLANG_FORMAT NAMES clang-format clang-format-14)
if(CLANG_FORMAT)
  file(GLOB_RECURSE VELMORA_FORMATTED_SOURCES CONFIGURE_DEPENDS
       ${PROJECT_SOURCE_DIR}/src/*.cpp ${PROJECT_SOURCE_DIR}/src/*.h
       ${PROJECT_SOURCE_DIR}/tests/*.cpp ${PROJECT_SOURCE_DIR}/tests/*.h
       ${PROJECT_SOURCE_DIR}/tools/*.cpp ${PROJECT_SOURCE_DIR}/tools/*.h
       ${PROJECT_SOURCE_DIR}/bench/*.cpp ${PROJECT_SOURCE_DIR}/bench/*.h)
  add_custom_target(check-format
    COMMAND ${CLANG_FORMAT} --dry-run --Werror ${VELMORA_FORMATTED_SOURCES}
    WORKING_DIRECTORY ${PROJECT_SOURCE_DIR} COMMENT "Checking formatting" VERBATIM)
  add_custom_target(format
    COMMAND ${CLANG_FORMAT} -i ${VELMORA_FORMATTED_SOURCES}
    WORKING_DIRECTORY ${PROJECT_SOURCE_DIR} COMMENT "Formatting sources" VERBATIM)
endif()
