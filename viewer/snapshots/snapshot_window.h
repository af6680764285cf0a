// SnapshotWindow: the daily window in which timed snapshots are taken.
#pragma once

#include <QDateTime>

struct SnapshotWindow {
    QDateTime start;
    QDateTime end;
};
