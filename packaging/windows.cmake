# On Windows: each program with its icon and version in its resources, installed beside the Qt libraries
# and plugins and the compiler's runtime that it loads, and the installer that CPack's NSIS generator makes
# of it all (cpack -G NSIS in a build folder; makensis runs on the build machine).

# The icon file is drawn on the build machine, by the icon tool built for it, never by a Windows program.
set(ROVANTA_ICON_TOOL "" CACHE FILEPATH "render_panel_icon built for the build machine")
if(NOT EXISTS "${ROVANTA_ICON_TOOL}")
  message(FATAL_ERROR "ROVANTA_ICON_TOOL must name render_panel_icon built for the build machine")
endif()
set(ROVANTA_ICON_FILE ${CMAKE_CURRENT_BINARY_DIR}/rovanta.ico)
add_custom_command(OUTPUT ${ROVANTA_ICON_FILE}
                   COMMAND ${ROVANTA_ICON_TOOL} --ico ${ROVANTA_ICON_FILE}
                   DEPENDS ${ROVANTA_ICON_TOOL}
                   COMMENT "Drawing the icon file")
add_custom_target(panel_icon_file DEPENDS ${ROVANTA_ICON_FILE})

# A window program (no console), with its resources and a Start-menu entry under its name.
function(windows_program program name)
  set(rc ${CMAKE_CURRENT_BINARY_DIR}/${program}.rc)
  configure_file(program.rc.in ${rc} @ONLY)
  target_sources(${program} PRIVATE ${rc})
  set_source_files_properties(${rc} TARGET_DIRECTORY ${program} PROPERTIES OBJECT_DEPENDS ${ROVANTA_ICON_FILE})
  add_dependencies(${program} panel_icon_file)
  set_target_properties(${program} PROPERTIES WIN32_EXECUTABLE ON)
  set(start_menu ${start_menu} ${program} "${name}" PARENT_SCOPE)
endfunction()

set(start_menu "")
windows_program(rovanta-v5 "Rovanta V5.1")
windows_program(rovanta-v4 "Rovanta V4")

# Everything in one folder: Windows finds a program's libraries beside it, and Qt its plugins in the
# platforms and styles folders there.
install(TARGETS rovanta-v5 rovanta-v4 RUNTIME DESTINATION .)
install(FILES $<TARGET_FILE:Qt6::Core> $<TARGET_FILE:Qt6::Gui> $<TARGET_FILE:Qt6::Widgets> DESTINATION .)
install(FILES $<TARGET_FILE:Qt6::QWindowsIntegrationPlugin> DESTINATION platforms)
install(FILES $<TARGET_FILE:Qt6::QWindowsVistaStylePlugin> DESTINATION styles)
foreach(runtime libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll)
  execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${runtime}
                  OUTPUT_VARIABLE path OUTPUT_STRIP_TRAILING_WHITESPACE)
  if(NOT IS_ABSOLUTE "${path}")
    message(FATAL_ERROR "the compiler's runtime ${runtime} is not found")
  endif()
  install(FILES ${path} DESTINATION .)
endforeach()
install(FILES ${PROJECT_SOURCE_DIR}/LICENSE DESTINATION . RENAME LICENSE.txt)

set(CPACK_GENERATOR NSIS)
set(CPACK_PACKAGE_NAME Rovanta)
set(CPACK_PACKAGE_VENDOR "Rovanta developers")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Rovanta wheel-cipher machine")
set(CPACK_PACKAGE_FILE_NAME rovanta-${PROJECT_VERSION}-windows-x64)
set(CPACK_PACKAGE_INSTALL_DIRECTORY Rovanta)
set(CPACK_PACKAGE_INSTALL_REGISTRY_KEY Rovanta)
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_PACKAGE_EXECUTABLES ${start_menu})
set(CPACK_NSIS_EXECUTABLES_DIRECTORY .)
set(CPACK_NSIS_PACKAGE_NAME "Rovanta ${PROJECT_VERSION}")
set(CPACK_NSIS_DISPLAY_NAME "Rovanta ${PROJECT_VERSION}")
set(CPACK_NSIS_MUI_ICON ${ROVANTA_ICON_FILE})
set(CPACK_NSIS_MUI_UNIICON ${ROVANTA_ICON_FILE})
set(CPACK_NSIS_INSTALLED_ICON_NAME rovanta-v5.exe)
set(CPACK_NSIS_INSTALL_ROOT "$PROGRAMFILES64")
# A 64-bit installer for 64-bit programs: it needs no 32-bit Windows layer and writes the 64-bit registry.
# The uninstaller takes away the vendor's registry key too once nothing else is under it: CPack's own
# uninstaller removes only the key below it. The text passes through CPack's own configuration file: its
# backslash is doubled twice, and NSIS quotes with ' since " would end the string there.
set(CPACK_NSIS_DEFINES "Target amd64-unicode
Function un.onUninstSuccess
  DeleteRegKey /ifempty SHCTX 'Software\\\\${CPACK_PACKAGE_VENDOR}'
FunctionEnd")
include(CPack)
