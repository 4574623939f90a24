# Windows: everything in one folder, as the portable zip and the NSIS
# installer (made by CPack) lay it out. The Qt DLLs, the plugins and the
# MinGW runtime come along; scripts/build-windows.sh names the runtime DLLs.
set(QUILLET_RUNTIME_DLLS "" CACHE STRING "MinGW runtime DLLs to ship")
set(QUILLET_QT_TRANSLATION "" CACHE FILEPATH "Qt's Japanese translation (qtbase_ja.qm)")
set(QUILLET_QT_LICENSES "" CACHE STRING "Qt's licence texts")

install(TARGETS quillet quillet-compose RUNTIME DESTINATION .)
install(DIRECTORY ${PROJECT_SOURCE_DIR}/resources/profiles ${PROJECT_SOURCE_DIR}/resources/templates
        DESTINATION .)
install(FILES $<TARGET_FILE:Qt6::Core> $<TARGET_FILE:Qt6::Gui> $<TARGET_FILE:Qt6::Widgets>
              ${QUILLET_RUNTIME_DLLS}
        DESTINATION .)
install(FILES $<TARGET_FILE:Qt6::QWindowsIntegrationPlugin> DESTINATION platforms)
install(FILES $<TARGET_FILE:Qt6::QWindowsVistaStylePlugin> DESTINATION styles)
# Qt's own Japanese texts (file dialogs, buttons), from the host's Qt of the same version.
install(FILES ${QUILLET_QT_TRANSLATION} DESTINATION translations OPTIONAL)
# And beside the programs in the build tree, where the tests run them.
if(QUILLET_QT_TRANSLATION)
    file(COPY ${QUILLET_QT_TRANSLATION} DESTINATION ${CMAKE_BINARY_DIR}/translations)
endif()
install(FILES ${PROJECT_SOURCE_DIR}/resources/windows/README.txt DESTINATION .)
install(FILES ${QUILLET_QT_LICENSES} DESTINATION licenses/Qt)

set(CPACK_GENERATOR NSIS)
# A 64-bit installer for a 64-bit program: NSIS's amd64-unicode stubs, which
# CPack's template has no setting for, so a copy of it names the target. It
# installs into the 64-bit Program Files and registers in the 64-bit registry
# view, where Windows looks for a 64-bit program's uninstaller.
file(READ ${CMAKE_ROOT}/Modules/Internal/CPack/NSIS.template.in nsis_template)
string(REPLACE "  SetCompressor @CPACK_NSIS_COMPRESSOR@"
               "  Target amd64-unicode\n  SetCompressor @CPACK_NSIS_COMPRESSOR@"
               nsis_template "${nsis_template}")
if(NOT nsis_template MATCHES "Target amd64-unicode")
    message(FATAL_ERROR "CPack's NSIS template has changed: name the 64-bit target anew")
endif()
file(WRITE ${CMAKE_BINARY_DIR}/nsis/NSIS.template.in "${nsis_template}")
list(APPEND CMAKE_MODULE_PATH ${CMAKE_BINARY_DIR}/nsis)
set(CPACK_NSIS_INSTALL_ROOT "$PROGRAMFILES64")
set(CPACK_PACKAGE_NAME Quillet)
set(CPACK_PACKAGE_VENDOR "The Quillet authors")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "compose the README.TXT of a software release")
set(CPACK_PACKAGE_INSTALL_DIRECTORY Quillet)
set(CPACK_PACKAGE_INSTALL_REGISTRY_KEY Quillet)
set(CPACK_PACKAGE_FILE_NAME quillet-${PROJECT_VERSION}-windows-x64-setup)
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/resources/windows/README.txt)
set(CPACK_PACKAGE_EXECUTABLES quillet Quillet)
set(CPACK_NSIS_DISPLAY_NAME Quillet)
set(CPACK_NSIS_PACKAGE_NAME Quillet)
set(CPACK_NSIS_INSTALLED_ICON_NAME quillet.exe)
set(CPACK_NSIS_ENABLE_UNINSTALL_BEFORE_INSTALL ON)
set(CPACK_NSIS_MANIFEST_DPI_AWARE ON)
if(QUILLET_WINDOWS_ICON)
    set(CPACK_NSIS_MUI_ICON ${QUILLET_WINDOWS_ICON})
    set(CPACK_NSIS_MUI_UNIICON ${QUILLET_WINDOWS_ICON})
endif()
# A double click on a .pwk file opens it in Quillet. (CPack writes these
# into its configuration unescaped: backslashes and quotes are escaped here.)
set(CPACK_NSIS_EXTRA_INSTALL_COMMANDS [=[
  WriteRegStr HKCR \".pwk\" \"\" \"Quillet.Project\"
  WriteRegStr HKCR \"Quillet.Project\" \"\" \"Quillet data file\"
  WriteRegStr HKCR \"Quillet.Project\\DefaultIcon\" \"\" \"$INSTDIR\\quillet.exe,0\"
  WriteRegStr HKCR \"Quillet.Project\\shell\\open\\command\" \"\" '\"$INSTDIR\\quillet.exe\" \"%1\"'
  System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'
]=])
set(CPACK_NSIS_EXTRA_UNINSTALL_COMMANDS [=[
  DeleteRegKey HKCR \"Quillet.Project\"
  ReadRegStr $0 HKCR \".pwk\" \"\"
  StrCmp $0 \"Quillet.Project\" 0 +2
    DeleteRegKey HKCR \".pwk\"
  System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'
]=])
include(CPack)
