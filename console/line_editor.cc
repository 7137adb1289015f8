#include "console/line_editor.h"

#include "console/console.h"

namespace kavinta {

LineEditor::Action LineEditor::Feed(int key, bool extended) {
  int size = static_cast<int>(text_.size());
  if (extended) {
    int to = pos_;
    switch (key) {
      case kScanLeft:
        to = pos_ > 0 ? pos_ - 1 : 0;
        break;
      case kScanRight:
        to = pos_ < size ? pos_ + 1 : size;
        break;
      case kScanHome:
        to = 0;
        break;
      case kScanEnd:
        to = size;
        break;
      default:
        return Action::kNone;
    }
    if (to == pos_) return Action::kNone;
    pos_ = to;
    return Action::kMoved;
  }
  switch (key) {
    case kKeyEnter:
      return Action::kDone;
    case kKeyBackspace:
      // Only at the end of the line, as the PC line editor does.
      if (pos_ != size || size == 0) return Action::kNone;
      text_.pop_back();
      --pos_;
      return Action::kErased;
    case kKeyEsc:
      if (size == 0) return Action::kNone;
      old_size_ = size;
      text_.clear();
      pos_ = 0;
      return Action::kCleared;
    default:
      break;
  }
  if (key < 0x20 || key > 0xFF) return Action::kNone;
  if (pos_ < size) {
    text_[pos_++] = static_cast<char>(key);
    return Action::kOverwrote;
  }
  if (size >= kMaxLineChars) return Action::kNone;
  text_.push_back(static_cast<char>(key));
  ++pos_;
  return Action::kInserted;
}

}  // namespace kavinta
