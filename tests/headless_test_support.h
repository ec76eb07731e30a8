// Reading a play script in the headless tests (play_script_test, headless_backend_test): the
// script that text makes, with a failure reported when the text does not read.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "play_script.h"

namespace headless_test_support {

inline PlayScript Parse(const std::string& text) {
  PlayScript script;
  std::string error;
  EXPECT_TRUE(ParsePlayScript(text, script, error)) << error;
  return script;
}

}  // namespace headless_test_support
