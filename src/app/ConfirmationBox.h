#pragma once

#include <QMessageBox>

// Asks the user to confirm: a question box with the given buttons, No the default,
// its top-left corner at the mouse (kept on the screen). Returns the button chosen;
// closing the box counts as Cancel where there is one, else as No.
QMessageBox::StandardButton askConfirmation(QWidget* Parent, const QString& Text, QMessageBox::StandardButtons Buttons);
