// Dialogs built from the program's templates: the registry of templates, modeless and modal
// dialogs (the owner disabled while a modal one runs), the dialog's own handling of what its
// procedure leaves, its items and the check state of its buttons.
#include <array>

#include "window_table.h"

namespace platform_detail {
namespace {

inline constexpr int kMaxModalDepth = 16;  // modal dialogs and boxes open inside one another

std::array<ResourceSet, kMaxResourceSets> resourceSets{};
int resourceSetCount = 0;
std::array<Window, kMaxModalDepth> modalStack{};
int modalDepth = 0;

void PushModal(Window dialog) {
  if (modalDepth < kMaxModalDepth) modalStack[modalDepth++] = dialog;
}

void PopModal(Window dialog) {
  for (int i = modalDepth - 1; i >= 0; --i) {
    if (modalStack[i] != dialog) continue;
    for (int j = i; j + 1 < modalDepth; ++j) modalStack[j] = modalStack[j + 1];
    --modalDepth;
    return;
  }
}

// A dialog created without a procedure leaves everything to the dialog's own handling.
Result LeaveToDialog(Window, unsigned, WParam, LParam) {
  return 0;
}

// Step 1 of creating a dialog: its own record, placed from the owner's top left corner.
Window NewDialogWindow(const DialogTemplate& t, Window owner, WindowProc procedure, bool modal) {
  WindowRecord* record = NewRecord(WindowKind::kDialog, kDialogClassName);
  if (!record) return kNoWindow;
  WindowRect origin = GetWindowRect(owner);
  record->dialogTemplate = &t;
  record->procedure = procedure ? procedure : LeaveToDialog;
  record->owner = owner;
  CopyText(record->text, t.title ? t.title : "");
  record->rect = {origin.left + DialogUnitsToPixelsX(t.x), origin.top + DialogUnitsToPixelsY(t.y),
                  DialogUnitsToPixelsX(t.width), DialogUnitsToPixelsY(t.height)};
  record->style = kStylePopup;
  if (!(t.style & kDialogNoCaption)) record->style |= kStyleCaption | kStyleSystemMenu;
  record->modal = modal;
  Touch(*record);
  return record->handle;
}

// Step 2: its controls, in template order.
bool CreateTemplateControls(Window dialog, std::span<const ControlTemplate> controls) {
  for (const ControlTemplate& c : controls) {
    std::uint32_t style = 0;
    if (!(c.style & kControlHidden)) style |= kStyleVisible;
    if (c.style & kControlDisabled) style |= kStyleDisabled;
    WindowRect rect{DialogUnitsToPixelsX(c.x), DialogUnitsToPixelsY(c.y),
                    DialogUnitsToPixelsX(c.width), DialogUnitsToPixelsY(c.height)};
    Window control =
        CreateControl({dialog, c.kind, c.text ? c.text : "", rect, c.id, style, c.style});
    if (control == kNoWindow || !IsWindow(dialog)) return false;
  }
  return true;
}

// kMsgCreate before the controls exist, kMsgInitDialog once they do. A procedure answering the
// initialisation with non-zero asks for the focus on the first tab stop; a modeless dialog that
// stays hidden takes it only when it is shown.
Window CreateDialogFrom(const DialogTemplate& t, Window owner, WindowProc procedure,
                        LParam initValue, bool modal) {
  Window dialog = NewDialogWindow(t, TopLevelOf(owner), procedure, modal);
  if (dialog == kNoWindow) return kNoWindow;
  SendMessageTo(dialog, kMsgCreate, 0, initValue);
  if (!IsWindow(dialog)) return kNoWindow;
  if (!CreateTemplateControls(dialog, t.controls)) {
    DestroyWindow(dialog);
    return kNoWindow;
  }
  Window first = FirstTabStop(dialog);
  Find(dialog)->lastFocus = first;
  Result takeFocus = SendMessageTo(dialog, kMsgInitDialog, first, initValue);
  if (!IsWindow(dialog)) return kNoWindow;
  if (takeFocus != 0 && (modal || (t.style & kDialogVisible))) {
    first = FirstTabStop(dialog);
    if (first != kNoWindow) SetFocus(first);
  }
  return dialog;
}

// Where the focus goes after a modal dialog: back where it was, else to the owner.
void RestoreFocus(Window previousFocus, Window owner) {
  if (GetFocus() != kNoWindow) return;
  if (AcceptsInput(previousFocus)) {
    SetFocus(previousFocus);
  } else if (AcceptsInput(owner)) {
    SetFocus(owner);
  }
}

// The control a dialog gives the focus to when it gets the focus itself: the one that had it
// last, else the first tab stop.
void FocusDialogControl(Window dialog) {
  const WindowRecord* record = Find(dialog);
  if (!record) return;
  Window target = record->lastFocus;
  if (!AcceptsInput(target) || GetParent(target) != dialog) target = FirstTabStop(dialog);
  if (target != kNoWindow) SetFocus(target);
}

}  // namespace

bool ModalStackFull() {
  return modalDepth == kMaxModalDepth;
}

Window FirstTabStop(Window dialog) {
  std::array<Window, kMaxWindows> stops{};
  int count = CollectWindows(stops, [dialog](const WindowRecord& r) {
    return r.parent == dialog && r.kind == WindowKind::kControl &&
           (r.controlStyle & kControlTabStop) && IsShown(r) && IsEnabledRecord(r);
  });
  return count > 0 ? stops[0] : kNoWindow;
}

Result RunModal(Window dialog, Window previousFocus) {
  Window owner = GetOwner(dialog);
  bool disabledOwner = IsWindowEnabled(owner);
  if (disabledOwner) EnableWindow(owner, false);
  PushModal(dialog);
  const WindowRecord* record = Find(dialog);
  if (record && !record->ended) ShowWindow(dialog, kShowNormal);
  Result result = RunMessageLoop(dialog);
  PopModal(dialog);
  if (disabledOwner) EnableWindow(owner, true);
  DestroyWindow(dialog);
  RestoreFocus(previousFocus, owner);
  return result;
}

Result DefaultDialogProc(Window dialog, unsigned message, WParam wParam, LParam lParam) {
  switch (message) {
    case kMsgClose:
      PostMessageTo(dialog, kMsgCommand, MakeCommand(kIdCancel, kNotifyClicked),
                    static_cast<LParam>(DialogItem(dialog, kIdCancel)));
      return 0;
    case kMsgSetFocus:
      if (GetFocus() == dialog) FocusDialogControl(dialog);
      return 0;
    default:
      return DefaultWindowProc(dialog, message, wParam, lParam);
  }
}

void ResetDialogs() {
  resourceSets = {};
  resourceSetCount = 0;
  modalDepth = 0;
}

}  // namespace platform_detail

using namespace platform_detail;

bool RegisterResources(const ResourceSet& set) {
  for (int i = 0; i < resourceSetCount; ++i) {
    const ResourceSet& known = resourceSets[i];
    if (known.dialogs.data() == set.dialogs.data() && known.menus.data() == set.menus.data() &&
        known.dialogs.size() == set.dialogs.size() && known.menus.size() == set.menus.size()) {
      return true;
    }
  }
  if (resourceSetCount == kMaxResourceSets) return false;
  resourceSets[resourceSetCount++] = set;
  return true;
}

const DialogTemplate* FindDialogTemplate(std::string_view name) {
  for (int i = 0; i < resourceSetCount; ++i) {
    for (const DialogTemplate& t : resourceSets[i].dialogs) {
      if (t.name && SameIgnoringCase(t.name, name)) return &t;
    }
  }
  return nullptr;
}

const MenuTemplate* FindMenuTemplate(std::string_view name) {
  for (int i = 0; i < resourceSetCount; ++i) {
    for (const MenuTemplate& t : resourceSets[i].menus) {
      if (t.name && SameIgnoringCase(t.name, name)) return &t;
    }
  }
  return nullptr;
}

Window CreateModelessDialog(std::string_view templateName, Window owner, WindowProc procedure,
                            LParam initValue) {
  const DialogTemplate* t = FindDialogTemplate(templateName);
  if (!t) return kNoWindow;
  Window dialog = CreateDialogFrom(*t, owner, procedure, initValue, false);
  if (dialog != kNoWindow && (t->style & kDialogVisible)) ShowWindow(dialog, kShowNormal);
  return dialog;
}

Result RunModalDialog(std::string_view templateName, Window owner, WindowProc procedure,
                      LParam initValue) {
  const DialogTemplate* t = FindDialogTemplate(templateName);
  if (!t || ModalStackFull()) return -1;
  Window previousFocus = GetFocus();
  Window dialog = CreateDialogFrom(*t, owner, procedure, initValue, true);
  if (dialog == kNoWindow) return -1;
  return RunModal(dialog, previousFocus);
}

void EndDialog(Window dialog, Result result) {
  WindowRecord* record = Find(dialog);
  if (!record || (record->kind != WindowKind::kDialog && record->kind != WindowKind::kMessageBox)) {
    return;
  }
  if (!record->modal) {
    ShowWindow(dialog, kHide);
    return;
  }
  record->ended = true;
  record->result = result;
  record->style &= ~kStyleVisible;
  Touch(*record);
  DropFocusFrom(dialog);
}

Window DialogItem(Window dialog, int id) {
  if (!Find(dialog)) return kNoWindow;
  std::array<Window, kMaxWindows> items{};
  int count = CollectWindows(items, [dialog, id](const WindowRecord& r) {
    return r.parent == dialog && r.id == id && r.kind == WindowKind::kControl;
  });
  return count > 0 ? items[0] : kNoWindow;
}

void SetDialogItemText(Window dialog, int id, std::string_view text) {
  SetWindowText(DialogItem(dialog, id), text);
}

std::string_view DialogTemplateName(Window dialog) {
  const WindowRecord* record = Find(dialog);
  if (!record || !record->dialogTemplate || !record->dialogTemplate->name) return {};
  return record->dialogTemplate->name;
}

void CheckButton(Window dialog, int id, bool checked) {
  WindowRecord* record = Find(DialogItem(dialog, id));
  if (!record || record->checked == checked) return;
  record->checked = checked;
  Touch(*record);
}

bool IsButtonChecked(Window dialog, int id) {
  const WindowRecord* record = Find(DialogItem(dialog, id));
  return record && record->checked;
}

Window TopModal() {
  for (int i = modalDepth - 1; i >= 0; --i) {
    if (IsWindow(modalStack[i])) return modalStack[i];
  }
  return kNoWindow;
}
