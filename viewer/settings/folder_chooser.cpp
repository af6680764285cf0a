#include "viewer/settings/folder_chooser.h"

#include <QFileDialog>

#include "platform/ui/prompts.h"

std::optional<QString> ChooseSaveFolder(IPrompts& prompts, QWidget* owner) {
    QFileDialog dialog(owner, QStringLiteral("选择保存路径: "));
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOptions(QFileDialog::ShowDirsOnly | QFileDialog::DontUseNativeDialog);
    if (prompts.RunModal(dialog) != QDialog::Accepted) return std::nullopt;
    const QStringList chosen = dialog.selectedFiles();
    if (chosen.isEmpty() || chosen.front().isEmpty()) return std::nullopt;
    QString path = chosen.front();
    if (path.startsWith(u' ')) return std::nullopt;
    if (!path.endsWith(u'/')) path += u'/';
    return path;
}
