// The state of Read line: the characters typed so far and the edit position.
// Keys are fed one by one; the console echoes what changed.
#pragma once

#include <string>

namespace kavinta {

class LineEditor {
 public:
  enum class Action {
    kNone,       ///< the key changed nothing
    kInserted,   ///< a character was appended at the end
    kOverwrote,  ///< a character was replaced at the position before pos()
    kErased,     ///< the last character was removed
    kCleared,    ///< the whole line was cleared (old_size() characters)
    kMoved,      ///< the position moved
    kDone,       ///< Enter
  };

  /// Feeds one key: a character byte, or (after a 0 read) a scan code with
  /// `extended` set.
  Action Feed(int key, bool extended);

  const std::string& text() const { return text_; }
  int pos() const { return pos_; }
  int old_size() const { return old_size_; }

 private:
  std::string text_;
  int pos_ = 0;
  int old_size_ = 0;
};

}  // namespace kavinta
