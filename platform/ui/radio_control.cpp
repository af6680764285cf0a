#include "platform/ui/radio_control.h"

CRadioControl::CRadioControl(const QString& text, int group, QWidget* parent)
    : QRadioButton(text, parent), group_(group) {
    setAutoExclusive(false);
}

void CRadioControl::nextCheckState() {
    setChecked(true);
    if (!parentWidget()) return;
    const auto siblings =
        parentWidget()->findChildren<CRadioControl*>(QString(), Qt::FindDirectChildrenOnly);
    for (CRadioControl* other : siblings) {
        if (other != this && other->group_ == group_) other->setChecked(false);
    }
}
