// Expected texts built from patterns, for the problem tests that spell out every parameter
// description and variable text of a problem without writing each one out in full.
#pragma once

#include <string>
#include <vector>

namespace text_patterns {

// The texts of a pattern, each word in place of its '%'.
inline std::vector<std::string> Each(const std::string& pattern,
                                     const std::vector<std::string>& words) {
  std::vector<std::string> texts;
  for (const std::string& word : words) {
    std::string text = pattern;
    texts.push_back(text.replace(text.find('%'), 1, word));
  }
  return texts;
}

// The lists one after the other.
inline std::vector<std::string> Join(const std::vector<std::vector<std::string>>& parts) {
  std::vector<std::string> all;
  for (const auto& part : parts) all.insert(all.end(), part.begin(), part.end());
  return all;
}

}  // namespace text_patterns
