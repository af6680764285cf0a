#include "viewer/settings/folder_chooser.h"

#include <QFileDialog>
#include <QFileInfo>

#include "platform/ui/prompts.h"
#include "platform/ui/ui_text.h"

std::optional<QString> ChooseSaveFolder(IPrompts& prompts, QWidget* owner, const QString& current) {
    QFileDialog dialog(owner, ui_text::Message(QStringLiteral("选择保存路径: ")));
    if (!current.isEmpty() && QFileInfo(current).isDir()) dialog.setDirectory(current);
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOptions(QFileDialog::ShowDirsOnly | QFileDialog::DontUseNativeDialog);
    if (prompts.RunModal(dialog) != QDialog::Accepted) return std::nullopt;
    const QStringList chosen = dialog.selectedFiles();
    if (chosen.isEmpty()) return std::nullopt;
    return SaveFolderFromChoice(chosen.front());
}

std::optional<QString> SaveFolderFromChoice(QString chosen) {
    if (chosen.isEmpty() || chosen.startsWith(u' ')) return std::nullopt;
    if (!chosen.endsWith(u'/')) chosen += u'/';
    return chosen;
}
