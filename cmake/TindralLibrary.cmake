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

# tindral_library(USES <floors below...> QT <Qt modules...> LIBS <other libraries...> [QT_WIDGETS_ONLY_IN <suffix>])
# Makes the library of the calling folder, named tindral_<folder>, from every source beside it.
#
# Floors: the library sees its own headers and those of the libraries it USES (and theirs), nothing else.
# Its include path is a folder of its own under the build tree holding one link, <folder> -> src/<folder>,
# so "views/ColorPanel.h" is found only by libraries that use tindral_views; an include of a higher floor
# does not compile. A library may only use libraries made before it.
#
# QT_WIDGETS_ONLY_IN: the sources whose names end in the suffix may use Qt Widgets; every other source is
# compiled against Qt Core and Gui and the floors' headers alone, so a Widgets include there fails.
function(tindral_library)
  cmake_parse_arguments(ARG "" "QT_WIDGETS_ONLY_IN" "USES;QT;LIBS" ${ARGN})
  get_filename_component(folder ${CMAKE_CURRENT_SOURCE_DIR} NAME)
  set(name tindral_${folder})

  get_property(made GLOBAL PROPERTY TINDRAL_LIBRARIES)
  set(floor_dirs)
  foreach(below ${ARG_USES})
    if(NOT below IN_LIST made)
      message(FATAL_ERROR "${name} uses ${below}, which is not a floor below it")
    endif()
    get_property(dirs GLOBAL PROPERTY TINDRAL_FLOOR_DIRS_${below})
    list(APPEND floor_dirs ${dirs})
  endforeach()

  set(own_dir ${CMAKE_BINARY_DIR}/floors/${folder})
  file(MAKE_DIRECTORY ${own_dir})
  file(CREATE_LINK ${CMAKE_CURRENT_SOURCE_DIR} ${own_dir}/${folder} SYMBOLIC)
  list(PREPEND floor_dirs ${own_dir})
  list(REMOVE_DUPLICATES floor_dirs)

  set(qt_targets)
  foreach(module ${ARG_QT})
    list(APPEND qt_targets Qt6::${module})
  endforeach()

  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  file(GLOB headers CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
  add_library(${name} STATIC ${headers})
  target_include_directories(${name} PUBLIC ${own_dir})
  target_link_libraries(${name} PUBLIC ${ARG_USES} ${qt_targets} ${ARG_LIBS})

  if(ARG_QT_WIDGETS_ONLY_IN)
    set(plain_sources)
    set(widget_sources)
    foreach(source ${sources})
      if(source MATCHES "${ARG_QT_WIDGETS_ONLY_IN}$")
        list(APPEND widget_sources ${source})
      else()
        list(APPEND plain_sources ${source})
      endif()
    endforeach()
    # Moc runs once, for the library's headers; these objects only compile the plain sources.
    add_library(${name}_plain OBJECT ${plain_sources})
    set_target_properties(${name}_plain PROPERTIES AUTOMOC OFF)
    target_include_directories(${name}_plain PRIVATE ${floor_dirs})
    target_link_libraries(${name}_plain PRIVATE Qt6::Core Qt6::Gui)
    target_sources(${name} PRIVATE ${widget_sources} $<TARGET_OBJECTS:${name}_plain>)
  else()
    target_sources(${name} PRIVATE ${sources})
  endif()

  tindral_refresh_autogen(${name} ${sources} ${headers})
  set_property(GLOBAL PROPERTY TINDRAL_FLOOR_DIRS_${name} ${floor_dirs})
  set_property(GLOBAL APPEND PROPERTY TINDRAL_LIBRARIES ${name})
  set_property(GLOBAL PROPERTY TINDRAL_LAST_LIBRARY ${name})
endfunction()
