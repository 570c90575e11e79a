# Day icons and main icon: generated at build time (see tools/iconforge.py).
set(RAVELIND_ICON_DIR ${CMAKE_BINARY_DIR}/icons)
set(RAVELIND_ICON_FILES "")
add_custom_target(ravelind_icons)
