#include "viewer/main_window/settings_problem.h"

#include "platform/ui/ui_text.h"

// Each text whole and on one line, where the translation extractor finds it; translated before
// the file names are put in.
// clang-format off
std::optional<QString> SettingsProblemText(const registry::HiveStatus& status) {
    const QString file = QString::fromUtf8(status.file);
    if (status.unreadable || status.inMemory)
        return ui_text::Message(QStringLiteral("无法读取设置文件 %1 (%2)。\n本次运行使用默认设置, 更改的设置不会被保存。"))
            .arg(file, QString::fromUtf8(status.readError));
    if (!status.damaged) return std::nullopt;
    if (status.keptAs.empty())
        return ui_text::Message(QStringLiteral("设置文件 %1 已损坏, 且无法另存。\n能读出的设置已保留, 其余设置使用默认值, 更改的设置不会被保存。"))
            .arg(file);
    return ui_text::Message(QStringLiteral("设置文件 %1 已损坏, 原文件已另存为 %2。\n能读出的设置已保留, 其余设置使用默认值。"))
        .arg(file, QString::fromUtf8(status.keptAs));
}
// clang-format on

QString SettingsProblemCaption() {
    return ui_text::Message(QStringLiteral("警告"));
}
