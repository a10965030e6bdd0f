// Death tests that compare everything the dying code prints: the child sends
// its standard output to the standard error that the death test captures.
#ifndef TESTS_EGLSWEEP_EXIT_OUTPUT_H
#define TESTS_EGLSWEEP_EXIT_OUTPUT_H

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <string>

#define EXPECT_EXIT_OUTPUT(statement, status, output) \
  EXPECT_EXIT(                                        \
      {                                               \
        std::fflush(stdout);                          \
        dup2(STDERR_FILENO, STDOUT_FILENO);           \
        statement;                                    \
      },                                              \
      testing::ExitedWithCode(status), testing::Matcher<const std::string&>(std::string(output)))

#endif
