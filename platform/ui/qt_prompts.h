// The prompts a person answers: QMessageBox and QDialog::exec.
#pragma once

#include "platform/ui/prompts.h"

class CQtPrompts final : public IPrompts {
  public:
    int MessageBox(QWidget* owner, const QString& text, const QString& caption, UINT type) override;
    int RunModal(QDialog& dialog) override;
};
