# Day icons, main icon and the tables the small day pictures are drawn from:
# generated at build time by tools/iconforge.py from the text pictures in
# res/icons, so no binary icon is kept in the tree.
#
# Sets, in the including scope:
#   RAVELIND_ICON_DIR    directory of the generated files (windres and C++
#                        include path)
#   RAVELIND_ICON_FILES  full paths of day01.ico ... day31.ico and main.ico
#   RAVELIND_PICTURE_TABLES  full path of DayPictures.inc, a source of the
#                        target that draws the pictures
# and adds the target ravelind_icons that makes them. The build target
# ravelind_icon_sheet writes icon-sheet.png, all pictures enlarged, for review.

set(RAVELIND_ICON_DIR ${CMAKE_BINARY_DIR}/icons)

set(_ravelind_icon_tool ${CMAKE_CURRENT_LIST_DIR}/iconforge.py)
get_filename_component(_ravelind_icon_source ${CMAKE_CURRENT_LIST_DIR}/../res/icons ABSOLUTE)
# Every text picture: a page and a digit set for each size, and main16.txt.
file(GLOB _ravelind_icon_description CONFIGURE_DEPENDS ${_ravelind_icon_source}/*.txt)

set(RAVELIND_ICON_FILES "")
foreach(_day RANGE 1 31)
  if(_day LESS 10)
    set(_day "0${_day}")
  endif()
  list(APPEND RAVELIND_ICON_FILES ${RAVELIND_ICON_DIR}/day${_day}.ico)
endforeach()
list(APPEND RAVELIND_ICON_FILES ${RAVELIND_ICON_DIR}/main.ico)
set(RAVELIND_PICTURE_TABLES ${RAVELIND_ICON_DIR}/DayPictures.inc)

add_custom_command(
  OUTPUT ${RAVELIND_ICON_FILES} ${RAVELIND_PICTURE_TABLES}
  COMMAND ${Python3_EXECUTABLE} ${_ravelind_icon_tool}
          --source ${_ravelind_icon_source} --output ${RAVELIND_ICON_DIR}
  DEPENDS ${_ravelind_icon_tool} ${_ravelind_icon_description}
  COMMENT "Generating the day icons, the main icon and the day picture tables"
  VERBATIM)
add_custom_target(ravelind_icons ALL DEPENDS ${RAVELIND_ICON_FILES} ${RAVELIND_PICTURE_TABLES})

add_custom_target(ravelind_icon_sheet
  COMMAND ${Python3_EXECUTABLE} ${_ravelind_icon_tool}
          --source ${_ravelind_icon_source} --output ${RAVELIND_ICON_DIR}
          --sheet ${CMAKE_BINARY_DIR}/icon-sheet.png
  DEPENDS ${_ravelind_icon_tool} ${_ravelind_icon_description}
  COMMENT "Drawing ${CMAKE_BINARY_DIR}/icon-sheet.png"
  VERBATIM)

unset(_day)
unset(_ravelind_icon_tool)
unset(_ravelind_icon_source)
unset(_ravelind_icon_description)
