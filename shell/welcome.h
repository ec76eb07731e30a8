// The welcome screen start-up shows once the main window stands, and the generic procedure of the
// lesson's simple notice dialogs.
#pragma once

#include <span>

#include "dialog_services.h"  // About, the notice procedure
#include "platform.h"

// The procedure of dialog "WELCOME": the picture, a picture button that appears once the dialog is
// on screen, and the suite's version. Ends the dialog with 0 when the button is pressed.
Result WelcomeCmd(Window dialog, unsigned message, WParam wParam, LParam lParam);


// "Version " and the version with two decimals, whatever the locale: 1 gives "Version 1.00".
void FormatVersionText(std::span<char> buffer, double version);
