#include "overflow_dialogs.h"

#include <array>
#include <charconv>
#include <limits>
#include <string_view>

#include "parser.h"

namespace {

// The owner of a notice when the parse named none.
Window defaultNoticeOwner = kNoWindow;

Window NoticeWindow(NoticeOwner owner) {
  return owner != 0 ? static_cast<Window>(owner) : defaultNoticeOwner;
}

void ShowSectionTooLong(NoticeOwner owner, char letter) {
  RunModalDialog("2350", NoticeWindow(owner), TooLongCmd,
                 static_cast<LParam>(static_cast<unsigned char>(letter)));
}

void ShowAnswerTooLong(NoticeOwner owner, unsigned charactersKept) {
  RunModalDialog("2300", NoticeWindow(owner), TooManyCmd, static_cast<LParam>(charactersKept));
}

// Room for the decimal digits of any unsigned number.
constexpr int kCountTextSize = 16;
static_assert(std::numeric_limits<unsigned>::digits10 + 1 < kCountTextSize);

}  // namespace

Result TooLongCmd(Window dialog, unsigned message, WParam /*wParam*/, LParam lParam) {
  switch (message) {
    case kMsgInitDialog: {
      // The term's letter as a text of one character; a term without a letter names none.
      const char letter = static_cast<char>(lParam);
      SetDialogItemText(dialog, kTooLongLetterText,
                        std::string_view(&letter, letter != '\0' ? 1 : 0));
      return 1;
    }
    case kMsgCommand:
      EndDialog(dialog, 1);
      return 1;
    default:
      return 0;
  }
}

Result TooManyCmd(Window dialog, unsigned message, WParam /*wParam*/, LParam lParam) {
  switch (message) {
    case kMsgInitDialog: {
      std::array<char, kCountTextSize> count{};
      const auto written =
          std::to_chars(count.data(), count.data() + count.size(), static_cast<unsigned>(lParam));
      SetDialogItemText(dialog, kTooManyCountText,
                        std::string_view(count.data(), written.ptr - count.data()));
      return 1;
    }
    case kMsgCommand:
      EndDialog(dialog, 1);
      return 1;
    default:
      return 0;
  }
}

void InstallParserNotices(Window entryPanel) {
  defaultNoticeOwner = entryPanel;
  parserNotices.sectionTooLong = ShowSectionTooLong;
  parserNotices.answerTooLong = ShowAnswerTooLong;
}
