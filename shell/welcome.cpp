#include "welcome.h"

#include <array>
#include <charconv>

#include "courselib.h"
#include "dialog_services.h"
#include "lesson_state.h"
#include "textservices.h"

namespace {

constexpr int kShowButtonCommand = 101;  // posted at initialisation, runs once on screen
constexpr int kPictureFrameId = 999;
constexpr int kPictureButtonId = 1;
constexpr int kVersionStaticId = 102;
constexpr int kVersionLabelId = 9030;

constexpr char kPictureLibrary[] = "BRISKL.DLL";

// The welcome pictures for normal and for large fonts.
struct WelcomePictures {
  const char* welcome;
  const char* button;
  const char* buttonPressed;
};
constexpr WelcomePictures kPictures[] = {
    {"WEL_BMP", "TV2BUT_BMP", "TV2SBUT_BMP"},
    {"WEL_BMP_LARGE", "TV2BUT_BMP_LARGE", "TV2SBUT_BMP_LARGE"},
};

const WelcomePictures& PicturesForFonts() {
  return kPictures[largeFonts ? 1 : 0];
}

// The version line's font: bold, 10 wide, the face's default height.
constexpr FontDescription kVersionFontDescription{"MS Sans Serif", 0, 10};
Font versionFont = kNoFont;

// Copies a picture of the suite's library unscaled to the top left of a control; a missing one
// leaves the control as it is.
void DrawPicture(Window control, const char* name) {
  Picture picture = LoadPicture(kPictureLibrary, name);
  if (picture == kNoPicture) return;
  SetWindowPicture(control, picture, false);
  FreePicture(picture);
}

// Step 1: set up, centre over the main window, and leave the button and version for later.
Result InitWelcome(Window dialog) {
  versionFont = CreateFontFrom(kVersionFontDescription);
  PlaceDialog(mainWindow, dialog, 1, 0.0, 0.0);
  PostMessageTo(dialog, kMsgCommand, MakeCommand(kShowButtonCommand, kNotifyClicked), 0);
  return 1;
}

// Step 2: the dialog is on screen: show the button and the version.
void ShowButtonAndVersion(Window dialog) {
  ShowWindow(DialogItem(dialog, kPictureButtonId), kShowNormal);
  ShowWindow(DialogItem(dialog, kVersionStaticId), kShowNormal);
  std::array<char, kTextBufferSize> text{};
  FormatVersionText(text, GetSuiteVersion());
  SetDialogItemText(dialog, kVersionStaticId, TextIn(text));
}

// Step 3: the version in its own font; the picture onto the frame, which then draws as usual.
Result ColourStatic(Window control) {
  int id = GetControlId(control);
  if (id == kVersionStaticId) {
    SetWindowFont(control, versionFont);
    return 1;
  }
  if (id == kPictureFrameId) DrawPicture(control, PicturesForFonts().welcome);
  return 0;
}

// Step 4: the button is its picture, the pressed one while it is held down.
Result DrawButton(Window dialog, LParam action) {
  Window button = DialogItem(dialog, kPictureButtonId);
  if (action & kDrawEntire) {
    DrawPicture(button, PicturesForFonts().button);
  } else if (action & kDrawSelect) {
    const WelcomePictures& pictures = PicturesForFonts();
    DrawPicture(button, (action & kDrawSelected) ? pictures.buttonPressed : pictures.button);
  }
  return 1;
}

// Step 5: the student begins.
void EndWelcome(Window dialog) {
  if (versionFont != kNoFont) DeleteFont(versionFont);
  versionFont = kNoFont;
  EndDialog(dialog, 0);
}

}  // namespace

void FormatVersionText(std::span<char> buffer, double version) {
  SetText(buffer, LoadText(kVersionLabelId));
  AppendText(buffer, " ");
  std::array<char, 32> number{};
  auto [end, error] = std::to_chars(number.data(), number.data() + number.size() - 1, version,
                                    std::chars_format::fixed, 2);
  if (error != std::errc{}) return;
  AppendText(buffer, std::string_view(number.data(), end - number.data()));
}

Result WelcomeCmd(Window dialog, unsigned message, WParam wParam, LParam lParam) {
  switch (message) {
    case kMsgInitDialog:
      return InitWelcome(dialog);
    case kMsgCommand:
      if (CommandId(wParam) == kShowButtonCommand) {
        ShowButtonAndVersion(dialog);
        return 1;
      }
      if (CommandId(wParam) == kPictureButtonId) {
        EndWelcome(dialog);
        return 1;
      }
      return 0;
    case kMsgCtlColor:
      return ColourStatic(static_cast<Window>(wParam));
    case kMsgDrawItem:
      if (static_cast<int>(wParam) == kPictureButtonId) return DrawButton(dialog, lParam);
      return 0;
    default:
      return 0;
  }
}
