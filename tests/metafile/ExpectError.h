#pragma once
// Checks that a call raises exception type E with exactly the given message.
#include <gtest/gtest.h>

#include <string>

template <typename E, typename F> void ExpectError(F&& call, const std::string& message) {
  try {
    call();
    ADD_FAILURE() << "no exception, expected: " << message;
  } catch (const E& e) {
    EXPECT_EQ(std::string(e.what()), message);
  } catch (const std::exception& e) {
    ADD_FAILURE() << "other exception: " << e.what() << "; expected: " << message;
  }
}
