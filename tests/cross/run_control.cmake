# Runs the integer-only checker on each control object with the findings it
# must report there (cmake -P; OBJECTS and EXPECT are "|"-separated lists of
# equal length, see integer_only.cmake).
string(REPLACE "|" ";" OBJECTS "${OBJECTS}")
string(REPLACE "|" ";" EXPECT "${EXPECT}")
list(LENGTH OBJECTS count)
list(LENGTH EXPECT expect_count)
if(count EQUAL 0 OR NOT count EQUAL expect_count)
  message(FATAL_ERROR "control objects and expectations do not match: ${OBJECTS} / ${EXPECT}")
endif()
math(EXPR last "${count} - 1")
foreach(index RANGE ${last})
  list(GET OBJECTS ${index} object)
  list(GET EXPECT ${index} expect)
  execute_process(
    COMMAND ${CHECK} --expect ${expect} ${NM} ${OBJDUMP} ${object}
    RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "the integer-only check missed findings in ${object}")
  endif()
endforeach()
