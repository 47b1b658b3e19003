# Fails when a file outside a ui/ folder or src/widgets includes a Qt header,
# or a header of a ui/ folder: the message box seam (host/ui/messages.h) and
# every window live there, so Qt-free code can neither show a message nor
# reach a window; it returns a Status or its faults to the window or command
# that shows them.
file(GLOB_RECURSE files ${SOURCE_DIR}/src/*.h ${SOURCE_DIR}/src/*.cpp)
set(bad "")
foreach(f IN LISTS files)
  file(RELATIVE_PATH rel ${SOURCE_DIR} ${f})
  if(rel MATCHES "/ui/" OR rel MATCHES "^src/widgets/")
    continue()
  endif()
  file(STRINGS ${f} hits REGEX "^[ \t]*#[ \t]*include[ \t]*([<\"](Q[A-Za-z]|Qt[A-Za-z]*/)|\"[^\"]*/ui/)")
  if(hits)
    list(APPEND bad "${rel}: ${hits}")
  endif()
endforeach()
if(bad)
  string(REPLACE ";" "\n" msg "${bad}")
  message(FATAL_ERROR "Qt or ui/ headers in Qt-free code:\n${msg}")
endif()
message(STATUS "no Qt or ui/ header outside ui/ folders and src/widgets")
