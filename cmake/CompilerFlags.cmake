# Flags every target of ours shares: link velmora_flags.
add_library(velmora_flags INTERFACE)
target_compile_options(velmora_flags INTERFACE -Wall -Wextra)
if(VELMORA_WERROR)
  target_compile_options(velmora_flags INTERFACE -Werror)
endif()
if(VELMORA_SANITIZE)
  target_compile_options(velmora_flags INTERFACE -fsanitize=address,undefined -fno-omit-frame-pointer
                                                 -fno-sanitize-recover=undefined)
  target_link_options(velmora_flags INTERFACE -fsanitize=address,undefined)
endif()
target_compile_definitions(velmora_flags INTERFACE QT_NO_KEYWORDS QT_USE_QSTRINGBUILDER)

# Adds every direct subfolder of the current folder that has a CMakeLists.txt, so that each
# area (a test area, a tool, a benchmark) is one self-contained folder.
function(velmora_add_subfolders)
  file(GLOB children LIST_DIRECTORIES true RELATIVE ${CMAKE_CURRENT_SOURCE_DIR} ${CMAKE_CURRENT_SOURCE_DIR}/*)
  list(SORT children)
  foreach(child IN LISTS children)
    if(EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/${child}/CMakeLists.txt)
      add_subdirectory(${child})
    endif()
  endforeach()
endfunction()
