# tindral_library([extra dependencies...])
# Makes the library of the calling folder, named tindral_<folder>, from every source beside it.
# It links the library made before it, so each library sees all those below it and none above.
function(tindral_library)
  get_filename_component(folder ${CMAKE_CURRENT_SOURCE_DIR} NAME)
  set(name tindral_${folder})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  file(GLOB headers CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
  get_property(below GLOBAL PROPERTY TINDRAL_LAST_LIBRARY)
  add_library(${name} STATIC ${sources} ${headers})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
  target_link_libraries(${name} PUBLIC ${below} ${ARGN})
  set_property(GLOBAL PROPERTY TINDRAL_LAST_LIBRARY ${name})
endfunction()
