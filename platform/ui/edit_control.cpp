#include "platform/ui/edit_control.h"

#include <QValidator>
#include <algorithm>

namespace {

// Checks each change the user makes against the edit's rules; QLineEdit undoes a change the
// validator calls invalid, and never consults it for text set by the program.
class UserTextRule final : public QValidator {
  public:
    explicit UserTextRule(CEditControl* edit) : QValidator(edit), edit_(edit) {}

    State validate(QString& input, int& /*pos*/) const override {
        return edit_->AcceptsUserText(input) ? Acceptable : Invalid;
    }

  private:
    const CEditControl* edit_;  // the parent
};

qsizetype NonDigits(const QString& text) {
    return std::count_if(text.begin(), text.end(),
                         [](QChar c) { return c < QLatin1Char('0') || c > QLatin1Char('9'); });
}

}  // namespace

CEditControl::CEditControl(QWidget* parent) : QLineEdit(parent) {
    setValidator(new UserTextRule(this));  // parent-owned
    // The validator runs before either signal, so current_ still holds the text before the change.
    connect(this, &QLineEdit::textChanged, this, [this](const QString& text) { current_ = text; });
    connect(this, &QLineEdit::textEdited, this, [this] { emit userChanged(); });
}

bool CEditControl::AcceptsUserText(const QString& proposed) const {
    if (limit_ > 0 && proposed.size() > limit_ && proposed.size() > current_.size()) return false;
    if (digitsOnly_ && NonDigits(proposed) > NonDigits(current_)) return false;
    return true;
}
