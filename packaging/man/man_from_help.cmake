# Writes a section-1 manual page from a program's own --help text.
# Arguments: PROGRAM (the built program), NAME, SUMMARY (the NAME line's words), OUT (the .1 file).
execute_process(COMMAND "${PROGRAM}" --help OUTPUT_VARIABLE help RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "${PROGRAM} --help failed")
endif()
# Backslashes and lines starting with a dot or a quote mean something to roff.
string(REPLACE "\\" "\\e" help "${help}")
string(REGEX REPLACE "(^|\n)([.'])" "\\1\\\\&\\2" help "${help}")
string(TIMESTAMP today "%Y-%m-%d" UTC)
file(WRITE "${OUT}" ".TH ${NAME} 1 \"${today}\" \"Korvane\" \"User Commands\"
.SH NAME
${NAME} \\- ${SUMMARY}
.SH DESCRIPTION
.nf
${help}.fi
.SH SEE ALSO
.BR korvane (1).
The user manual (in Chinese) is in /usr/share/korvane/manual/index.html.
")
