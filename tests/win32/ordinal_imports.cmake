# Delay-load import libraries that name ordinals only, for the test programs that drive the
# transfer libraries as Tolvi does: every function is bound by its ordinal when it is first
# called.
find_program(TOLVI_DLLTOOL NAMES x86_64-w64-mingw32-dlltool REQUIRED)
set(TOLVI_ORDINAL_DIR ${CMAKE_BINARY_DIR}/tests/win32/ordinals)

# tolvi_ordinal_import(NAME DEF_FILE): makes ${TOLVI_ORDINAL_DIR}/libNAME_delay.a from a
# definition file (every name exported by its ordinal only) and a target NAME_delay_lib that
# builds it. A second call for the same name does nothing.
function(tolvi_ordinal_import name source)
  if(TARGET ${name}_delay_lib)
    return()
  endif()
  file(STRINGS ${source} lines)
  set(text "")
  foreach(line IN LISTS lines)
    if(line MATCHES "^ +([A-Za-z_0-9]+)( = [A-Za-z_0-9]+)? @([0-9]+)")
      string(APPEND text "  ${CMAKE_MATCH_1} @${CMAKE_MATCH_3} NONAME\n")
    elseif(line MATCHES "^LIBRARY|^EXPORTS")
      string(APPEND text "${line}\n")
    endif()
  endforeach()
  file(WRITE ${TOLVI_ORDINAL_DIR}/${name}.def "${text}")
  add_custom_command(OUTPUT ${TOLVI_ORDINAL_DIR}/lib${name}_delay.a
    COMMAND ${TOLVI_DLLTOOL} -d ${TOLVI_ORDINAL_DIR}/${name}.def -y ${TOLVI_ORDINAL_DIR}/lib${name}_delay.a
    DEPENDS ${TOLVI_ORDINAL_DIR}/${name}.def)
  add_custom_target(${name}_delay_lib DEPENDS ${TOLVI_ORDINAL_DIR}/lib${name}_delay.a)
endfunction()

# tolvi_link_ordinal_imports(TARGET LIB...): links the program with the libraries' delay-load
# import libraries and puts the DLLs (targets of the same names) beside it.
function(tolvi_link_ordinal_imports target)
  foreach(lib IN LISTS ARGN)
    add_dependencies(${target} ${lib}_delay_lib ${lib})
    target_link_libraries(${target} PRIVATE ${TOLVI_ORDINAL_DIR}/lib${lib}_delay.a)
    add_custom_command(TARGET ${target} POST_BUILD
      COMMAND ${CMAKE_COMMAND} -E copy_if_different $<TARGET_FILE:${lib}> $<TARGET_FILE_DIR:${target}>)
  endforeach()
  target_link_libraries(${target} PRIVATE delayimp)
endfunction()
