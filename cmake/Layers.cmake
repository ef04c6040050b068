# Each layer is a static library made of every source file in its folder(s).
# New files are picked up on the next build (CONFIGURE_DEPENDS). LIBS are the
# layers right below it (and outside libraries); linking a layer brings the
# ones below after it, so link lines run from the top layer down.
function(astrovela_layer name)
  cmake_parse_arguments(L "" "" "DIRS;LIBS" ${ARGN})
  set(srcs)
  foreach(d ${L_DIRS})
    file(GLOB_RECURSE found CONFIGURE_DEPENDS
         ${CMAKE_SOURCE_DIR}/${d}/*.cpp ${CMAKE_SOURCE_DIR}/${d}/*.h ${CMAKE_SOURCE_DIR}/${d}/*.qrc)
    list(APPEND srcs ${found})
  endforeach()
  if(NOT srcs)
    set(srcs ${CMAKE_SOURCE_DIR}/cmake/empty.cpp)
  endif()
  add_library(${name} STATIC ${srcs})
  target_include_directories(${name} PUBLIC ${CMAKE_SOURCE_DIR})
  target_link_libraries(${name} PUBLIC ${L_LIBS})
endfunction()
