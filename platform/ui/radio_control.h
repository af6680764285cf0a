// The radio button of dialogs. Clicking always checks it and unchecks the other radio buttons of
// its group (the run of radio buttons that starts at one with the group style); the program may
// check or uncheck any of them freely, including leaving none checked.
#pragma once

#include <QRadioButton>

class CRadioControl : public QRadioButton {
    Q_OBJECT

  public:
    // `group` numbers the group within its dialog.
    CRadioControl(const QString& text, int group, QWidget* parent);

    int Group() const { return group_; }

  protected:
    void nextCheckState() override;

  private:
    int group_;
};
