# Flags every target of ours shares: link velmora_flags. Third-party headers (Qt, cpp-httplib,
# libmdb, glib) come in through imported targets, whose include folders are system folders, so
# these warnings apply to our code only.
add_library(velmora_flags INTERFACE)
target_compile_options(velmora_flags INTERFACE -Wall -Wextra -Wshadow -Wnon-virtual-dtor -Woverloaded-virtual
                                               -Wold-style-cast)
if(VELMORA_WERROR)
  target_compile_options(velmora_flags INTERFACE -Werror)
endif()
if(VELMORA_SANITIZE)
  target_compile_options(velmora_flags INTERFACE -fsanitize=address,undefined -fno-omit-frame-pointer
                                                 -fno-sanitize-recover=undefined)
  target_link_options(velmora_flags INTERFACE -fsanitize=address,undefined)
endif()
target_compile_definitions(velmora_flags INTERFACE QT_NO_KEYWORDS QT_USE_QSTRINGBUILDER)
