// The program's texts as the user reads them. The texts in the code are the program's own
// (Chinese) and are what shows when no translation is installed; with a QTranslator installed
// (the viewer installs one for an English locale) each text is looked up by its context:
//   "dialog <id>"  a dialog template's caption and control texts (<id> is the template's id)
//   "messages"     message box texts and captions, and the information pop-up's text
//   "buttons"      the standard buttons of message boxes and property frames
//   "skin"         the captions drawn on the main window's skin
// A text without a translation shows as it is. Free functions, callable on any thread (the
// translator is installed before the program's other threads start and removed after they end).
#pragma once

#include <QByteArray>
#include <QString>

struct DialogTemplate;

namespace ui_text {

inline constexpr char kMessages[] = "messages";
inline constexpr char kButtons[] = "buttons";
inline constexpr char kSkin[] = "skin";

// The translation context of a dialog template's texts: "dialog <id>".
QByteArray DialogContext(const DialogTemplate& dialog);

// `text` (UTF-8, may be null: empty) translated in `context`.
QString Translate(const char* context, const char* text);
QString Translate(const char* context, const QString& text);

// A message box text or caption, or an information pop-up's text.
QString Message(const QString& text);

}  // namespace ui_text
