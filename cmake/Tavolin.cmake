# Helpers shared by the suite's folders.

# tavolin_program(<target> <library> <version> [ICON <svg>] [DESKTOP_NAME <name>] [COMMENT <text>])
# Builds bin/<target> from <dir>/main.cpp linked to the program's library, stamps the
# program's version into it and installs it with a desktop entry and an icon.
function(tavolin_program target library version)
  cmake_parse_arguments(P "" "ICON;DESKTOP_NAME;COMMENT" "" ${ARGN})
  add_executable(${target} main.cpp)
  target_link_libraries(${target} PRIVATE ${library})
  install(TARGETS ${target} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  if(P_ICON)
    string(TOLOWER "tavolin-${target}" icon_name)
    install(FILES ${P_ICON} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps
            RENAME ${icon_name}.svg)
    if(NOT P_DESKTOP_NAME)
      set(P_DESKTOP_NAME ${target})
    endif()
    # The desktop entry names the installed binary by its full path, which is only
    # known at install time (cmake --install --prefix may differ from the configured one).
    install(CODE "
      set(entry \"[Desktop Entry]\nType=Application\nName=${P_DESKTOP_NAME}\nComment=${P_COMMENT}\nExec=\\\"\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/${target}\\\"\nIcon=${icon_name}\nCategories=Qt;\n\")
      file(WRITE \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_DATADIR}/applications/${icon_name}.desktop\" \"\${entry}\")
      message(STATUS \"Installing: desktop entry ${icon_name}.desktop\")")
  endif()
endfunction()

# tavolin_drive_launcher(<program target> <category folder> <label>)
# Puts a launcher for the program into the suite's drive folder c:/Tavolin/<category>.
function(tavolin_drive_launcher target category label)
  string(TOLOWER "tavolin-${target}" icon_name)
  install(CODE "
    set(dir \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_DATADIR}/tavolin/drives/c/Tavolin/${category}\")
    file(MAKE_DIRECTORY \"\${dir}\")
    file(WRITE \"\${dir}/${target}.desktop\" \"[Desktop Entry]\nType=Application\nName=${label}\nExec=\\\"\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/${target}\\\"\nIcon=\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps/${icon_name}.svg\nTerminal=false\n\")
    message(STATUS \"Installing: \${dir}/${target}.desktop\")")
endfunction()

# tavolin_version_definitions(<target> <major> <minor> <revision>)
function(tavolin_version_definitions target major minor revision)
  target_compile_definitions(${target} PRIVATE
    PROGRAM_VERSION_MAJOR=${major} PROGRAM_VERSION_MINOR=${minor} PROGRAM_VERSION_REVISION=${revision})
endfunction()

# tavolin_qt_test(<name> SOURCES ... LIBS ... [ENV var=value ...] [LABELS ...] [TIMEOUT s])
# A Qt Test executable run headless by CTest.
function(tavolin_qt_test name)
  cmake_parse_arguments(T "" "TIMEOUT" "SOURCES;LIBS;ENV;LABELS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE Qt6::Test ${T_LIBS})
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${TAVOLIN_TEST_BIN_DIR})
  add_test(NAME ${name} COMMAND ${name})
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 120)
  endif()
  set(env QT_QPA_PLATFORM=offscreen ${T_ENV})
  set_tests_properties(${name} PROPERTIES TIMEOUT ${T_TIMEOUT} ENVIRONMENT "${env}")
  if(T_LABELS)
    set_tests_properties(${name} PROPERTIES LABELS "${T_LABELS}")
  endif()
endfunction()
