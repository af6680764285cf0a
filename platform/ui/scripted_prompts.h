// Prompts answered by a script, for tests: message boxes take the next queued answer, modal
// dialogs run the next queued step, and every prompt is recorded in the order it came.
//
// A modal step gets the dialog shown (so its initialisation has run) and plays the user: it may
// type, click (ClickDlgButton), and end the dialog. When the step leaves the dialog open, the
// runner presses Cancel for it (reject()); a dialog that refuses even that is hidden and answers
// IDCANCEL, and the record says so. Prompts that find their queue empty are answered as if the
// user closed them (IDOK for an OK box, IDCANCEL for OK-Cancel, IDNO for Yes-No, Cancel for a
// dialog) and counted as unscripted, so a test can fail on them.
#pragma once

#include <QString>
#include <deque>
#include <functional>
#include <vector>

#include "platform/ui/prompts.h"

class CScriptedPrompts final : public IPrompts {
  public:
    using ModalStep = std::function<void(QDialog& dialog)>;

    struct Record {
        enum class Kind { kMessageBox, kModal };
        Kind kind;
        QString text;     // message box text
        QString caption;  // message box caption, or the dialog's window title
        UINT type = 0;    // message box type
        int answer = 0;   // what the prompt returned
        bool scripted = true;
        bool endedByScript = true;  // modal: the dialog ended on its own or through the step
    };

    // Queues the answer to the next message box.
    void AnswerMessageBox(int answer) { answers_.push_back(answer); }
    // Queues the step that plays the next modal dialog.
    void PlayModal(ModalStep step) { steps_.push_back(std::move(step)); }

    int MessageBox(QWidget* owner, const QString& text, const QString& caption, UINT type) override;
    int RunModal(QDialog& dialog) override;

    const std::vector<Record>& Records() const { return records_; }
    // Message boxes asked so far, in order.
    std::vector<Record> MessageBoxes() const;
    int UnscriptedCount() const;
    // Answers and steps queued but not yet used.
    std::size_t PendingAnswers() const { return answers_.size(); }
    std::size_t PendingSteps() const { return steps_.size(); }

  private:
    std::deque<int> answers_;
    std::deque<ModalStep> steps_;
    std::vector<Record> records_;
};
