// The one-line edit of dialogs. Besides QLineEdit it keeps two typing rules that, as dialog edits
// do, bind the user but not the program: a length limit (the user cannot make the text longer
// than the limit, the program may put in a longer text and the user may still shorten it) and a
// digits-only rule (the user cannot type other characters). It reports only the user's changes.
#pragma once

#include <QLineEdit>

class CEditControl : public QLineEdit {
    Q_OBJECT

  public:
    explicit CEditControl(QWidget* parent);

    // Longest text the user may type; 0 = no limit.
    void SetLimit(int characters) { limit_ = characters; }
    int Limit() const { return limit_; }
    // Whether the user may type only the digits 0 to 9.
    void SetDigitsOnly(bool digitsOnly) { digitsOnly_ = digitsOnly; }
    bool DigitsOnly() const { return digitsOnly_; }

    // Whether a change by the user from the current text to `proposed` is kept.
    bool AcceptsUserText(const QString& proposed) const;

  signals:
    // The user changed the text (for EN_CHANGE).
    void userChanged();

  private:
    int limit_ = 0;
    bool digitsOnly_ = false;
    QString current_;  // the text as it stood before the change being checked
};
