# A locale that writes a decimal comma, made into the build folder so that the tests can
# run under it on any machine (localedef takes its sources from the "locales" package).
# Programs find it with LOCPATH=${TAV_LOCALE_DIR} and LC_ALL=${TAV_COMMA_LOCALE}.
# A Belgian French locale is made beside it for the date and time forms, whose time
# form differs from the one Qt would give.
include_guard(GLOBAL)
set(TAV_LOCALE_DIR ${CMAKE_BINARY_DIR}/locale)
set(TAV_COMMA_LOCALE de_DE.UTF-8)
set(TAV_BELGIAN_LOCALE fr_BE.UTF-8)
find_program(LOCALEDEF localedef REQUIRED)
set(tav_made_locales)
foreach(locale ${TAV_COMMA_LOCALE} ${TAV_BELGIAN_LOCALE})
  string(REGEX REPLACE "\\..*" "" source ${locale})
  add_custom_command(
    OUTPUT ${TAV_LOCALE_DIR}/${locale}/LC_NUMERIC
    COMMAND ${CMAKE_COMMAND} -E make_directory ${TAV_LOCALE_DIR}
    COMMAND ${LOCALEDEF} -i ${source} -f UTF-8 ${TAV_LOCALE_DIR}/${locale}
    COMMENT "Making the locale ${locale} in ${TAV_LOCALE_DIR}"
    VERBATIM)
  list(APPEND tav_made_locales ${TAV_LOCALE_DIR}/${locale}/LC_NUMERIC)
endforeach()
add_custom_target(comma_locale ALL DEPENDS ${tav_made_locales})
