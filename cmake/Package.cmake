# The portable archive that a player unpacks to install the box: the installed program folder,
# to which scripts/make-archive.sh adds the operator's cons/. Named after the product, the
# project version and the machine; the folder inside carries the same name.
set(CPACK_GENERATOR TGZ)
set(CPACK_SOURCE_GENERATOR "")
set(CPACK_PACKAGE_NAME "${VELMORA_PRODUCT_NAME}")
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGE_FILE_NAME "${VELMORA_PRODUCT_NAME}-${PROJECT_VERSION}-linux-${CMAKE_SYSTEM_PROCESSOR}")
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
set(CPACK_STRIP_FILES ON)
include(CPack)
