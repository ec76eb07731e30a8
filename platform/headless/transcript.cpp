// Writing what is on screen as transcript lines, and telling what changed between idle moments.
#include "transcript.h"

#include <algorithm>
#include <array>

namespace {

// ---- Text -------------------------------------------------------------------------------------

struct Glyph {
  unsigned char byte;
  std::string_view utf8;
};

// What the lesson font draws in place of these bytes.
constexpr Glyph kLessonGlyphs[] = {
    {0xC0, "\u2265"}, {0xC1, "\u2264"}, {0x82, "\u2260"}, {0xD6, "\u2191"},
    {0xD7, "\u2502"}, {0xD8, "\u2514"}, {0xD9, "\u2500"},
};

void AppendLatin1(std::string& out, unsigned char byte) {
  if (byte < 0x20) {
    out += ' ';
  } else if (byte < 0x80) {
    out += static_cast<char>(byte);
  } else {
    out += static_cast<char>(0xC0 | (byte >> 6));
    out += static_cast<char>(0x80 | (byte & 0x3F));
  }
}

std::string Quoted(std::string_view text) {
  return "\"" + std::string(text) + "\"";
}

// Adds one line, trailing blanks removed.
void AddLine(std::string& out, std::string_view line) {
  out += TrimRight(line);
  out += '\n';
}

// ---- Windows ----------------------------------------------------------------------------------

bool IsShownDialogOrBox(const WindowView& view) {
  return view.visible && (view.kind == WindowKind::kDialog || view.kind == WindowKind::kMessageBox);
}

bool IsLessonFont(const WindowView& view) {
  return IsLessonFaceFont(view.font, kLessonFace);
}

void AppendRows(std::string& out, Window list, bool markSelection, bool lessonFont) {
  std::array<std::string_view, kMaxListRows> rows{};
  const int count = ListRows(list, rows);
  const int selected = markSelection ? ListSelection(list) : -1;
  for (int row = 0; row < count; ++row) {
    AddLine(out, (row == selected ? "  |>" : "  | ") + TextToUtf8(rows[row], lessonFont));
  }
}

// ---- Tracking dialogs and boxes ---------------------------------------------------------------

TrackedWindow* FindTracked(Transcript& transcript, Window window) {
  for (TrackedWindow& tracked : transcript.windows) {
    if (tracked.window == window) return &tracked;
  }
  return nullptr;
}

bool LastChangeOf(const Transcript& transcript, std::size_t index) {
  for (std::size_t later = index + 1; later < transcript.changes.size(); ++later) {
    if (transcript.changes[later].window == transcript.changes[index].window) return false;
  }
  return true;
}

bool ChangedSinceIdle(const Transcript& transcript, Window window) {
  return std::any_of(transcript.changes.begin(), transcript.changes.end(),
                     [window](const ScreenChange& change) { return change.window == window; });
}

// Catches up with windows whose notifications were missed: every live dialog or box, and every
// tracked window that has gone.
void Reconcile(Transcript& transcript) {
  std::array<Window, kMaxWindows> windows{};
  const int count = ListWindows(windows);
  for (int i = 0; i < count; ++i) NoteWindowChanged(transcript, windows[i]);
  std::vector<Window> gone;
  for (const TrackedWindow& tracked : transcript.windows) {
    if (!IsWindow(tracked.window)) gone.push_back(tracked.window);
  }
  for (Window window : gone) NoteWindowChanged(transcript, window);
}

std::string ShowLine(std::string_view verb, Window dialog) {
  WindowView view{};
  ViewWindow(dialog, view);
  return std::string(verb) + " " + DialogName(dialog) + " " + Quoted(TextToUtf8(view.text, false));
}

// Step 1: `hide ID` for a panel, `end ID -> RESULT` for a modal dialog, of windows written as
// shown.
void DescribeHides(const Transcript& transcript, std::string& out) {
  for (const ScreenChange& change : transcript.changes) {
    if (change.shown || !change.wasWritten || change.isBox) continue;
    if (change.modal) {
      AddLine(out, "end " + change.name + " -> " + std::to_string(change.result));
    } else {
      AddLine(out, "hide " + change.name);
    }
  }
}

// The serials of a dialog and its controls: while none has changed, nothing on it has.
std::vector<std::uint32_t> Serials(Window dialog) {
  std::array<Window, kMaxWindows> controls{};
  const int count = ListControls(dialog, controls);
  std::vector<std::uint32_t> serials;
  WindowView view{};
  if (ViewWindow(dialog, view)) serials.push_back(view.serial);
  for (int i = 0; i < count; ++i) {
    if (ViewWindow(controls[i], view)) serials.push_back(view.serial);
  }
  return serials;
}

// Step 2 and 3: the main window's title, menu line and status item.
void DescribeMainWindow(Transcript& transcript, Window mainWindow, std::string& out) {
  WindowView view{};
  if (!ViewWindow(mainWindow, view)) return;
  const std::uint32_t menuSerial = MenuSerial(mainWindow);
  if (transcript.mainSeen && transcript.mainWindow == mainWindow &&
      transcript.mainSerial == view.serial && transcript.menuSerial == menuSerial) {
    return;
  }
  transcript.mainWindow = mainWindow;
  transcript.mainSerial = view.serial;
  transcript.menuSerial = menuSerial;
  const std::string title = TextToUtf8(view.text, false);
  if (!transcript.mainSeen || title != transcript.title) AddLine(out, "title: " + title);
  const std::string menuLine = DescribeMenuBar(mainWindow);
  if (!transcript.mainSeen || menuLine != transcript.menuLine) AddLine(out, menuLine);
  const std::string status = DescribeStatusItem(mainWindow);
  if (status != transcript.status) AddLine(out, "status: " + status);
  transcript.mainSeen = true;
  transcript.title = title;
  transcript.menuLine = menuLine;
  transcript.status = status;
}

// Step 4: the problem box when it was filled or hidden.
void DescribeProblemBox(Transcript& transcript, Window mainWindow, std::string& out) {
  const Window box = FindProblemBox(mainWindow);
  WindowView view{};
  const bool shown = box != kNoWindow && ViewWindow(box, view) && view.visible;
  if (shown && transcript.problemBoxShown && box == transcript.problemBoxWindow &&
      view.serial == transcript.problemBoxSerial) {
    return;
  }
  transcript.problemBoxWindow = box;
  transcript.problemBoxSerial = view.serial;
  std::string rows;
  if (shown) AppendRows(rows, box, false, IsLessonFont(view));
  if (shown && (!transcript.problemBoxShown || rows != transcript.problemBox)) {
    AddLine(out, "problem box:");
    out += rows;
  } else if (!shown && transcript.problemBoxShown) {
    AddLine(out, "problem box hidden");
  }
  transcript.problemBoxShown = shown;
  transcript.problemBox = rows;
}

// Step 5: dialogs on screen at both idle moments whose contents changed, then the newly shown.
void DescribeDialogs(Transcript& transcript, std::string& out) {
  for (TrackedWindow& tracked : transcript.windows) {
    if (tracked.isBox || !tracked.onScreen || !tracked.writtenShown) continue;
    if (ChangedSinceIdle(transcript, tracked.window)) continue;
    std::vector<std::uint32_t> serials = Serials(tracked.window);
    if (serials == tracked.serials) continue;
    tracked.serials = std::move(serials);
    std::string contents = DescribeDialogContents(tracked.window);
    if (contents == tracked.contents) continue;
    AddLine(out, ShowLine("update", tracked.window));
    out += contents;
    tracked.contents = std::move(contents);
  }
  for (std::size_t i = 0; i < transcript.changes.size(); ++i) {
    const ScreenChange& change = transcript.changes[i];
    TrackedWindow* tracked = FindTracked(transcript, change.window);
    if (!change.shown || change.isBox || !LastChangeOf(transcript, i) || !tracked) continue;
    tracked->contents = DescribeDialogContents(change.window);
    tracked->serials = Serials(change.window);
    AddLine(out, ShowLine("show", change.window));
    out += tracked->contents;
  }
}

// Step 6: message boxes newly on screen.
void DescribeBoxes(const Transcript& transcript, std::string& out) {
  for (std::size_t i = 0; i < transcript.changes.size(); ++i) {
    const ScreenChange& change = transcript.changes[i];
    if (change.shown && change.isBox && LastChangeOf(transcript, i)) {
      AddLine(out, DescribeMessageBox(change.window));
    }
  }
}

struct IconName {
  std::uint32_t style;
  std::string_view name;
};

constexpr IconName kIconNames[] = {
    {kBoxIconInformation, "information"},
    {kBoxIconExclamation, "exclamation"},
    {kBoxIconQuestion, "question"},
};

struct ButtonsName {
  std::uint32_t style;
  std::string_view name;
};

constexpr ButtonsName kButtonsNames[] = {
    {kBoxOk, "OK"},
    {kBoxOkCancel, "OK/Cancel"},
    {kBoxYesNo, "Yes/No"},
};

}  // namespace

// ---- Text -------------------------------------------------------------------------------------

std::string_view TrimRight(std::string_view text) {
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

std::string TextToUtf8(std::string_view bytes, bool lessonFont) {
  std::string out;
  out.reserve(bytes.size());
  for (char c : bytes) {
    const auto byte = static_cast<unsigned char>(c);
    const Glyph* glyph = nullptr;
    for (const Glyph& candidate : kLessonGlyphs) {
      if (lessonFont && candidate.byte == byte) glyph = &candidate;
    }
    if (glyph) {
      out += glyph->utf8;
    } else {
      AppendLatin1(out, byte);
    }
  }
  return out;
}

std::string LabelText(std::string_view label) {
  std::string out;
  for (std::size_t i = 0; i < label.size(); ++i) {
    if (label[i] != '&') {
      out += label[i];
    } else if (i + 1 < label.size() && label[i + 1] == '&') {
      out += '&';
      ++i;
    }
  }
  const std::size_t first = out.find_first_not_of(" \t");
  if (first == std::string::npos) return {};
  return std::string(TrimRight(std::string_view(out).substr(first)));
}

// ---- Windows ----------------------------------------------------------------------------------

Window FindMainWindow() {
  std::array<Window, kMaxWindows> windows{};
  const int count = ListWindows(windows);
  std::array<MenuItemView, 8> items{};
  for (int i = 0; i < count; ++i) {
    WindowView view{};
    if (ViewWindow(windows[i], view) && view.kind == WindowKind::kTopLevel &&
        ViewMenuBar(windows[i], items) > 0) {
      return windows[i];
    }
  }
  return kNoWindow;
}

Window FindProblemBox(Window mainWindow) {
  if (mainWindow == kNoWindow) return kNoWindow;
  std::array<Window, kMaxWindows> windows{};
  const int count = ListWindows(windows);
  for (int i = 0; i < count; ++i) {
    WindowView view{};
    if (ViewWindow(windows[i], view) && view.kind == WindowKind::kControl &&
        view.controlKind == ControlKind::kListBox && view.parent == mainWindow) {
      return windows[i];
    }
  }
  return kNoWindow;
}

std::string DialogName(Window dialog) {
  WindowView view{};
  if (!ViewWindow(dialog, view)) return {};
  return std::string(view.templateName);
}

std::string DescribeControl(Window control) {
  WindowView view{};
  if (!ViewWindow(control, view) || !view.visible) return {};
  const std::string text = TextToUtf8(view.text, IsLessonFont(view));
  std::string line = "  ";
  if (view.id != kNoControlId) line += std::to_string(view.id) + " ";
  switch (view.controlKind) {
    case ControlKind::kFrame:
      return {};
    case ControlKind::kStatic:
      line += "static: " + text;
      break;
    case ControlKind::kEdit:
      line += "edit: " + text;
      break;
    case ControlKind::kPushButton:
    case ControlKind::kDefaultButton:
    case ControlKind::kOwnerDrawButton:
      line += "button: " + LabelText(text);
      break;
    case ControlKind::kRadioButton:
      line += "radio: " + LabelText(text);
      if (view.checked) line += " (checked)";
      break;
    case ControlKind::kListBox:
      line += "list:";
      break;
  }
  if (!view.enabled && view.controlKind != ControlKind::kStatic) line += " (disabled)";
  std::string out;
  AddLine(out, line);
  if (view.controlKind == ControlKind::kListBox) AppendRows(out, control, true, IsLessonFont(view));
  return out;
}

std::string DescribeDialogContents(Window dialog) {
  std::array<Window, kMaxWindows> controls{};
  const int count = ListControls(dialog, controls);
  std::string out;
  for (int i = 0; i < count; ++i) out += DescribeControl(controls[i]);
  return out;
}

std::string DescribeMessageBox(Window box) {
  WindowView view{};
  ViewWindow(box, view);
  std::string caption;
  std::string text;
  MessageBoxTexts(box, caption, text);
  std::string_view icon = "none";
  for (const IconName& name : kIconNames) {
    if ((view.boxStyle & kBoxIconMask) == name.style) icon = name.name;
  }
  std::string_view buttons = "OK";
  for (const ButtonsName& name : kButtonsNames) {
    if ((view.boxStyle & kBoxButtonsMask) == name.style) buttons = name.name;
  }
  return "box " + Quoted(caption) + " " + std::string(icon) + " " + std::string(buttons) + ": " +
         text;
}

std::string DescribeMenuBar(Window mainWindow) {
  std::array<MenuItemView, 16> bar{};
  const int count = ViewMenuBar(mainWindow, bar);
  std::string line = "menu:";
  for (int position = 0; position < count; ++position) {
    line += position == 0 ? " " : " | ";
    line += LabelText(TextToUtf8(bar[position].label, false));
    if (!bar[position].enabled) line += " (grey)";
    std::array<MenuItemView, 16> popup{};
    const int items = ViewMenuPopup(mainWindow, position, popup);
    bool first = true;
    for (int i = 0; i < items; ++i) {
      if (popup[i].separator || popup[i].rightText) continue;
      line += first ? ": " : ", ";
      line += LabelText(TextToUtf8(popup[i].label, false));
      if (!popup[i].enabled) line += " (grey)";
      first = false;
    }
  }
  return line;
}

std::string DescribeStatusItem(Window mainWindow) {
  std::array<MenuItemView, 16> bar{};
  const int count = ViewMenuBar(mainWindow, bar);
  for (int position = 0; position < count; ++position) {
    std::array<MenuItemView, 16> popup{};
    const int items = ViewMenuPopup(mainWindow, position, popup);
    for (int i = 0; i < items; ++i) {
      if (popup[i].rightText) return std::string(TrimRight(TextToUtf8(popup[i].label, false)));
    }
  }
  return "separator";
}

void MessageBoxTexts(Window box, std::string& caption, std::string& text) {
  WindowView view{};
  ViewWindow(box, view);
  caption = TextToUtf8(view.caption, false);
  text = TextToUtf8(view.text, false);
}

// ---- Changes between idle moments ---------------------------------------------------------------

void NoteWindowChanged(Transcript& transcript, Window window) {
  WindowView view{};
  const bool exists = ViewWindow(window, view);
  const bool shown = exists && IsShownDialogOrBox(view);
  TrackedWindow* tracked = FindTracked(transcript, window);
  if (!tracked && !shown) return;
  if (!tracked) {
    transcript.windows.push_back(TrackedWindow{});
    tracked = &transcript.windows.back();
    tracked->window = window;
  }
  if (exists) {
    tracked->isBox = view.kind == WindowKind::kMessageBox;
    tracked->modal = view.modal;
    tracked->name = view.templateName;
    if (view.ended) tracked->result = view.result;
  }
  if (tracked->onScreen != shown) {
    transcript.changes.push_back({window, shown, !shown && tracked->writtenShown, tracked->isBox,
                                  tracked->modal, tracked->name, tracked->result});
    tracked->onScreen = shown;
    if (!shown) tracked->writtenShown = false;
  }
  if (!exists) {
    transcript.windows.erase(transcript.windows.begin() + (tracked - transcript.windows.data()));
  }
}

std::string DescribeIdleMoment(Transcript& transcript) {
  Reconcile(transcript);
  std::string out;
  DescribeHides(transcript, out);
  const Window mainWindow = FindMainWindow();
  if (mainWindow != kNoWindow) {
    DescribeMainWindow(transcript, mainWindow, out);
    DescribeProblemBox(transcript, mainWindow, out);
  }
  DescribeDialogs(transcript, out);
  DescribeBoxes(transcript, out);
  transcript.changes.clear();
  for (TrackedWindow& tracked : transcript.windows) tracked.writtenShown = tracked.onScreen;
  std::erase_if(transcript.windows, [](const TrackedWindow& t) { return !t.onScreen; });
  return out;
}
