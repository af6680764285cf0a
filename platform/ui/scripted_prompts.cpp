#include "platform/ui/scripted_prompts.h"

#include <QDialog>

#include "platform/ui/dialog_codes.h"

namespace {
int ClosedAnswer(UINT type) {
    switch (type & MB_TYPEMASK) {
        case MB_OKCANCEL:
            return IDCANCEL;
        case MB_YESNO:
            return IDNO;
        default:
            return IDOK;
    }
}
}  // namespace

int CScriptedPrompts::MessageBox(QWidget* /*owner*/, const QString& text, const QString& caption,
                                 UINT type) {
    Record record{Record::Kind::kMessageBox, text, caption, type};
    if (answers_.empty()) {
        record.scripted = false;
        record.answer = ClosedAnswer(type);
    } else {
        record.answer = answers_.front();
        answers_.pop_front();
    }
    records_.push_back(record);
    return record.answer;
}

int CScriptedPrompts::RunModal(QDialog& dialog) {
    // Recorded first, so that prompts the dialog raises follow it in Records().
    const std::size_t index = records_.size();
    records_.push_back({Record::Kind::kModal, QString(), dialog.windowTitle()});
    ModalStep step;
    if (!steps_.empty()) {
        step = std::move(steps_.front());
        steps_.pop_front();
    }
    dialog.setResult(0);
    dialog.show();
    if (step) step(dialog);
    bool ended = !dialog.isVisible();
    if (!ended) {
        dialog.reject();
        if (dialog.isVisible()) {
            dialog.hide();
            dialog.setResult(IDCANCEL);
        }
    }
    Record& record = records_[index];
    record.scripted = static_cast<bool>(step);
    record.endedByScript = ended;
    record.answer = dialog.result();
    return record.answer;
}

std::vector<CScriptedPrompts::Record> CScriptedPrompts::MessageBoxes() const {
    std::vector<Record> boxes;
    for (const Record& record : records_) {
        if (record.kind == Record::Kind::kMessageBox) boxes.push_back(record);
    }
    return boxes;
}

int CScriptedPrompts::UnscriptedCount() const {
    int count = 0;
    for (const Record& record : records_) count += record.scripted ? 0 : 1;
    return count;
}
