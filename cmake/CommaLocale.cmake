# A locale that writes a decimal comma, made into the build folder so that the tests can
# run under it on any machine (localedef takes its sources from the "locales" package).
# Programs find it with LOCPATH=${TAV_LOCALE_DIR} and LC_ALL=${TAV_COMMA_LOCALE}.
include_guard(GLOBAL)
set(TAV_LOCALE_DIR ${CMAKE_BINARY_DIR}/locale)
set(TAV_COMMA_LOCALE de_DE.UTF-8)
find_program(LOCALEDEF localedef REQUIRED)
add_custom_command(
  OUTPUT ${TAV_LOCALE_DIR}/${TAV_COMMA_LOCALE}/LC_NUMERIC
  COMMAND ${CMAKE_COMMAND} -E make_directory ${TAV_LOCALE_DIR}
  COMMAND ${LOCALEDEF} -i de_DE -f UTF-8 ${TAV_LOCALE_DIR}/${TAV_COMMA_LOCALE}
  COMMENT "Making the decimal-comma locale ${TAV_COMMA_LOCALE} in ${TAV_LOCALE_DIR}"
  VERBATIM)
add_custom_target(comma_locale ALL DEPENDS ${TAV_LOCALE_DIR}/${TAV_COMMA_LOCALE}/LC_NUMERIC)
