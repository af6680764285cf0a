// CMessage: the modeless information pop-up (dialog 298). It owns the text it shows; "确定"
// hides it, and it lives as long as its parent.
#pragma once

#include <QString>

#include "platform/ui/dialog.h"

class QLabel;

class CMessage : public CDialog {
    Q_OBJECT

  public:
    explicit CMessage(QWidget* parent);

    // Keeps a copy of `text` and shows it in control 1079 (once the controls exist).
    void SetText(const QString& text);
    const QString& Text() const { return m_text; }

  protected:
    // Binds control 1079 and puts the current text into it.
    void OnInitDialog() override;

  private:
    QLabel* m_static = nullptr;  // control 1079, owned by the dialog
    QString m_text = QStringLiteral(" ");
};
