// SnapshotWindow: the days in which timed snapshots are taken, from midnight of the start date to
// the end of the end date.
#pragma once

#include "viewer/settings/schedule_date.h"

struct SnapshotWindow {
    ScheduleDate start;
    ScheduleDate end;
};
