#include "platform/ui/ui_text.h"

#include <QCoreApplication>

#include "platform/ui/dialog_template.h"

namespace ui_text {

QByteArray DialogContext(const DialogTemplate& dialog) {
    return "dialog " + QByteArray::number(dialog.id);
}

QString Translate(const char* context, const char* text) {
    if (!text) return {};
    return QCoreApplication::translate(context, text);
}

QString Translate(const char* context, const QString& text) {
    if (text.isEmpty()) return text;
    const QByteArray source = text.toUtf8();
    return QCoreApplication::translate(context, source.constData());
}

QString Message(const QString& text) {
    return Translate(kMessages, text);
}

}  // namespace ui_text
