#include "viewer/main_window/settings_problem.h"

std::optional<QString> SettingsProblemText(const registry::HiveStatus& status) {
    const QString file = QString::fromUtf8(status.file);
    QString text;
    if (status.unreadable || status.inMemory) {
        text = QStringLiteral(
                   "无法读取设置文件 %1 (%2)。\n本次运行使用默认设置, 更改的设置不会被保存。")
                   .arg(file, QString::fromUtf8(status.readError));
    } else if (status.damaged) {
        text = status.keptAs.empty()
                   ? QStringLiteral(
                         "设置文件 %1 已损坏, 且无法另存。\n能读出的设置已保留, "
                         "其余设置使用默认值, 更改的设置不会被保存。")
                         .arg(file)
                   : QStringLiteral(
                         "设置文件 %1 已损坏, 原文件已另存为 %2。\n能读出的设置已保留, "
                         "其余设置使用默认值。")
                         .arg(file, QString::fromUtf8(status.keptAs));
    } else {
        return std::nullopt;
    }
    return text;
}

QString SettingsProblemCaption() {
    return QStringLiteral("警告");
}
