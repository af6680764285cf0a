// The folder chooser of the settings dialogs: a folder dialog owned by the dialog that asks,
// titled "选择保存路径: ", run through the injected prompts (so that tests script it).
#pragma once

#include <QString>
#include <optional>

class IPrompts;
class QWidget;

// The chosen folder's path ending with "/"; nothing when the user cancels, chooses no folder, or
// chooses one whose path starts with a space. The dialog opens in `current` (the folder the
// asking dialog shows) when that folder exists.
std::optional<QString> ChooseSaveFolder(IPrompts& prompts, QWidget* owner, const QString& current);

// The save folder for a path the folder dialog returned: the path with "/" appended unless it
// already ends in one; nothing for an empty path or one that starts with a space.
std::optional<QString> SaveFolderFromChoice(QString chosen);
