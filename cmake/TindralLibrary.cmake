# tindral_refresh_autogen(target files...)
# Ninja's depfile-driven moc step does not notice a file that is new since the last build, so a new
# Q_OBJECT header would never be moc'd in an existing build folder. When the globbed file list of a
# target changes, its moc stamp is removed at configure time, which makes the step run again.
function(tindral_refresh_autogen target)
  string(SHA1 digest "${ARGN}")
  set(key TINDRAL_FILES_${target})
  if(DEFINED CACHE{${key}} AND NOT "$CACHE{${key}}" STREQUAL "${digest}")
    file(REMOVE ${CMAKE_CURRENT_BINARY_DIR}/${target}_autogen/timestamp)
  endif()
  set(${key} "${digest}" CACHE INTERNAL "")
endfunction()

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
  tindral_refresh_autogen(${name} ${sources} ${headers})
  set_property(GLOBAL PROPERTY TINDRAL_LAST_LIBRARY ${name})
endfunction()
