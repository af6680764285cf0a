// The main dialog's way of telling the user something without blocking: the text goes into the
// information pop-up, which is made on first use as a child of the main dialog and shown.
#pragma once

#include <QString>

class CMessage;
class QWidget;

// `popup` is the main dialog's slot for its pop-up: null until the first call, which creates
// the pop-up owned by `mainDialog`. Each call hides the pop-up, sets the text and shows it, so a
// second call while it is open replaces the text in the same window.
void ShowMessage(QWidget* mainDialog, CMessage*& popup, const QString& text);
