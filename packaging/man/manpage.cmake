# Writes a manual page from a program's own --help text, so that the two
# never disagree: the page is remade whenever the program is rebuilt.
#
#   cmake -DPROGRAM=path -DNAME=tolvi -DSUMMARY="..." -DVERSION=0.1.0
#         [-DEXTRA=sections.roff] -DOUTPUT=tolvi.1 -P manpage.cmake
#
# The help text is read this way:
#   "Utilisation : CMD ARGS"        first line: the synopsis
#   unindented lines                 description paragraphs (a blank line
#                                    starts a new one)
#   "Titre :" alone, unindented      a section ("Options :" -> OPTIONS)
#   "  --opt VALEUR" (two blanks)    an entry: its name in bold, its value
#                                    in italics
#   "      texte" (six blanks)       the entry's description
#   "      exemple : commande"       an example, set on its own line
# EXTRA, a piece of roff, is added at the end (files, see also).
#
# Lines are walked with string(FIND) rather than as a CMake list, because
# the help text holds ";" and brackets.

foreach(var PROGRAM NAME SUMMARY VERSION OUTPUT)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "manpage.cmake: ${var} is not set")
  endif()
endforeach()

execute_process(COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen ${PROGRAM} --help
                OUTPUT_VARIABLE help RESULT_VARIABLE status ERROR_VARIABLE errors)
if(NOT status EQUAL 0 OR help STREQUAL "")
  message(FATAL_ERROR "${PROGRAM} --help failed (${status}): ${errors}")
endif()

# Text as roff: backslashes shown as such, no control character at the
# start of a line.
function(roff_text out text)
  string(REPLACE "\\" "\\e" text "${text}")
  # French spacing: no line break inside « » nor before a colon.
  string(REPLACE "« " "«\\ " text "${text}")
  string(REPLACE " »" "\\ »" text "${text}")
  string(REPLACE " :" "\\ :" text "${text}")
  if(text MATCHES "^[.']")
    set(text "\\&${text}")
  endif()
  set(${out} "${text}" PARENT_SCOPE)
endfunction()

# A command or an option: every "-" is a minus sign, so that it can be
# searched for and copied.
function(roff_command out text)
  roff_text(text "${text}")
  string(REPLACE "-" "\\-" text "${text}")
  set(${out} "${text}" PARENT_SCOPE)
endfunction()

string(TOUPPER "${NAME}" upper)
set(page ".\\\" Généré à partir de « ${NAME} --help » : ne pas modifier.\n")
string(APPEND page ".TH ${upper} 1 \"\" \"${NAME} ${VERSION}\" \"Commandes utilisateur\"\n")
# French words, English hyphenation patterns: no hyphenation at all.
string(APPEND page ".nh\n.SH NOM\n")
roff_command(name_roff "${NAME}")
string(APPEND page "${name_roff} \\- ${SUMMARY}\n")

set(state start)   # start, description, paragraph (after a blank line), section
set(rest "${help}")
while(NOT rest STREQUAL "")
  string(FIND "${rest}" "\n" eol)
  if(eol EQUAL -1)
    set(line "${rest}")
    set(rest "")
  else()
    string(SUBSTRING "${rest}" 0 ${eol} line)
    math(EXPR next "${eol} + 1")
    string(SUBSTRING "${rest}" ${next} -1 rest)
  endif()
  string(REGEX REPLACE "[ \t\r]+$" "" line "${line}")

  if(state STREQUAL "start")
    if(NOT line MATCHES "^Utilisation : ([^ ]+)(.*)$")
      message(FATAL_ERROR "${PROGRAM} --help does not start with \"Utilisation : \": ${line}")
    endif()
    roff_command(cmd "${CMAKE_MATCH_1}")
    roff_command(args "${CMAKE_MATCH_2}")
    string(STRIP "${args}" args)
    string(APPEND page ".SH SYNOPSIS\n.B ${cmd}\n${args}\n.SH DESCRIPTION\n")
    set(state description)
  elseif(line STREQUAL "")
    # A new paragraph, if more text follows before the next section.
    if(state STREQUAL "description")
      set(state paragraph)
    endif()
  elseif(state STREQUAL "paragraph" AND NOT line MATCHES "^([^ ].*[^ ]) :$")
    roff_text(text "${line}")
    string(APPEND page ".PP\n${text}\n")
    set(state description)
  elseif(line MATCHES "^([^ ].*[^ ]) :$")
    string(TOUPPER "${CMAKE_MATCH_1}" title)
    string(APPEND page ".SH ${title}\n")
    set(state section)
  elseif(line MATCHES "^      exemple : (.*)$")
    roff_command(example "${CMAKE_MATCH_1}")
    string(APPEND page ".br\nexemple\\ : \\fB${example}\\fR\n")
  elseif(line MATCHES "^      (.*)$")
    roff_text(text "${CMAKE_MATCH_1}")
    string(APPEND page "${text}\n")
  elseif(line MATCHES "^  ([^ ]+)( (.*))?$")
    roff_command(entry "${CMAKE_MATCH_1}")
    set(value "${CMAKE_MATCH_3}")
    if(value STREQUAL "")
      string(APPEND page ".TP\n\\fB${entry}\\fR\n")
    else()
      roff_command(value "${value}")
      string(APPEND page ".TP\n\\fB${entry}\\fR \\fI${value}\\fR\n")
    endif()
  else()
    string(STRIP "${line}" line)
    roff_text(text "${line}")
    string(APPEND page "${text}\n")
  endif()
endwhile()

if(DEFINED EXTRA AND NOT EXTRA STREQUAL "")
  file(READ "${EXTRA}" extra)
  string(APPEND page "${extra}")
endif()

# Written only when it changed, so that what depends on it is not redone;
# then compressed as Debian wants it (-n: no name nor date, reproducible).
file(WRITE "${OUTPUT}.new" "${page}")
execute_process(COMMAND ${CMAKE_COMMAND} -E copy_if_different "${OUTPUT}.new" "${OUTPUT}")
file(REMOVE "${OUTPUT}.new")
if(NOT EXISTS "${OUTPUT}.gz" OR "${OUTPUT}" IS_NEWER_THAN "${OUTPUT}.gz")
  find_program(GZIP gzip REQUIRED)
  execute_process(COMMAND ${GZIP} -9nc "${OUTPUT}" OUTPUT_FILE "${OUTPUT}.gz" RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "gzip ${OUTPUT} failed")
  endif()
endif()
