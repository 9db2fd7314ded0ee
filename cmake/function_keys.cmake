# The function keys as the manual pages and README-windows.txt list them, read from the viewer's
# own table (functionKeys in app/commands.h), so that a key added there is documented with it:
#   QUORVANE_MAN_FUNCTION_KEYS      one ".TP" paragraph per key for quorvane.1
#   QUORVANE_README_FUNCTION_KEYS   one line per key for README-windows.txt
#   QUORVANE_LAST_FUNCTION_KEY      the table's last key
# A row reads {VK_Fn, command, flag, "what it shows"}; a row whose flag is nullptr is no switch:
# it sends its command or only redraws, and its text says what it does.
set(function_keys_header ${PROJECT_SOURCE_DIR}/app/commands.h)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${function_keys_header})
file(STRINGS ${function_keys_header} function_key_rows REGEX "^ *{VK_F[0-9]+,")
if(NOT function_key_rows)
  message(FATAL_ERROR "no function keys found in ${function_keys_header}")
endif()

set(man_keys)
set(readme_keys)
foreach(row IN LISTS function_key_rows)
  if(NOT row MATCHES "{VK_(F[0-9]+), *[A-Za-z0-9_]+, *([^,]+), *\"([^\"]+)\"}")
    message(FATAL_ERROR "${function_keys_header}: a function key row without its text: ${row}")
  endif()
  set(key ${CMAKE_MATCH_1})
  set(what "${CMAKE_MATCH_3}")
  string(SUBSTRING "${what}" 0 1 first)
  string(SUBSTRING "${what}" 1 -1 rest)
  string(TOUPPER "${first}" first)
  if(CMAKE_MATCH_2 STREQUAL "nullptr")
    set(man_text "${first}${rest}.")
    set(readme_text "${what}")
  else()
    set(man_text "${first}${rest} on or off.")
    set(readme_text "${what} on/off")
  endif()
  string(APPEND man_keys ".TP\n.B ${key}\n${man_text}\n")
  # The README's second column starts 28 characters in; its lines end as Windows ends them
  # (configure_file's NEWLINE_STYLE leaves a substituted text's line ends as they are).
  string(LENGTH "${key}" key_length)
  math(EXPR padding "26 - ${key_length}")
  string(REPEAT " " ${padding} spaces)
  string(APPEND readme_keys "  ${key}${spaces}${readme_text}\r\n")
  set(QUORVANE_LAST_FUNCTION_KEY ${key})
endforeach()
# The templates hold each list on a line of its own, whose line end follows it.
string(REGEX REPLACE "\n$" "" QUORVANE_MAN_FUNCTION_KEYS "${man_keys}")
string(REGEX REPLACE "\r\n$" "" QUORVANE_README_FUNCTION_KEYS "${readme_keys}")
