# One static library per source folder: every .cpp/.h in the folder belongs to it,
# so adding a file needs no edit here.
#
# CORE marks a library of the window-free core: it may link Qt Core (and Qt
# Network) but never Qt Gui or Qt Widgets, and an include of either fails to
# compile there, even spelled <QtWidgets/...>, because the guard headers in
# cmake/core-guard are found before Qt's.
function(kestrum_core_guard target)
  target_include_directories(${target} BEFORE PRIVATE ${PROJECT_SOURCE_DIR}/cmake/core-guard)
endfunction()

function(kestrum_library name)
  cmake_parse_arguments(ARG "CORE" "" "LINK;EXCLUDE" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS
       ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
  foreach(ex IN LISTS ARG_EXCLUDE)
    list(REMOVE_ITEM sources ${CMAKE_CURRENT_SOURCE_DIR}/${ex})
  endforeach()
  list(FILTER sources INCLUDE REGEX "\\.cpp$|\\.h$")
  set(cpp ${sources})
  list(FILTER cpp INCLUDE REGEX "\\.cpp$")
  if(ARG_CORE)
    foreach(lib IN LISTS ARG_LINK)
      if(lib MATCHES "^Qt6::(Gui|Widgets)$|_ui$|^kestrum_(app|viewer)$")
        message(FATAL_ERROR "${name} is part of the core and must not link ${lib}")
      endif()
    endforeach()
  endif()
  if(cpp)
    add_library(${name} STATIC ${sources})
    target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
    target_link_libraries(${name} PUBLIC ${ARG_LINK})
    if(ARG_CORE)
      kestrum_core_guard(${name})
    endif()
  else()
    add_library(${name} INTERFACE)
    target_include_directories(${name} INTERFACE ${PROJECT_SOURCE_DIR}/src)
    target_link_libraries(${name} INTERFACE ${ARG_LINK})
  endif()
endfunction()
