// The window system's controls as Qt widgets: statics and frames as labels (showing a picture
// when one is set on them), edit fields, push and radio buttons, owner-drawn picture buttons and
// list boxes. A widget shows the control's state and turns clicks into the window system's input;
// it never changes that state itself. The mirror places the widgets; this file fills them.
#pragma once

#include <QWidget>

#include "backend.h"
#include "platform.h"

QWidget* CreateControlWidget(const WindowView& view, Window window, QWidget* parent);

// Brings the widget in line with the control: text, font, check, rows, selection, top row, caret,
// picture, enabled. Its place and visibility are the mirror's.
void SyncControlWidget(QWidget* widget, const WindowView& view, Window window);

// The scroll bars of list boxes take the window system's scroll-bar colour as their track.
void ApplyScrollBarColour(QWidget* widget, Colour colour);

// Set while the back end changed the window system on the student's behalf (a list scrolled with
// the mouse wheel or its scroll bar): the message loop then looks again before waiting.
bool TakeLayerChanged();
void NoteLayerChanged();
